#pragma once
// Windows built from a language library's dialog descriptions.
#include <QWidget>
#include <map>

#include "setup/boot_language.h"

namespace vanstall {

// Fills `window` with the described controls (dialog units converted with
// the window's font), sets its caption and size, and returns the controls by id.
std::map<int, QWidget*> BuildDialog(QWidget& window, const BootDialog& description);

// Centres a window on its screen.
void CentreOnScreen(QWidget& window);

}  // namespace vanstall
