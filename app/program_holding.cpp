#include "app/program_holding.h"

#include <windows.h>

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

bool HasModule(DWORD process, const WCHAR* path) {
    KernelHandle snapshot(
        CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, process));
    if (!snapshot) return false;
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    for (BOOL more = Module32FirstW(snapshot.Get(), &module); more;
         more = Module32NextW(snapshot.Get(), &module))
        if (CompareStringOrdinal(module.szExePath, -1, path, -1, TRUE) == CSTR_EQUAL) return true;
    return false;
}

}  // namespace

bool FindProgramHolding(const char* path, char* name, size_t size) {
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH)) return false;
    KernelHandle processes(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!processes) return false;
    PROCESSENTRY32W process{};
    process.dwSize = sizeof process;
    for (BOOL more = Process32FirstW(processes.Get(), &process); more;
         more = Process32NextW(processes.Get(), &process)) {
        if (process.th32ProcessID == GetCurrentProcessId() ||
            !HasModule(process.th32ProcessID, wide))
            continue;
        MainWindowSearch search{process.th32ProcessID, nullptr};
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
        WCHAR title[128];
        if (!search.found || !GetWindowTextW(search.found, title, 128))
            lstrcpynW(title, process.szExeFile, 128);
        char narrow[512];
        return WideCharToMultiByte(CP_ACP, 0, title, -1, narrow, sizeof narrow, nullptr, nullptr) >
                   1 &&
               CopyText(name, size, narrow);
    }
    return false;
}
