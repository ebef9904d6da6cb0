#include "gen_param_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "dialog_support.h"

using segdraw::Named;

CGenParamDlg::CGenParamDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("CGenParamDlg");
  setWindowTitle("Dialog");
  auto* form = new QFormLayout(this);
  for (auto [id, label] : {std::pair{IDC_LEFT, "Left"}, {IDC_WIDTH, "Width"}, {IDC_TOP, "Top"}, {IDC_HEIGHT, "Height"}})
    form->addRow(label, Named(new QLineEdit(this), id));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
}

QLineEdit* CGenParamDlg::field(int id) const { return segdraw::Control<QLineEdit>(*this, id); }

bool CGenParamDlg::DoModal() {
  field(IDC_LEFT)->setText(QString::number(m_left));
  field(IDC_WIDTH)->setText(QString::number(m_width));
  field(IDC_TOP)->setText(QString::number(m_top));
  field(IDC_HEIGHT)->setText(QString::number(m_height));
  return segdraw::RunDialog(*this);
}

void CGenParamDlg::accept() {
  int left = 0, width = 0, top = 0, height = 0;
  if (!segdraw::FetchInteger(field(IDC_LEFT), INT16_MIN, INT16_MAX, left) ||
      !segdraw::FetchInteger(field(IDC_WIDTH), INT16_MIN, INT16_MAX, width) ||
      !segdraw::FetchInteger(field(IDC_TOP), INT16_MIN, INT16_MAX, top) ||
      !segdraw::FetchInteger(field(IDC_HEIGHT), INT16_MIN, INT16_MAX, height))
    return;
  m_left = left;
  m_width = width;
  m_top = top;
  m_height = height;
  QDialog::accept();
}
