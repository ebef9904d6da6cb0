#pragma once
// The line printer on paper: a recording printer whose pages hold a set
// number of lines, installed with platform::SetPrinterFactory.
#include <QFont>
#include <QString>
#include <memory>
#include <vector>

#include "platform/hooks.h"

namespace testsupport {

struct Paper {
  struct Job {
    QString font;
    double size = 0;
    std::vector<std::vector<QString>> pages;
  };
  std::vector<Job> jobs;
  int linesPerPage = 60;
  bool available = true;
};

class RecordingPrinter : public platform::LinePrinter {
 public:
  explicit RecordingPrinter(Paper& paper) : paper_(paper) {}
  bool BeginJob(const QFont& font, const QString&) override {
    if (!paper_.available) return false;
    paper_.jobs.push_back({font.family(), font.pointSizeF(), {{}}});
    return true;
  }
  int PageHeight() const override { return paper_.linesPerPage * 240; }
  int TextHeight(const QString&) const override { return 240; }
  void PrintLine(const QString& line) override { paper_.jobs.back().pages.back().push_back(line); }
  void NewPage() override { paper_.jobs.back().pages.emplace_back(); }
  void EndJob() override {}

 private:
  Paper& paper_;
};

inline std::unique_ptr<platform::LinePrinter> CapturingPrinter(Paper& paper) {
  return std::make_unique<RecordingPrinter>(paper);
}

}  // namespace testsupport
