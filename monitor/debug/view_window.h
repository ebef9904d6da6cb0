#pragma once
// The registry side of the watch and RAM windows: each has a key below the
// monitor's key with its defaults, window state, placement and font.
#include <QFont>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/forms.h"

namespace monitor {

class ViewWindowKey {
 public:
  // `name` is the key's own name ("watch window", "ram window").
  explicit ViewWindowKey(const char* name);

  // Creates the key with its defaults when its marker is missing.
  void Ensure() const;
  // The stored font on every control (grids through their own font call);
  // nothing when no font name is stored.
  void ApplyFont(const std::vector<QWidget*>& controls) const;
  // Window state from the key, the form shown, and in the normal state its
  // stored placement (sizes that are not positive are not applied).
  void Restore(platform::Form& form) const;
  // "fontname", "fontsize" and "fontpara" (1 italic + 2 bold) of a font.
  void SaveFont(const QFont& font) const;
  // The placement in the normal state only; the window state always.
  void Save(const platform::Form& form) const;

 private:
  int32_t Number(const char* value) const;
  void Store(const char* value, int32_t number) const;

  const char* name_;
  std::string path_;
};

}  // namespace monitor
