#pragma once
// Waits for a condition with a bound while letting Qt events run, as the
// monitor's own waits do.
#include <functional>

namespace testsupport {

// True as soon as `condition` holds; false after `ms` milliseconds. The
// default bound is generous so that a loaded machine never fails a wait.
bool WaitUntil(const std::function<bool()>& condition, int ms = 10000);

// Lets events run for `ms` milliseconds.
void RunEventsFor(int ms);

}  // namespace testsupport
