#pragma once
// The build-output link: one local stream socket per (application, topic) in
// a per-user folder. A client opens a conversation, asks for an automatic
// link on an item and pokes text lines into it; the server acknowledges each
// poke after it has handled it.
#include <string>

namespace platform {

// The folder of the link sockets: $TAVIX_LINK_DIR, else
// $XDG_RUNTIME_DIR/tavix-link, else <temporary folder>/tavix-link-<uid>.
std::string LinkFolder();

// The socket of one (application, topic): "<folder>/<APPLICATION>.<TOPIC>.sock";
// names are upper-cased, since they match without case.
std::string LinkSocketPath(const std::string& application, const std::string& topic);

}  // namespace platform
