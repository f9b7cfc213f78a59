#include "app/program_holding.h"

#include <windows.h>

#include <string.h>
#include <tlhelp32.h>

#include "common/bounded_text.h"
#include "common/handles.h"

namespace {

struct MainWindowSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<MainWindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window) || GetWindow(window, GW_OWNER) ||
        GetWindowTextLengthW(window) == 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

// Whether the image that `process` has loaded at `base` has the headers of the
// file now at `path`, up to the first fields of the optional header (ahead of
// the image base, which the loader may change): the DOS header and stub, the
// signature and the file header with its time stamp. A module's path
// survives a rename (an editor's plug-in moved aside), so the path alone does
// not make it the file there; a file that cannot be read is not taken for it.
bool IsLoadedImage(DWORD process, const BYTE* base, const WCHAR* path) {
    KernelHandle file(CreateFileW(path, GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    KernelHandle reader(OpenProcess(PROCESS_VM_READ, FALSE, process));
    BYTE bytes[2][512];
    DWORD read = 0;
    if (!file || !reader || !ReadFile(file.Get(), bytes[0], sizeof bytes[0], &read, nullptr) ||
        read < sizeof(IMAGE_DOS_HEADER))
        return false;
    LONG at = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes[0])->e_lfanew;
    DWORD end = static_cast<DWORD>(at) + 4 + sizeof(IMAGE_FILE_HEADER) + 16;
    return at > 0 && end <= read && ReadProcessMemory(reader.Get(), base, bytes[1], end, nullptr) &&
           memcmp(bytes[0], bytes[1], end) == 0;
}

// The module of `process` loaded from `path`, or null.
const BYTE* ModuleFrom(DWORD process, const WCHAR* path) {
    KernelHandle snapshot(
        CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, process));
    if (!snapshot) return nullptr;
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    for (BOOL more = Module32FirstW(snapshot.Get(), &module); more;
         more = Module32NextW(snapshot.Get(), &module))
        if (CompareStringOrdinal(module.szExePath, -1, path, -1, TRUE) == CSTR_EQUAL)
            return module.modBaseAddr;
    return nullptr;
}

}  // namespace

bool FindProgramHolding(const char* path, char* name, size_t size, bool* isTheFile) {
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH)) return false;
    KernelHandle processes(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!processes) return false;
    PROCESSENTRY32W process{};
    process.dwSize = sizeof process;
    for (BOOL more = Process32FirstW(processes.Get(), &process); more;
         more = Process32NextW(processes.Get(), &process)) {
        const BYTE* base = process.th32ProcessID == GetCurrentProcessId()
                               ? nullptr
                               : ModuleFrom(process.th32ProcessID, wide);
        if (!base) continue;
        MainWindowSearch search{process.th32ProcessID, nullptr};
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
        WCHAR title[128];
        if (!search.found || !GetWindowTextW(search.found, title, 128))
            lstrcpynW(title, process.szExeFile, 128);
        char narrow[512];
        *isTheFile = IsLoadedImage(process.th32ProcessID, base, wide);
        return WideCharToMultiByte(CP_ACP, 0, title, -1, narrow, sizeof narrow, nullptr, nullptr) >
                   1 &&
               CopyText(name, size, narrow);
    }
    return false;
}
