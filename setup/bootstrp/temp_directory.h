#pragma once
#include <string>

namespace vanstall {

// The root of the temporary folders: TEMP, else TMP, else the first of
// TMPDIR and /tmp where a test file can be written.
std::string TemporaryRoot();

// Cleans the folders RVSETUP0.TMP to RVSETUP9.TMP and RVSETUP.XXXXXX that
// earlier runs left (emptied when an hour old, removed when empty; only real
// folders of this user that no running loader holds, never through a link)
// and creates the first free of the ten with mode 0700; when all ten are
// taken, a fresh RVSETUP.XXXXXX of a unique name instead. Returns its path,
// or "" after the B111 message. `lock` receives the descriptor that holds the
// folder for this loader: it stays open until the folder is removed.
std::string CreateTempDirectory(int& lock);

}  // namespace vanstall
