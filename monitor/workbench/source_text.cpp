#include "workbench/source_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include "platform/source_text_box.h"

namespace monitor {

namespace {

// The bytes as UTF-8 when they are exactly the UTF-8 form of some text.
bool DecodeUtf8(const std::string& bytes, QString& text) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
  text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (decoder.hasError()) return false;
  const QByteArray back = text.toUtf8();
  return back.size() == static_cast<qsizetype>(bytes.size()) &&
         std::equal(back.begin(), back.end(), bytes.begin());
}

}  // namespace

DecodedSource DecodeSource(const std::string& bytes) {
  DecodedSource source;
  QString raw;
  if (!DecodeUtf8(bytes, raw)) {
    source.encoding = SourceEncoding::Bytes;
    raw.resize(static_cast<qsizetype>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) {
      raw[static_cast<qsizetype>(i)] = QChar(static_cast<unsigned char>(bytes[i]));
    }
  }
  source.text = platform::WithLineFeeds(raw);
  return source;
}

std::string EncodeSource(const QString& text, SourceEncoding encoding) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()) + static_cast<size_t>(text.size()) / 16 + 2);
  const auto put = [&](QStringView piece) {
    if (encoding == SourceEncoding::Bytes) {
      for (QChar c : piece) bytes += c.unicode() <= 0xFF ? static_cast<char>(c.unicode()) : '?';
    } else {
      const QByteArray utf8 = piece.toUtf8();
      bytes.append(utf8.constData(), static_cast<size_t>(utf8.size()));
    }
  };
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'\n') continue;
    put(QStringView(text).mid(start, i - start));
    bytes += "\r\n";
    start = i + 1;
  }
  put(QStringView(text).mid(start));
  if (text.isEmpty() || text.back() != u'\n') bytes += "\r\n";
  return bytes;
}

QString MakeStorable(const QString& text, SourceEncoding encoding) {
  const QString lines = platform::WithLineFeeds(text);
  QString out;
  out.reserve(lines.size());
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QChar c = lines[i];
    if (c.isHighSurrogate() && i + 1 < lines.size() && lines[i + 1].isLowSurrogate()) {
      if (encoding == SourceEncoding::Bytes) {
        out += u'?';
      } else {
        out += c;
        out += lines[i + 1];
      }
      ++i;
    } else if (c.isSurrogate() || (encoding == SourceEncoding::Bytes && c.unicode() > 0xFF)) {
      out += u'?';  // a lone surrogate has no bytes in either form
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace monitor
