#pragma once
// Test holds, compiled only into the second stage's test build
// (RVSETUP_TEST_HOLDS): with RVSETUP_TEST_HOLD set to "<step>:<marker file>",
// reaching `step` creates the marker file, so that a test can act right
// there. The shipped program has none of it.

namespace rvsetup {

#ifdef RVSETUP_TEST_HOLDS
// Creates the marker at `step`.
void MarkForTest(const char* step);
// Creates the marker at `step` and waits (at most a minute) until the test
// removes it or a termination is requested.
void HoldForTest(const char* step);
#else
inline void MarkForTest(const char*) {}
inline void HoldForTest(const char*) {}
#endif

}  // namespace rvsetup
