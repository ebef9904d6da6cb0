#pragma once
// The project dialog "Edit Project": a modeless top-level form with the main
// source file, the include and output paths and the target controller.
// OK copies the fields that differ into the project and sets
// ProjectModified; then, while the project is changed, it asks to save.
// Cancel copies nothing. Browse works only while Source has the focus.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "platform/forms.h"

namespace monitor {

class MonitorState;

class Project : public platform::Form {
 public:
  explicit Project(MonitorState& state);

  QLineEdit* Source;
  QLineEdit* include_path;
  QLineEdit* output_path;
  QComboBox* ComboTargCon;
  QPushButton* Command1;  // OK
  QPushButton* Command2;  // Cancel
  QPushButton* Command3;  // Browse

  void OnLoad() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Accept();
  void Browse();

  MonitorState& state_;
};

}  // namespace monitor
