// The line printer on Qt PrintSupport, and the printer dialog that chooses
// its printer: the system's default until the dialog chose another.
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

#include "platform/hooks.h"
#include "platform/twips.h"

namespace platform {
namespace {

constexpr int kNoPageNumbers = 0x8;
constexpr int kNoPrintToFile = 0x80000;

// Lives as long as the program: the dialog's choices hold for later jobs.
QPrinter& ChosenPrinter() {
  static QPrinter* printer = new QPrinter;
  return *printer;
}

class QtLinePrinter : public LinePrinter {
 public:
  bool BeginJob(const QFont& font, const QString& sample) override {
    if (!painter_.begin(&printer_)) return false;
    painter_.setFont(font);
    lineHeight_ = painter_.fontMetrics().boundingRect(sample).height();
    y_ = 0;
    return true;
  }
  int PageHeight() const override {
    return printer_.pageLayout().paintRectPixels(printer_.resolution()).height() * 1440 /
           std::max(1, printer_.resolution());
  }
  int TextHeight(const QString& sample) const override {
    return QFontMetrics(painter_.font(), &printer_).boundingRect(sample).height() * 1440 /
           std::max(1, printer_.resolution());
  }
  void PrintLine(const QString& line) override {
    y_ += lineHeight_;
    painter_.drawText(0, y_, line);
  }
  void NewPage() override {
    printer_.newPage();
    y_ = 0;
  }
  void EndJob() override { painter_.end(); }

 private:
  QPrinter& printer_ = ChosenPrinter();
  QPainter painter_;
  int lineHeight_ = 0;
  int y_ = 0;
};

}  // namespace

std::unique_ptr<LinePrinter> MakeSystemPrinter() {
  return std::make_unique<QtLinePrinter>();
}

bool RunPrintDialog(CommonDialog& dialog, QWidget* owner) {
  const bool toFile = (dialog.Flags & kNoPrintToFile) == 0;
  if (!toFile && QPrinterInfo::availablePrinterNames().isEmpty()) return true;
  QPrinter& printer = ChosenPrinter();
  printer.setCopyCount(std::max(1, dialog.Copies));
  QPrintDialog box(&printer, owner);
  box.setOption(QAbstractPrintDialog::PrintToFile, toFile);
  box.setOption(QAbstractPrintDialog::PrintPageRange, (dialog.Flags & kNoPageNumbers) == 0);
  box.setOption(QAbstractPrintDialog::PrintSelection, dialog.PrintSelection);
  if (dialog.Max > 0) box.setMinMax(std::max(1, dialog.Min), dialog.Max);
  box.setPrintRange((dialog.Flags & 1) != 0 && dialog.PrintSelection
                        ? QAbstractPrintDialog::Selection
                        : QAbstractPrintDialog::AllPages);
  const bool chosen = RunModalDialog(box) == QDialog::Accepted;
  const int copies = printer.copyCount();
  printer.setCopyCount(1);
  if (!chosen) return false;
  dialog.Copies = copies;
  dialog.Flags = (dialog.Flags & ~1) | (box.printRange() == QAbstractPrintDialog::Selection ? 1 : 0);
  return true;
}

}  // namespace platform
