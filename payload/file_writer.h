#pragma once

#include <windows.h>

#include "payload/install_failure.h"

// Writes `size` bytes as `folder` + `name` (`folder` ends with a backslash).
// The bytes go to a temporary file in the same folder, which then replaces
// the target in one move, so an existing file of that name is either replaced
// whole or left exactly as it was. On failure the temporary file is removed,
// `failure` gets the step and the error code, and false is returned.
bool WriteFileReplacing(const char* folder, const char* name, const void* bytes, DWORD size,
                        InstallFailure* failure);
