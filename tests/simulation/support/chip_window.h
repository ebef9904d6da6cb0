#pragma once
// A chip module's periphery window inside a host widget (offscreen): opened
// through InitInterface, its controls found by id and read through Qt (the
// dialog belongs to the module's own copy of the dialog layer), messages
// sent through the module's dialog procedure.
#include <k42target.h>
#include <platform/pictures.h>

#include <QWidget>

#include <cstdint>
#include <string>

namespace k42test {

// Control `id` of `dialog` (null when none).
QWidget* Control(const QWidget* dialog, int id);
// Its text: button, label, line edit or plain text edit; "?" otherwise.
std::string ControlText(const QWidget* dialog, int id);
// The picture drawn in picture place `id` (None when there is none).
platform::Picture ControlPicture(const QWidget* dialog, int id);

class ChipWindow {
 public:
  // InitInterface into the host, which then shows; `module` in `folder` (as
  // for LoadedExport) gives the dialog procedure. Fails the test unless the
  // dialog is there.
  void open(const std::string& module, const std::string& folder);
  // Delivers the posted redraws and Qt's events.
  void flush();

  QWidget* control(int id) const { return Control(dialog, id); }
  std::string text(int id) const { return ControlText(dialog, id); }
  platform::Picture picture(int id) const { return ControlPicture(dialog, id); }
  void click(int id);
  // A message through the module's dialog procedure.
  intptr_t send(uint32_t message, uintptr_t wParam, intptr_t lParam = 0);
  // A scroll code on slider `bar` through the dialog procedure.
  void scroll(int bar, uint16_t code, int thumb = 0);

  QWidget host;
  QWidget* dialog = nullptr;

 private:
  std::string module_, folder_;
};

}  // namespace k42test
