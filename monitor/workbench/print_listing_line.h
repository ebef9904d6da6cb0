#pragma once
// Printing a text line by line on the line printer.
#include <QString>

namespace monitor {

// Each copy is a job of its own in the font given. Lines end at CR LF, CR or
// LF; a line end at the very end adds no empty line. A page holds the page
// height divided by the height of "H" lines (at least one); a new page starts
// only when more lines follow. With no printer, one message and nothing
// printed.
void PrintListingLine(const QString& text, const QString& fontName, double fontSize, int copies);

}  // namespace monitor
