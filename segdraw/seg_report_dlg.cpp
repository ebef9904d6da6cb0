#include "seg_report_dlg.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include <platform/atomic_write.h>
#include <platform/filenames.h>
#include <platform/messagebox.h>

#include "dialog_support.h"
#include "segdraw_doc.h"

using segdraw::Named;

CSegReportDlg::CSegReportDlg(const CSegdrawDoc& doc, std::string report, QWidget* parent)
    : QDialog(parent), doc_(doc), report_(std::move(report)) {
  setObjectName("CSegReportDlg");
  setWindowTitle("Segment Allocation Report");
  auto* layout = new QVBoxLayout(this);
  auto* text = Named(new QPlainTextEdit(this), IDC_REPORT_TEXT);
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  segdraw::UseTabStops(text);
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  auto* save = Named(buttons->addButton("&Save", QDialogButtonBox::ActionRole), IDC_SAVE);
  connect(save, &QPushButton::clicked, this, [this] { OnSave(); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  resize(560, 420);
}

bool CSegReportDlg::DoModal() {
  segdraw::Control<QPlainTextEdit>(*this, IDC_REPORT_TEXT)
      ->setPlainText(QString::fromStdString(report_).replace("\r\n", "\n"));
  segdraw::Control<QPushButton>(*this, IDC_SAVE)->setEnabled(!doc_.GetBaseName().empty());
  return segdraw::RunDialog(*this);
}

void CSegReportDlg::OnSave() {
  if (doc_.GetBaseName().empty()) return;
  // Beside the document: its own folder, whatever the current one is.
  const std::string name = doc_.GetBaseName() + ".txt";
  const std::string path = platform::FolderOf(doc_.PathName()) + name;
  int error = 0;
  if (!platform::WriteFileAtomically(platform::FindOrKeepPath(path), report_, &error)) {
    platform::MessageBox("Unable to save the report in " + path + "\n" + std::strerror(error), "Segdraw",
                         platform::MB_ICONEXCLAMATION);
    return;
  }
  platform::MessageBox("Report file saved in " + name, "Segdraw", platform::MB_OK);
}
