#include "payload/payload_digest.h"

#include <bcrypt.h>
#include <string.h>

#include "common/bounded_text.h"
#include "common/handles.h"
#include "common/system_function.h"
#include "payload/file_name.h"
#include "payload/resource_bytes.h"
#include "res/resource_ids.h"

namespace {

constexpr DWORD kDigestSize = 32;

// The calls of CNG that the check makes, by their index.
const char* const kCalls[] = {"BCryptOpenAlgorithmProvider",
                              "BCryptCreateHash",
                              "BCryptHashData",
                              "BCryptFinishHash",
                              "BCryptDestroyHash",
                              "BCryptCloseAlgorithmProvider"};
enum CallIndex { kOpen, kCreate, kHash, kFinish, kDestroy, kClose, kCallCount };

// SHA-256 from the system's CNG. bcrypt.dll is loaded from the system folder
// only when an installation asks, so that start-up does not pay for it.
class Sha256 {
  public:
    ~Sha256() {
        if (provider_) Call<decltype(&BCryptCloseAlgorithmProvider)>(kClose)(provider_, 0);
    }

    // False, with the platform's error, when CNG cannot be used.
    bool Load() {
        dll_.Reset(LoadSystemLibrary("bcrypt.dll"));
        for (int i = 0; i < kCallCount; ++i)
            if (!dll_ || !(calls_[i] = GetProcAddress(dll_.Get(), kCalls[i]))) return false;
        if (BCRYPT_SUCCESS(Call<decltype(&BCryptOpenAlgorithmProvider)>(kOpen)(
                &provider_, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
            return true;
        provider_ = nullptr;
        SetLastError(ERROR_NOT_SUPPORTED);
        return false;
    }

    // Puts the digest of `size` bytes into `digest` (kDigestSize bytes).
    bool Digest(const BYTE* bytes, DWORD size, BYTE* digest) const {
        BCRYPT_HASH_HANDLE hash = nullptr;
        bool done = BCRYPT_SUCCESS(Call<decltype(&BCryptCreateHash)>(kCreate)(
                        provider_, &hash, nullptr, 0, nullptr, 0, 0)) &&
                    BCRYPT_SUCCESS(Call<decltype(&BCryptHashData)>(kHash)(
                        hash, const_cast<BYTE*>(bytes), size, 0)) &&
                    BCRYPT_SUCCESS(
                        Call<decltype(&BCryptFinishHash)>(kFinish)(hash, digest, kDigestSize, 0));
        if (hash) Call<decltype(&BCryptDestroyHash)>(kDestroy)(hash);
        return done;
    }

  private:
    template <typename Function>
    Function Call(CallIndex index) const {
        return reinterpret_cast<Function>(calls_[index]);
    }

    LibraryHandle dll_;
    FARPROC calls_[kCallCount] = {};
    BCRYPT_ALG_HANDLE provider_ = nullptr;
};

struct PayloadCheck {
    Sha256 sha256;
    InstallFailure* failure;
};

// The resource-enumeration procedure of both types: a payload resource must
// match the digest of its name, a digest must have its payload resource
// (whose bytes the payload's pass checks). A part that is not as the build
// made it ends the pass.
BOOL CALLBACK CheckResource(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
    auto* check = reinterpret_cast<PayloadCheck*>(param);
    // Payload resources carry names, as the installation takes them.
    if (IS_INTRESOURCE(name)) return TRUE;
    DWORD size, digestSize;
    const BYTE* bytes = ResourceBytes(module, name, RT_PAYLOAD, &size);
    const BYTE* digest = ResourceBytes(module, name, RT_PAYLOAD_DIGEST, &digestSize);
    BYTE actual[kDigestSize];
    if (bytes && digest && digestSize == kDigestSize &&
        (type != MAKEINTRESOURCEA(RT_PAYLOAD) ||
         (check->sha256.Digest(bytes, size, actual) && !memcmp(actual, digest, kDigestSize))))
        return TRUE;
    if (CopyText(check->failure->file, name)) MapPayloadFileName(check->failure->file);
    return check->failure->Stop(InstallStep::DamagedResource, 0);
}

}  // namespace

bool VerifyPayload(HMODULE module, InstallFailure* failure) {
    PayloadCheck check{{}, failure};
    if (!check.sha256.Load()) {
        return failure->Stop(InstallStep::NoChecksum, GetLastError());
    }
    for (WORD type : {RT_PAYLOAD, RT_PAYLOAD_DIGEST})
        if (failure->step == InstallStep::None)
            EnumResourceNamesA(module, MAKEINTRESOURCEA(type), CheckResource,
                               reinterpret_cast<LONG_PTR>(&check));
    return failure->step == InstallStep::None;
}
