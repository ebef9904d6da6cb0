// The control's transfers: bytes out one at a time under the send timer,
// answers in under the read timer, the port, the line and chip tests, the
// erase time, the parameter block, the ROM image and the status block.
#include <QCoreApplication>
#include <algorithm>
#include <fstream>
#include <iterator>

#include "pelto.h"
#include "pelto_panel.h"
#include "platform/clock.h"
#include "platform/messagebox.h"
#include "platform/run_time_error.h"
#include "protocol/image.h"
#include "protocol/status.h"

namespace pelto {
namespace {

// The control's error numbers.
constexpr int kReadError = static_cast<int>(0x80040001u);
constexpr int kSendError = static_cast<int>(0x80040002u);
constexpr int kNoCtsError = static_cast<int>(0x80040003u);

QByteArray ToQBytes(const Bytes& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

void Exclaim(const char* text) {
  platform::MessageBox(text, "PELTO Programmer", platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

}  // namespace

void Pelto::StartTimer(platform::Timer& timer, bool& flag, int ms) {
  flag = false;
  timer.SetInterval(ms);
  timer.SetEnabled(true);
}

bool Pelto::Wait(const std::function<bool()>& done, const bool& timedOut) {
  for (;;) {
    if (done()) return true;
    if (timedOut) return false;
    QCoreApplication::processEvents();
    if (!done() && !timedOut) platform::SleepMillis(1);
  }
}

short Pelto::send_PELTO_data(const QByteArray& buff, short datasize) {
  QProgressBar* bar = panel_->ProgBar;
  const int count = std::min<int>(datasize, static_cast<int>(buff.size()));
  const bool showProgress = datasize > 100;
  try {
    if (showProgress) bar->setRange(0, datasize - 1);
    for (int i = 0; i < count; ++i) {
      StartTimer(Timer_SendTimeOut, sendTimedOut_, timings_.send);
      const bool empty = Wait([this] { return RS232.OutBufferCount() == 0; }, sendTimedOut_);
      Timer_SendTimeOut.SetEnabled(false);
      if (!empty) throw platform::RunTimeError(kSendError, "send time-out");
      RS232.Output(reinterpret_cast<const uint8_t*>(buff.constData()) + i, 1);
      if (showProgress) bar->setValue(i);
      QCoreApplication::processEvents();
    }
    bar->setValue(0);
    return 0;
  } catch (const platform::RunTimeError&) {
    Timer_SendTimeOut.SetEnabled(false);
    Exclaim("Communication Error timeout DSR ");
    bar->setValue(0);
    return -1;
  }
}

short Pelto::read_PELTO_data(short startadr, short nbbytes, QByteArray& vRxBuff) {
  try {
    if (send_PELTO_data(ToQBytes(protocol::ReadRequest(static_cast<uint16_t>(startadr),
                                                       static_cast<uint16_t>(nbbytes))),
                        5) != 0) {
      throw platform::RunTimeError(kReadError, "request not sent");
    }
    StartTimer(Timer_ReadTimeOut, readTimedOut_, timings_.read);
    const bool complete = Wait([&] { return RS232.InBufferCount() >= nbbytes; }, readTimedOut_);
    Timer_ReadTimeOut.SetEnabled(false);
    if (!complete) throw platform::RunTimeError(kReadError, "read time-out");
    RS232.SetInputLen(0);
    const std::vector<uint8_t> answer = RS232.Input();
    vRxBuff = ToQBytes(answer);
    return 0;
  } catch (const platform::RunTimeError&) {
    Timer_ReadTimeOut.SetEnabled(false);
    Exclaim("Reception of data has timed out");
    if (RS232.PortOpen()) RS232.SetInBufferCount(0);
    UpdateState(4, 0);
    return -1;
  }
}

short Pelto::OpenPort() {
  try {
    RS232.SetCommPort(commPortNr_);
    RS232.SetSettings(std::to_string(baudRate_) + ",n,8,1");
    RS232.SetInBufferSize(inBuffSize_);
    RS232.SetOutBufferSize(outBuffSize_);
    RS232.SetDTREnable(true);
    RS232.SetRTSEnable(true);
    if (!RS232.PortOpen()) RS232.SetPortOpen(true);
    StartGeneralTimer(5, timings_.cts);
    const bool cts = Wait([this] { return RS232.CTSHolding(); }, gralTimedOut_);
    StopGeneralTimer();
    if (!cts) throw platform::RunTimeError(kNoCtsError, "no CTS");
    ShowConnected(true);
    return 0;
  } catch (const platform::RunTimeError&) {
    UpdateState(4, 0);
    return -1;
  }
}

void Pelto::ClosePort() {
  if (RS232.PortOpen()) RS232.SetPortOpen(false);
  ShowConnected(false);
}

bool Pelto::LineIsDown() {
  return !RS232.CTSHolding();
}

short Pelto::ChipTest() {
  QByteArray answer;
  if (read_PELTO_data(protocol::kChipAddress, 1, answer) != 0 || answer.isEmpty()) {
    chipIsPresent_ = false;
    return -1;
  }
  if (answer[0] == 0) {
    chipIsPresent_ = false;
    return 0;
  }
  const bool wasPresent = chipIsPresent_;
  chipIsPresent_ = true;
  return wasPresent ? 1 : 3;
}

short Pelto::SendFrame(const Bytes& frame) {
  return send_PELTO_data(ToQBytes(frame), static_cast<short>(frame.size()));
}

short Pelto::WriteOrFail(const Bytes& frame) {
  if (SendFrame(frame) < 0) {
    UpdateState(4, 0);
    return -1;
  }
  return 0;
}

short Pelto::UpdateEraseTime() {
  return WriteOrFail(protocol::EraseTimeFrame(instructionSize_));
}

short Pelto::UpdateROMParams() {
  const std::optional<int16_t> blockBytes = protocol::BlockBytes(blockSize_, padBytes_);
  return blockBytes ? WriteOrFail(protocol::ParameterFrame({static_cast<uint8_t>(instructionSize_),
                                                            *blockBytes,
                                                            static_cast<uint8_t>(nbOfBlocks_)}))
                    : static_cast<short>(-1);
}

short Pelto::UpdateROMData() {
  const std::string source =
      !convertedFile_.empty() ? convertedFile_ : activeFile_.toStdString();
  std::ifstream file(source, std::ios::binary);
  if (source.empty() || !file) {
    UpdateState(4, 0);
    return -1;
  }
  const std::optional<int32_t> n = protocol::ImageCount(blockSize_, nbOfBlocks_, padBytes_);
  if (!n) return -1;
  panel_->Text_Status->setText("downloading program...");
  const Bytes content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const Bytes frame =
      protocol::ImageFrame(content, {instructionSize_, padBytes_, *n, convertedFile_.empty()});
  const short result = WriteOrFail(frame);
  panel_->Text_Status->setText("");
  return result;
}

short Pelto::GetPELTOStatus() {
  QByteArray block;
  if (read_PELTO_data(protocol::kStatusAddress, protocol::kControlStatusBytes, block) != 0)
    return -1;
  block.resize(std::max<qsizetype>(block.size(), protocol::kControlStatusBytes), '\0');
  ShowStatus(block);
  return 0;
}

void Pelto::ShowStatus(const QByteArray& block) {
  PeltoPanel& p = *panel_;
  const bool standAlone = (static_cast<uint8_t>(block[16]) & 0x10) != 0;
  p.Option_StdAlone->setChecked(standAlone);
  p.Option_OnLine->setChecked(!standAlone);
  const auto text = [&](int first) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(block.constData()) + first;
    return QString::fromStdString(protocol::SumText(bytes, padBytes_, instructionSize_));
  };
  p.Text_CRCBox->setText(text(34));
  p.Text_CRCDevice->setText(text(38));
  p.Text_LastInstruction->setText(text(45));
}

}  // namespace pelto
