#pragma once
// The programmer control: a widget with its own tabbed panel that drives the
// serial device programmer. Hosts reach it only by name: the library's
// factory makes it, and its members are Qt properties and invokable methods
// named as the control's interface names them. It raises no events.
//
// Every wait lets events run, so timers, port events and clicks arrive
// inside a wait; the panel's busy look and the stopped poll keep them out of
// the way.
#include <QByteArray>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "pelto_frames.h"
#include "pelto_timings.h"
#include "platform/controls.h"
#include "platform/serial_port.h"

namespace pelto {

struct PeltoPanel;

class Pelto : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString ActiveFile READ ActiveFile WRITE SetActiveFile)
  Q_PROPERTY(short CommPortNr READ CommPortNr WRITE SetCommPortNr)
  Q_PROPERTY(int BaudRate READ BaudRate WRITE SetBaudRate)
  Q_PROPERTY(int ROMsize READ ROMsize WRITE SetROMsize)
  Q_PROPERTY(short PadBits READ PadBits WRITE SetPadBits)
  Q_PROPERTY(int InstructionSize READ InstructionSize WRITE SetInstructionSize)
  Q_PROPERTY(short NbOfBlocks READ NbOfBlocks WRITE SetNbOfBlocks)
  Q_PROPERTY(short InBuffSize READ InBuffSize WRITE SetInBuffSize)
  Q_PROPERTY(short OutBuffSize READ OutBuffSize WRITE SetOutBuffSize)
  Q_PROPERTY(short BlockSize READ BlockSize WRITE SetBlockSize)
  Q_PROPERTY(QString ActiveMicro READ ActiveMicro WRITE SetActiveMicro)
  Q_PROPERTY(bool ChipIsPresent READ ChipIsPresent)
  Q_PROPERTY(short PadBytes READ PadBytes WRITE SetPadBytes)

 public:
  // UserControl_Initialize and UserControl_Terminate.
  explicit Pelto(QWidget* parent = nullptr);
  ~Pelto() override;

  // The panel state machine; result 0, 1 or 2.
  Q_INVOKABLE short UpdateState(short newStatus, short task);
  // Sends the first `datasize` bytes one at a time; 0 or -1.
  Q_INVOKABLE short send_PELTO_data(const QByteArray& buff, short datasize);
  // Reads `nbbytes` bytes at a programmer address into vRxBuff; 0 or -1.
  Q_INVOKABLE short read_PELTO_data(short startadr, short nbbytes, QByteArray& vRxBuff);
  Q_INVOKABLE short ProgramDevice();
  Q_INVOKABLE int CalculateCRC16_old(const QString& fname, int maxrom);
  Q_INVOKABLE short UpdateEraseTime();
  Q_INVOKABLE short UpdateROMParams();
  Q_INVOKABLE short UpdateROMData();
  Q_INVOKABLE short RequestRAMCRC();
  Q_INVOKABLE short RequestLastInstruction();
  Q_INVOKABLE short RequestDevCRC();
  Q_INVOKABLE short GetPELTOStatus();

  QString ActiveFile() const;
  void SetActiveFile(const QString& path);
  short CommPortNr() const { return commPortNr_; }
  void SetCommPortNr(short port) { commPortNr_ = port; }
  int BaudRate() const { return baudRate_; }
  void SetBaudRate(int rate) { baudRate_ = rate; }
  int ROMsize() const { return romSize_; }
  void SetROMsize(int words) { romSize_ = words; }
  short PadBits() const { return padBits_; }
  void SetPadBits(short bits) { padBits_ = bits; }
  int InstructionSize() const { return instructionSize_; }
  void SetInstructionSize(int bits);
  short NbOfBlocks() const { return nbOfBlocks_; }
  void SetNbOfBlocks(short blocks) { nbOfBlocks_ = blocks; }
  short InBuffSize() const { return inBuffSize_; }
  void SetInBuffSize(short size) { inBuffSize_ = size; }
  short OutBuffSize() const { return outBuffSize_; }
  void SetOutBuffSize(short size) { outBuffSize_ = size; }
  short BlockSize() const { return blockSize_; }
  void SetBlockSize(short words) { blockSize_ = words; }
  QString ActiveMicro() const;
  void SetActiveMicro(const QString& target);
  bool ChipIsPresent() const { return chipIsPresent_; }
  short PadBytes() const { return padBytes_; }
  void SetPadBytes(short bytes) { padBytes_ = bytes; }

  // The durations of every wait and timer (tests shorten them).
  void SetTimings(const PeltoTimings& timings) { timings_ = timings; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Settings, target list and the panel's controls.
  void InitPanel();
  void SelectTarget();
  void RefreshParameters();
  void Browse();
  void TakeTypedFile();
  void WriteInState1(const Bytes& frame);
  void OnComm();
  // The ROM file.
  void ForgetConversion();
  void LoadRomFile();
  void ShowChecksum(const std::string& path);
  // States, timers and tasks.
  void StartGeneralTimer(int task, int ms);
  void StopGeneralTimer();
  void OnGeneralTimer();
  void OnSendTimer();
  void RestartPoll();
  void Connect();
  void SocketPoll();
  void RunTask(int task);
  void CompareCrc();
  void ShowProgrammingFailed();
  void NotConnectedLook();
  void IdleLook();
  void BusyLook(bool yellowLight);
  void ShowConnected(bool connected);
  // Transfers.
  short OpenPort();
  void ClosePort();
  bool LineIsDown();
  short ChipTest();
  short SendFrame(const Bytes& frame);
  short WriteOrFail(const Bytes& frame);
  short WaitCommand(uint8_t command, int progressMax, uint8_t mask, int pollLimit,
                    const char* statusText, bool pollAtOnce);
  void ShowStatus(const QByteArray& block);
  bool Wait(const std::function<bool()>& done, const bool& timedOut);
  void StartTimer(platform::Timer& timer, bool& flag, int ms);

  std::unique_ptr<PeltoPanel> panel_;
  platform::SerialPort RS232;
  platform::Timer Timer_GralTimeOut, Timer_ReadTimeOut, Timer_SendTimeOut, Timer_FileWait;
  PeltoTimings timings_;

  QString activeFile_, activeMicro_;
  short commPortNr_ = 1;
  int baudRate_ = 9600;
  short inBuffSize_ = 1024, outBuffSize_ = 1024;
  int instructionSize_ = 0;
  short nbOfBlocks_ = 2, blockSize_ = 1024;
  int romSize_ = 2048;
  short padBytes_ = 2, padBits_ = 16;
  bool chipIsPresent_ = true;

  int state_ = 255;
  int gralTask_ = 0;
  int pendingAuto_ = 0;
  bool autoProgram_ = false, autoCrc_ = false;
  bool gralTimedOut_ = false, readTimedOut_ = false, sendTimedOut_ = false, fileTimedOut_ = false;
  std::string windowsFolder_, systemFolder_;
  std::string convertedFile_, convertedSource_;
  bool noTargetList_ = false;
  QString savedParamText_;
};

}  // namespace pelto
