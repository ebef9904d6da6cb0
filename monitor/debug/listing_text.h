#pragma once
// The listing's 8-bit characters: each byte is the character of the same code
// (Latin-1), so every file written from the program grid's texts (the trace
// file) carries the listing's bytes unchanged.
#include <QByteArray>
#include <QString>
#include <string>

namespace monitor {

inline QString ListingText(const std::string& bytes) {
  return QString::fromLatin1(bytes);
}

inline QByteArray ListingBytes(const QString& text) {
  return text.toLatin1();
}

}  // namespace monitor
