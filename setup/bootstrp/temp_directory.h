#pragma once
#include <string>

namespace vanstall {

// The root of the temporary folders: TEMP, else TMP, else the first of
// TMPDIR and /tmp where a test file can be written.
std::string TemporaryRoot();

// Cleans folders RVSETUP0.TMP to RVSETUP9.TMP left by earlier runs (emptied
// when an hour old, removed when empty; only real folders of this user, never
// through a link) and creates the first free one with mode 0700; when all
// ten are taken, a fresh RVSETUP.XXXXXX of a unique name instead. Returns its
// path, or "" after the B111 message.
std::string CreateTempDirectory();

}  // namespace vanstall
