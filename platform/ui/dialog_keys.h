#pragma once
// The keys of a dialog-kind form: Return presses its default button (or the
// push button that has the focus), Escape its cancel button. The filter sees
// the keys of the form's own widgets before they do; a key it does not act
// on goes on as before.
#include <QAbstractButton>
#include <QObject>
#include <QPointer>

namespace platform {

class Form;

class DialogKeys : public QObject {
 public:
  DialogKeys(Form& form, QAbstractButton* defaultButton, QAbstractButton* cancelButton);
  ~DialogKeys() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Form& form_;
  QPointer<QAbstractButton> default_, cancel_;
};

}  // namespace platform
