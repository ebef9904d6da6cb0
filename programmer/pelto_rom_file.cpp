#include "pelto_rom_file.h"

#include <QFileInfo>
#include <QString>
#include <cctype>
#include <cstdio>

#include "platform/filenames.h"
#include "std73xx_binding.h"

namespace pelto {
namespace {

bool Exists(const std::string& path) {
  return QFileInfo::exists(QString::fromStdString(path));
}

}  // namespace

RomFile::RomFile(PeltoParams& params, PeltoShown& shown, const PeltoTimings& timings)
    : params_(params), shown_(shown), timings_(timings) {}

void RomFile::Forget() {
  converted_.clear();
  source_.clear();
}

std::string RomFile::Source() const {
  return Converted() ? converted_ : params_.activeFile;
}

void RomFile::ShowMessage(const std::string& text, long color) {
  shown_.message = text;
  shown_.messageColor = color;
  shown_.Show(PeltoShown::Part::File);
}

void RomFile::Load() {
  const auto enableConnect = [this](bool on) {
    shown_.connectEnabled = on;
    shown_.Show(PeltoShown::Part::ConnectButton);
  };
  try {
    const int bits = params_.instructionSize;
    if (bits == 16) {
      ShowChecksum(params_.activeFile);
      enableConnect(true);
      return;
    }
    if (bits != 18 && bits != 22) return;
    if (Converted()) {
      ShowChecksum(converted_);
      return;
    }
    const std::string& path = params_.activeFile;
    const std::string base = platform::BaseName(path);
    if (base == path) return;
    const std::string rom = base + ".rom", rob = base + ".rob";
    if (!Exists(rom)) {
      ShowMessage("no ROM file present !", shown_.messageColor);
      enableConnect(false);
      return;
    }
    std::remove(rob.c_str());
    // The conversion gets a bounded wait of its own; the socket poll goes on.
    wait_.Start(timings_.fileWait);
    const bool ready = WaitFor([&] { return !Exists(rob); }, wait_) && Rom2Rob(rom) == 0 &&
                       WaitFor([&] { return Exists(rob); }, wait_);
    wait_.Stop();
    if (!ready) {
      ShowMessage("ROB file could not be created", shown_.messageColor);
      return;
    }
    converted_ = rob;
    source_ = rom;
    ShowChecksum(rob);
    enableConnect(true);
  } catch (...) {
    ShowMessage("CRC ERROR!", kRed);
  }
}

void RomFile::ShowChecksum(const std::string& path) {
  std::string text;
  const int words = PeltoChecksum(params_.romSize, path, text);
  if (words <= 0) {
    if (words == -2) shown_.message = "File not found";
    if (words == -1) shown_.message = "CRC cannot be calculated";
    shown_.crcMaster.clear();
    shown_.progSize.clear();
    shown_.Show(PeltoShown::Part::File);
    shown_.Show(PeltoShown::Part::Crc);
    return;
  }
  shown_.progSize = std::to_string(words);
  // The hexadecimal digits at the start of the text, as a number.
  uint32_t value = 0;
  for (size_t i = 0; i < text.size() && i < 8 && std::isxdigit(static_cast<uint8_t>(text[i]));
       ++i) {
    value = value * 16 + std::stoul(text.substr(i, 1), nullptr, 16);
  }
  const int digits = params_.instructionSize == 22 ? 6 : params_.instructionSize == 18 ? 5 : 4;
  shown_.crcMaster = QString("%1").arg(value, digits, 16, QChar('0')).toUpper().toStdString();
  shown_.Show(PeltoShown::Part::Crc);
  ShowMessage("", kBlack);
}

}  // namespace pelto
