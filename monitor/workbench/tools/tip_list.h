#pragma once
// The tips of the tip window: the lines of a text file, and the pick of the
// next one at random.
#include <QString>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace monitor {

// Splits bytes into lines (8-bit characters): CR LF, CR and LF each end a
// line; a line end at the very end adds no empty line.
std::vector<QString> SplitTipLines(const std::string& bytes);

class TipList {
 public:
  // Appends the lines of the file; false for an empty path or a file that
  // cannot be read.
  bool Load(const std::string& path);

  void Seed(uint32_t seed) { random_.seed(seed); }
  // A number from 1 to the count, each as likely, repeats allowed:
  // floor(r * count) + 1 with r in [0, 1). Sets the current tip.
  int PickNext();

  int Current() const { return current_; }
  // The current tip's text; nothing while the list is empty.
  bool CurrentText(QString& text) const;
  const std::vector<QString>& Tips() const { return tips_; }

 private:
  std::vector<QString> tips_;
  int current_ = 0;
  std::mt19937 random_;
};

}  // namespace monitor
