// The common dialog's actions as Qt's own dialogs, each run through
// RunModalDialog so that a test answers the very dialog a person would see.
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QFontDialog>
#include <QStringList>

#include "platform/hooks.h"

namespace platform {

bool RunPrintDialog(CommonDialog& dialog, QWidget* owner);  // printer_qt.cpp

namespace {

bool RunFileDialog(CommonDialog& dialog, CommonDialog::Action action, QWidget* owner) {
  const QString filter = CommonDialog::QtFilter(dialog.Filter);
  const QStringList filters = filter.split(";;", Qt::SkipEmptyParts);
  // A name without a folder is proposed in InitDir.
  QString startName = QString::fromStdString(dialog.FileName);
  if (!dialog.InitDir.empty() && !startName.contains('/')) {
    startName =
        QString::fromStdString(dialog.InitDir) + (startName.isEmpty() ? "" : "/") + startName;
  }
  QFileDialog box(owner, QString::fromStdString(dialog.DialogTitle), startName, filter);
  if (action == CommonDialog::Action::Save) {
    box.setAcceptMode(QFileDialog::AcceptSave);
    box.setFileMode(QFileDialog::AnyFile);
  } else {
    // An Open accepts a new name unless the flags ask for an existing file.
    box.setAcceptMode(QFileDialog::AcceptOpen);
    box.setFileMode((dialog.Flags & CommonDialog::kFileMustExist) != 0 ? QFileDialog::ExistingFile
                                                                       : QFileDialog::AnyFile);
  }
  // A starting name that is a pattern ("folder/*.bmp") filters the listing
  // until the user types another, as no filter list is given.
  const QFileInfo start(startName);
  if (filters.isEmpty() && start.fileName().contains(QRegularExpression("[*?]"))) {
    box.setDirectory(start.path());
    box.setNameFilter(start.fileName());
  }
  if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size()) {
    box.selectNameFilter(filters[dialog.FilterIndex - 1]);
  }
  if (RunModalDialog(box) != QDialog::Accepted || box.selectedFiles().isEmpty()) return false;
  const QString chosen = box.selectedFiles().first();
  if (chosen.isEmpty()) return false;
  dialog.FileName = chosen.toStdString();
  dialog.FilterIndex = static_cast<int>(filters.indexOf(box.selectedNameFilter())) + 1;
  return true;
}

bool RunFontDialog(CommonDialog& dialog, QWidget* owner) {
  QFont initial(dialog.FontName);
  if (dialog.FontSize > 0) initial.setPointSizeF(dialog.FontSize);
  initial.setBold(dialog.FontBold);
  initial.setItalic(dialog.FontItalic);
  QFontDialog box(initial, owner);
  box.setWindowTitle(QString::fromStdString(dialog.DialogTitle));
  if ((dialog.Flags & 0x20000) != 0) box.setOption(QFontDialog::ScalableFonts);
  if (RunModalDialog(box) != QDialog::Accepted) return false;
  const QFont font = box.selectedFont();
  dialog.FontName = font.family();
  dialog.FontSize = font.pointSizeF();
  dialog.FontBold = font.bold();
  dialog.FontItalic = font.italic();
  return true;
}

}  // namespace

bool RunQtDialog(CommonDialog& dialog, CommonDialog::Action action, QWidget* owner) {
  using Action = CommonDialog::Action;
  switch (action) {
    case Action::Open:
    case Action::Save:
      return RunFileDialog(dialog, action, owner);
    case Action::Font:
      return RunFontDialog(dialog, owner);
    case Action::Printer:
      return RunPrintDialog(dialog, owner);
    case Action::Help:
      OpenHelp(dialog.HelpFile, dialog.HelpCommand);
      return true;
  }
  return false;
}

}  // namespace platform
