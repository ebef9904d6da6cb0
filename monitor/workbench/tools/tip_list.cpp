#include "workbench/tools/tip_list.h"

#include "platform/read_file.h"

namespace monitor {

std::vector<QString> SplitTipLines(const std::string& bytes) {
  std::vector<QString> lines;
  size_t start = 0;
  for (size_t at = 0; at < bytes.size(); ++at) {
    if (bytes[at] != '\r' && bytes[at] != '\n') continue;
    lines.push_back(QString::fromLatin1(bytes.data() + start, static_cast<qsizetype>(at - start)));
    if (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') ++at;
    start = at + 1;
  }
  if (start < bytes.size()) {
    lines.push_back(
        QString::fromLatin1(bytes.data() + start, static_cast<qsizetype>(bytes.size() - start)));
  }
  return lines;
}

bool TipList::Load(const std::string& path) {
  std::string bytes;
  if (path.empty() || !platform::ReadWholeFile(path, bytes)) return false;
  for (QString& line : SplitTipLines(bytes)) tips_.push_back(std::move(line));
  return true;
}

int TipList::PickNext() {
  // 32 random bits as a fraction in [0, 1), so the pick is the same on every
  // platform for a given seed.
  const double r = static_cast<double>(random_()) / 4294967296.0;
  current_ = static_cast<int>(r * static_cast<double>(tips_.size())) + 1;
  return current_;
}

bool TipList::CurrentText(QString& text) const {
  if (tips_.empty() || current_ < 1 || current_ > static_cast<int>(tips_.size())) return false;
  text = tips_[static_cast<size_t>(current_) - 1];
  return true;
}

}  // namespace monitor
