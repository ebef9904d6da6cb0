#pragma once
// The active ROM file: its checksum and program size through STD73XX, and
// the conversion of 18- and 22-bit ".rom" files to ".rob" first. A plain
// class: the control's widget holds it.
#include <string>

#include "pelto_params.h"
#include "pelto_shown.h"
#include "pelto_timings.h"
#include "pelto_wait.h"

namespace pelto {

class RomFile {
 public:
  RomFile(PeltoParams& params, PeltoShown& shown, const PeltoTimings& timings);

  // Forgets the converted file, so that the next load converts again.
  void Forget();
  // Loads the active file by width (converting it when it needs it).
  void Load();
  // The file a download sends: the converted one when there is one.
  std::string Source() const;
  bool Converted() const { return !converted_.empty(); }

 private:
  void ShowChecksum(const std::string& path);
  void ShowMessage(const std::string& text, long color);

  PeltoParams& params_;
  PeltoShown& shown_;
  const PeltoTimings& timings_;
  TimeOut wait_;
  std::string converted_, source_;
};

}  // namespace pelto
