// Which running program has a file loaded, to name it to the user.
#pragma once

#include <stddef.h>

// Puts the name of a running program (other than this one) that has a
// module loaded from `path` into `name` (`size` bytes): the title of its main
// window, or else its executable's name. Returns false, leaving `name` as it
// was, when no program has, or the name does not fit. Looks through the
// module list of every process the caller may read (the system's Restart
// Manager does not see this under every platform). A module is known by the
// path it was loaded from, even after the file has been renamed: `isTheFile`
// says whether the loaded image is the file at `path` now, as far as its
// headers tell (false when that file cannot be read).
bool FindProgramHolding(const char* path, char* name, size_t size, bool* isTheFile);
