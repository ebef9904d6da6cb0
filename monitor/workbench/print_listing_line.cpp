#include "workbench/print_listing_line.h"

#include <QStringList>
#include <algorithm>

#include "platform/hooks.h"
#include "platform/source_text_box.h"

namespace monitor {

void PrintListingLine(const QString& text, const QString& fontName, double fontSize, int copies) {
  QStringList lines = platform::WithLineFeeds(text).split(u'\n');
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  QFont font(fontName);
  if (fontSize > 0) font.setPointSizeF(fontSize);
  const QString sample = QStringLiteral("H");
  for (int copy = 0; copy < copies; ++copy) {
    std::unique_ptr<platform::LinePrinter> printer = platform::MakePrinter();
    if (!printer->BeginJob(font, sample)) {
      platform::MessageBox("No printer is available.", "Tavix",
                           platform::MB_OK | platform::MB_ICONEXCLAMATION);
      return;
    }
    const int perPage =
        std::max(1, printer->PageHeight() / std::max(1, printer->TextHeight(sample)));
    int onPage = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
      if (onPage == perPage) {
        printer->NewPage();
        onPage = 0;
      }
      printer->PrintLine(lines[i]);
      ++onPage;
    }
    printer->EndJob();
  }
}

}  // namespace monitor
