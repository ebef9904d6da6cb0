#pragma once
// The display rectangle: Left, Width, Top and Height.
#include <QDialog>

class QLineEdit;

class CGenParamDlg : public QDialog {
 public:
  enum { IDC_LEFT = 1000, IDC_WIDTH = 1001, IDC_TOP = 1002, IDC_HEIGHT = 1003 };

  explicit CGenParamDlg(QWidget* parent = nullptr);

  // Shows the fields; OK stores them (each within the display's 16 bits).
  bool DoModal();

  int m_left = 10, m_top = 10, m_width = 100, m_height = 100;

 protected:
  void accept() override;

 private:
  QLineEdit* field(int id) const;
};
