// Loading the active ROM file: its checksum and program size through
// STD73XX; 18- and 22-bit ".rom" files are converted to ".rob" first.
#include <QFileInfo>
#include <cctype>
#include <cstdio>

#include "pelto.h"
#include "pelto_panel.h"
#include "platform/filenames.h"
#include "std73xx_binding.h"

namespace pelto {

void Pelto::ForgetConversion() {
  convertedFile_.clear();
  convertedSource_.clear();
}

void Pelto::LoadRomFile() {
  PeltoPanel& p = *panel_;
  try {
    if (instructionSize_ == 16) {
      ShowChecksum(activeFile_.toStdString());
      p.Button_Connect->setEnabled(true);
      return;
    }
    if (instructionSize_ != 18 && instructionSize_ != 22) return;
    if (!convertedFile_.empty()) {
      ShowChecksum(convertedFile_);
      return;
    }
    const std::string path = activeFile_.toStdString();
    const std::string base = platform::BaseName(path);
    if (base == path) return;
    const std::string rom = base + ".rom", rob = base + ".rob";
    if (!QFileInfo::exists(QString::fromStdString(rom))) {
      p.Text_Message->setText("no ROM file present !");
      p.Button_Connect->setEnabled(false);
      return;
    }
    std::remove(rob.c_str());
    const auto robExists = [&] { return QFileInfo::exists(QString::fromStdString(rob)); };
    // The conversion gets a bounded wait of its own; the socket poll goes on.
    StartTimer(Timer_FileWait, fileTimedOut_, timings_.fileWait);
    bool ready = Wait([&] { return !robExists(); }, fileTimedOut_) && Rom2Rob(rom) == 0 &&
                 Wait(robExists, fileTimedOut_);
    Timer_FileWait.SetEnabled(false);
    if (!ready) {
      p.Text_Message->setText("ROB file could not be created");
      return;
    }
    convertedFile_ = rob;
    convertedSource_ = rom;
    ShowChecksum(rob);
    p.Button_Connect->setEnabled(true);
  } catch (...) {
    p.Text_Message->setText("CRC ERROR!");
    SetForeColor(p.Text_Message, kRed);
  }
}

void Pelto::ShowChecksum(const std::string& path) {
  PeltoPanel& p = *panel_;
  std::string text;
  const int words = PeltoChecksum(romSize_, path, text);
  if (words <= 0) {
    if (words == -2) p.Text_Message->setText("File not found");
    if (words == -1) p.Text_Message->setText("CRC cannot be calculated");
    p.Text_CRCMaster->clear();
    p.Text_ProgSize->clear();
    return;
  }
  p.Text_ProgSize->setText(QString::number(words));
  // The hexadecimal digits at the start of the text, as a number.
  uint32_t value = 0;
  for (size_t i = 0; i < text.size() && i < 8 && std::isxdigit(static_cast<uint8_t>(text[i]));
       ++i) {
    value = value * 16 + std::stoul(text.substr(i, 1), nullptr, 16);
  }
  const int digits = instructionSize_ == 22 ? 6 : instructionSize_ == 18 ? 5 : 4;
  p.Text_CRCMaster->setText(QString("%1").arg(value, digits, 16, QChar('0')).toUpper());
  p.Text_Message->clear();
  SetForeColor(p.Text_Message, kBlack);
}

}  // namespace pelto
