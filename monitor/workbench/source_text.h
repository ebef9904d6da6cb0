#pragma once
// The source codec: how a source file's bytes become the editor's text and
// back. Every text file of the workbench follows it.
// - A file that is valid UTF-8 as a whole (plain ASCII included) is read and
//   written as UTF-8. Any other file maps each byte b to the character U+00bb,
//   so every byte value comes back as it was.
// - CR LF, a lone CR and a lone LF each end one line; in the text a line end
//   is one LF. A save writes CR LF for each, plus a final CR LF only when the
//   text does not end with a line end: an unchanged CR LF file saves to the
//   same bytes and saving again never grows it.
#include <QString>
#include <string>

namespace monitor {

enum class SourceEncoding {
  Utf8,   // the file was valid UTF-8; every character can be stored
  Bytes,  // one character per byte; characters above U+00FF cannot be stored
};

struct DecodedSource {
  QString text;
  SourceEncoding encoding = SourceEncoding::Utf8;
};

DecodedSource DecodeSource(const std::string& bytes);
std::string EncodeSource(const QString& text, SourceEncoding encoding);
// Text that enters a document: line ends as LF, and in a byte document each
// character above U+00FF (a surrogate pair is one) as "?".
QString MakeStorable(const QString& text, SourceEncoding encoding);

}  // namespace monitor
