#pragma once
// The control's face: the tabbed panel TabCntl with its five pages ("Comm
// Settings", "Controller", "Operation", "Help", "Prog Settings") and the
// progress bar beneath. Every control carries its own name as objectName.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <array>

#include "pelto_shown.h"

namespace pelto {

struct PeltoPanel {
  QTabWidget* TabCntl;
  QComboBox *Combo_CommSel, *Combo_BaudSel, *Combo_Target;
  QLineEdit* Text_ActiveFile;
  QPushButton* Button_Browse;
  QLineEdit *Text_InstrSize, *Text_NrOfBlocks, *Text_BlockSize, *Text_ROMsize, *Text_ProgSize;
  QLabel* Text_Message;
  QRadioButton *Option_OnLine, *Option_StdAlone;
  QPushButton *Button_Connect, *Button_Download, *Button_Program, *Button_ReadDevCRC,
      *Button_Recalc, *Button_LastInstruction;
  QLineEdit* Text_LastInstruction;
  QCheckBox *Check_AutoProg, *Check_AutoCRC;
  QLineEdit *Text_CRCMaster, *Text_CRCBox, *Text_CRCDevice;
  QLabel* Text_Status;
  QLabel *Pict_TraficLight, *Pict_ChipPresent;
  QProgressBar* ProgBar;
  QPushButton *Button_Index, *Button_About;
  QLineEdit* Text1;
  QLabel* Label10;
  QGroupBox *Speed, *VPP;
  std::array<QRadioButton*, 4> Selspeed;
  QSlider* Slider1;
  QLabel* glVtn;
};

// Builds the panel into `owner` (which gets its layout).
PeltoPanel BuildPeltoPanel(QWidget* owner);

// Sets a text's colour; the value stays readable as the property "ForeColor".
void SetForeColor(QWidget* widget, long color);

}  // namespace pelto
