#pragma once
// Termination requests to the second stage: SIGTERM, SIGHUP (a closed
// terminal or the end of the session) and SIGINT (Ctrl-C). The handler only
// notes the request; the installer stops at its next step and puts the
// previous installation back.

namespace rvsetup {

// Installs the handlers.
void WatchInterruptions();

// Whether a termination was requested.
bool Interrupted();

// Test hook: with RVSETUP_TEST_HOLD set to "<step>:<marker file>", reaching
// `step` creates the marker file and waits (at most a minute) for a
// termination request, so that a test can interrupt the install right there.
void HoldForTest(const char* step);

}  // namespace rvsetup
