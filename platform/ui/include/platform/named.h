#pragma once
// Gives a control made in code the object name that its form's handlers and
// the tests find it by.
namespace platform {

template <class Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

}  // namespace platform
