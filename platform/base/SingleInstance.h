#pragma once
// One editor per user in standalone mode. While the editor's main window is
// open it listens on a local socket; a second start asks it to come to the
// front instead of opening another editor. The request is one line,
// "activate\n", answered with "ok\n". The client side is plain POSIX, so the
// launcher needs no window library.

#include <string>

namespace platform {

// $XDG_RUNTIME_DIR/chronosets2-editor.sock, or /tmp/chronosets2-editor-<uid>.sock
// when that variable is unset, empty or too long for a socket address.
std::string GetSingleInstanceSocketPath();

// True when an editor of this user listens on the socket path. A leftover
// socket file of an editor that crashed counts as no editor.
bool IsEditorListening(const std::string& strPath);

// Asks the running editor to come to the front. True when an editor took the
// request; false when none runs (no socket, or a stale one).
bool AskRunningEditorToActivate();
bool AskRunningEditorToActivate(const std::string& strPath);

}  // namespace platform
