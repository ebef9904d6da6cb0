#pragma once
// The programmer control: a widget with its own tabbed panel that drives the
// serial device programmer. Hosts reach it only by name: the library's
// factory makes it, and its members are Qt properties and invokable methods
// named as the control's interface names them. It raises no events.
//
// The widget keeps the interface and the looks; the state machine, the
// transfers and the ROM file are the plain classes of `PeltoLogic`, whose
// `PeltoShown` the widget draws. Every wait lets events run, so timers, port
// events and clicks arrive inside a wait; the panel's busy look and the
// stopped poll keep them out of the way.
#include <QByteArray>
#include <QString>
#include <QWidget>
#include <memory>

#include "pelto_logic.h"

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
  short CommPortNr() const { return params_.commPortNr; }
  void SetCommPortNr(short port) { params_.commPortNr = port; }
  int BaudRate() const { return params_.baudRate; }
  void SetBaudRate(int rate) { params_.baudRate = rate; }
  int ROMsize() const { return params_.romSize; }
  void SetROMsize(int words) { params_.romSize = words; }
  short PadBits() const { return params_.padBits; }
  void SetPadBits(short bits) { params_.padBits = bits; }
  int InstructionSize() const { return params_.instructionSize; }
  void SetInstructionSize(int bits);
  short NbOfBlocks() const { return params_.nbOfBlocks; }
  void SetNbOfBlocks(short blocks) { params_.nbOfBlocks = blocks; }
  short InBuffSize() const { return params_.inBuffSize; }
  void SetInBuffSize(short size) { params_.inBuffSize = size; }
  short OutBuffSize() const { return params_.outBuffSize; }
  void SetOutBuffSize(short size) { params_.outBuffSize = size; }
  short BlockSize() const { return params_.blockSize; }
  void SetBlockSize(short words) { params_.blockSize = words; }
  QString ActiveMicro() const;
  void SetActiveMicro(const QString& target);
  bool ChipIsPresent() const { return params_.chipIsPresent; }
  short PadBytes() const { return params_.padBytes; }
  void SetPadBytes(short bytes) { params_.padBytes = bytes; }

  // The durations of every wait and timer (tests shorten them).
  void SetTimings(const PeltoTimings& timings) { logic_.timings = timings; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Settings, target list and the panel's controls.
  void InitPanel();
  void SelectTarget();
  void RefreshParameters();
  void Browse();
  void TakeTypedFile();
  void Reload();
  // Draws what the logic shows.
  void Render(PeltoShown::Part part);
  void RenderLook();

  std::unique_ptr<PeltoPanel> panel_;
  PeltoLogic logic_;
  PeltoParams& params_ = logic_.params;
  QString activeMicro_;
  bool noTargetList_ = false;
  QString savedParamText_;
  std::string windowsFolder_, systemFolder_;
};

}  // namespace pelto
