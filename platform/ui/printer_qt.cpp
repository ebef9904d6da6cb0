// The line printer on Qt PrintSupport: the system's default printer.
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <memory>

#include "platform/hooks.h"
#include "platform/twips.h"

namespace platform {
namespace {

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
  QPrinter printer_;
  QPainter painter_;
  int lineHeight_ = 0;
  int y_ = 0;
};

}  // namespace

std::unique_ptr<LinePrinter> MakeSystemPrinter() {
  return std::make_unique<QtLinePrinter>();
}

}  // namespace platform
