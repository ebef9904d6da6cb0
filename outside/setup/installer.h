#pragma once
// Installs the files an archive carries in folders ("bin\Tavix",
// "tavix\Start.asm") below a target folder, keeping their layout; entries
// without a folder belong to the setup itself and are not installed.
#include <functional>
#include <string>

namespace rvsetup {

// Calls `report` with each installed name. False, with `error` saying why,
// when the archive cannot be read, an entry fails its checks or a file cannot
// be written; a name that would leave the target folder is refused. Every
// file is extracted beside its place first and the installed files are
// replaced only when all are; a failure or a termination request on the way
// puts every replaced file back and removes the partial files and the
// folders it made, so the installation stays as it was. One install of a
// target runs at a time: another one's is refused with "<target> is being
// installed by another setup". Hidden partial files that an earlier, killed
// install left beside the files are removed.
bool InstallArchive(const std::string& archivePath, const std::string& target,
                    const std::function<void(const std::string&)>& report, std::string& error);

// $TAVIX_INSTALL_DIR, else $HOME/.local/opt/tavix.
std::string InstallFolder();

}  // namespace rvsetup
