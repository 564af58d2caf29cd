#pragma once
// A write past the process's file-size limit (RLIMIT_FSIZE, as `ulimit -f`
// or a service manager sets it) raises SIGXFSZ, and its default action ends
// the process on the spot: the editor would vanish with the user's edits and
// leave a temporary file the size of the limit. Ignored, the signal turns
// into a write that fails with EFBIG, which every writer already handles as
// it handles a full disk.

namespace platform {

// Ignores SIGXFSZ when its action is still the default; a handler or an
// "ignore" that the process (or a host that loaded the plug-in) chose is
// left alone. Every program calls it first thing, and the plug-in when it
// initialises.
void FailWritesPastFileSizeLimit();

}  // namespace platform
