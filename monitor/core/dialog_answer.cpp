#include "core/dialog_answer.h"

#include "platform/hooks.h"
#include "platform/run_time_error.h"

namespace monitor {

bool DialogAnswered(const std::function<void()>& show) {
  try {
    show();
    return true;
  } catch (const platform::RunTimeError& error) {
    if (error.Number() != platform::CommonDialog::kCancelError) throw;
    return false;
  }
}

}  // namespace monitor
