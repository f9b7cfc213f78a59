#include "common/themed_controls.h"

#include "res/resource_ids.h"

namespace {

// Made on first use and kept until the process ends; one thread uses it.
HANDLE ThemedContext = nullptr;

}  // namespace

__attribute__((noinline)) ThemedControls::ThemedControls() {
    if (!ThemedContext) {
        ACTCTXA request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.hModule = GetModuleHandleA(nullptr);
        request.lpResourceName = MAKEINTRESOURCEA(IDR_THEMED_MANIFEST);
        ThemedContext = CreateActCtxA(&request);
    }
    active_ = ThemedContext != INVALID_HANDLE_VALUE && ActivateActCtx(ThemedContext, &cookie_);
}

__attribute__((noinline)) ThemedControls::~ThemedControls() {
    if (active_) DeactivateActCtx(0, cookie_);
}
