#include "core/print_listing_line.h"

#include <QStringList>

#include "platform/hooks.h"
#include "platform/messagebox.h"
#include "platform/source_text_box.h"

namespace monitor {

bool PrintTextLines(const QStringList& lines, const QFont& font, const QString& sample) {
  if (platform::PrintLines(lines, font, sample)) return true;
  platform::MessageBox("No printer is available.", "Tavix",
                       platform::MB_OK | platform::MB_ICONEXCLAMATION);
  return false;
}

void PrintListingLine(const QString& text, const QString& fontName, double fontSize, int copies) {
  QStringList lines = platform::WithLineFeeds(text).split(u'\n');
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  QFont font(fontName);
  if (fontSize > 0) font.setPointSizeF(fontSize);
  const QString sample = QStringLiteral("H");
  for (int copy = 0; copy < copies; ++copy) {
    if (!PrintTextLines(lines, font, sample)) return;
  }
}

}  // namespace monitor
