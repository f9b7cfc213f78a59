#include "common/com_apartment.h"

#include <objbase.h>

namespace {

bool Joined;

}  // namespace

void JoinApartment() {
    if (!Joined) Joined = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

void LeaveApartment() {
    if (Joined) CoUninitialize();
    Joined = false;
}
