#pragma once
// Printing a text line by line on the line printer.
#include <QFont>
#include <QString>
#include <QStringList>

namespace monitor {

// Each copy is a job of its own in the font given. Lines end at CR LF, CR or
// LF; a line end at the very end adds no empty line. A page holds the page
// height divided by the height of "H" lines (at least one); a new page starts
// only when more lines follow. With no printer, one message and nothing
// printed.
// The lines as one job on the line printer (a page holds its height divided
// by the height of `sample`); with no printer, one message and false.
bool PrintTextLines(const QStringList& lines, const QFont& font, const QString& sample);

void PrintListingLine(const QString& text, const QString& fontName, double fontSize, int copies);

}  // namespace monitor
