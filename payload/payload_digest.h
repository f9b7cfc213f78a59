// Checks the payload against the SHA-256 digests that the build stored for
// it, so that a damaged copy of the program installs nothing.
#pragma once

#include <windows.h>

#include "payload/install_failure.h"

// Whether every named resource of type RT_PAYLOAD of `module` has a digest,
// a resource of type RT_PAYLOAD_DIGEST of the same name, that its bytes
// match, and every digest has its resource. Otherwise returns false with the
// failure's step DamagedResource and its file the mapped name of the first
// part found wrong; or, when the system's SHA-256 cannot be used, step
// NoChecksum with the platform's error. Writes nothing.
bool VerifyPayload(HMODULE module, InstallFailure* failure);
