#include "platform/clipboard_format.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace platform {

ClipboardFormat::ClipboardFormat(const std::string& name)
    : mime_("application/x-tavix-" + QString::fromStdString(name)) {}

bool ClipboardFormat::Available() const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasFormat(mime_);
}

void ClipboardFormat::Set(const std::string& block) const {
  auto* data = new QMimeData;
  data->setData(mime_, QByteArray(block.data(), static_cast<qsizetype>(block.size())));
  QGuiApplication::clipboard()->setMimeData(data);
}

bool ClipboardFormat::Get(std::string& block) const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasFormat(mime_)) return false;
  const QByteArray bytes = data->data(mime_);
  block.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
  return true;
}

}  // namespace platform
