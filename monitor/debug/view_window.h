#pragma once
// The registry side of the watch and RAM windows: each has a key below the
// monitor's key with its defaults, window state, placement and font.
#include <QFont>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/forms.h"

namespace monitor {

// A debug window's stored placement as its normal geometry (sizes that are
// not positive are not applied), then its stored window state, and the
// window shown: one opening maximized comes back to that placement.
// `number` reads a value of the window's key.
void RestoreWindowPlacement(platform::Form& form,
                            const std::function<int32_t(const char*)>& number);

class ViewWindowKey {
 public:
  // `name` is the key's own name ("watch window", "ram window").
  explicit ViewWindowKey(const char* name);

  // Creates the key with its defaults when its marker is missing.
  void Ensure() const;
  // The stored font on every control (grids through their own font call);
  // nothing when no font name is stored.
  void ApplyFont(const std::vector<QWidget*>& controls) const;
  // RestoreWindowPlacement from the key.
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
