#include "support/test_support.h"

#include <gtest/gtest.h>

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

#include <shlwapi.h>
#include <tlhelp32.h>

#include "common/handles.h"
#include "res/resource_ids.h"

namespace {

std::string UniqueName(const char* stem) {
    static LONG counter;
    char name[96];
    snprintf(name, sizeof name, "%s-%lu-%lu-%ld", stem, GetCurrentProcessId(), GetTickCount(),
             InterlockedIncrement(&counter));
    return name;
}

}  // namespace

TempFolder::TempFolder(const std::string& base) {
    char temporary[MAX_PATH];
    GetTempPathA(MAX_PATH, temporary);
    path_ = (base.empty() ? std::string(temporary) : base) + UniqueName("pastel-test") + "\\";
    EXPECT_TRUE(CreateDirectoryA(path_.c_str(), nullptr)) << path_;
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

MadeFolder::MadeFolder(int systemFolder, const std::string& relative) {
    char base[MAX_PATH] = "";
    EXPECT_EQ(S_OK, SHGetFolderPathA(nullptr, systemFolder, nullptr, SHGFP_TYPE_CURRENT, base));
    path_ = std::string(base) + "\\" + relative;
    for (size_t end = strlen(base); end != std::string::npos;) {
        end = path_.find('\\', end + 1);
        std::string level = path_.substr(0, end);
        if (CreateDirectoryA(level.c_str(), nullptr) && made_.empty()) made_ = level;
    }
}

MadeFolder::~MadeFolder() {
    if (!made_.empty()) RemoveTree(made_);
}

void RemoveTree(const std::string& path) {
    std::string folder = path;
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    char current[3 * MAX_PATH] = "";  // a path in UTF-8 takes up to three bytes a character
    GetCurrentDirectoryA(sizeof current, current);
    std::string inside = std::string(current) + "\\";
    if (_strnicmp(inside.c_str(), folder.c_str(), folder.size()) == 0) {
        char temporary[MAX_PATH];
        GetTempPathA(MAX_PATH, temporary);
        SetCurrentDirectoryA(temporary);
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = folder + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(folder.c_str());
}

void DeleteKeyTree(HKEY root, const std::string& path, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) == ERROR_SUCCESS) {
        RegDeleteTreeA(key, nullptr);
        RegCloseKey(key);
    }
    RegDeleteKeyExA(root, path.c_str(), view, 0);
}

ScratchKey::ScratchKey(const std::string& parent, std::vector<HKEY> roots)
    : path_(parent + "\\" + UniqueName("pastel-test")), roots_(std::move(roots)) {}

ScratchKey::~ScratchKey() {
    for (HKEY root : roots_)
        for (REGSAM view : {kOwnView, kOtherView}) DeleteKeyTree(root, path_, view);
}

namespace {

// The names that `next` (index, buffer, size in and out) gives from index 0
// on, until it fails.
template <typename Next>
std::vector<std::string> EnumeratedNames(Next next) {
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameSize = sizeof name;
        if (next(index, name, &nameSize) != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> SubkeyNames(HKEY key) {
    return EnumeratedNames([key](DWORD index, char* name, DWORD* size) {
        return RegEnumKeyExA(key, index, name, size, nullptr, nullptr, nullptr, nullptr);
    });
}

std::vector<std::string> ValueNames(HKEY key) {
    return EnumeratedNames([key](DWORD index, char* name, DWORD* size) {
        return RegEnumValueA(key, index, name, size, nullptr, nullptr, nullptr, nullptr);
    });
}

}  // namespace

RegistryRestorer::RegistryRestorer(HKEY root, const std::string& path, Start start, REGSAM view)
    : root_(root), view_(view) {
    size_t end = 0;
    while (end != std::string::npos) {
        end = path.find('\\', end + 1);
        std::string prefix = path.substr(0, end);
        if (!KeyExists(root, prefix, view)) {
            createdPart_ = prefix;
            return;
        }
    }
    saved_ = Snapshot(root, path);
    if (start == Removed) DeleteKeyTree(root, path, view);
}

RegistryRestorer::Key RegistryRestorer::Snapshot(HKEY parent, const std::string& name) const {
    Key saved{name, {}, {}};
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ | view_, &key) != ERROR_SUCCESS)
        return saved;
    for (const std::string& valueName : ValueNames(key)) {
        DWORD type = 0;
        DWORD size = 0;
        RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size);
        Value value{valueName, type, std::vector<BYTE>(size)};
        RegQueryValueExA(key, valueName.c_str(), nullptr, &type, value.data.data(), &size);
        saved.values.push_back(std::move(value));
    }
    for (const std::string& subkey : SubkeyNames(key))
        saved.subkeys.push_back(Snapshot(key, subkey));
    RegCloseKey(key);
    return saved;
}

void RegistryRestorer::Restore(HKEY parent, const Key& saved) const {
    HKEY key = nullptr;
    if (RegCreateKeyExA(parent, saved.name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view_, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    for (const std::string& name : SubkeyNames(key)) {
        bool existed = false;
        for (const Key& subkey : saved.subkeys)
            existed = existed || lstrcmpiA(subkey.name.c_str(), name.c_str()) == 0;
        if (!existed) DeleteKeyTree(key, name, view_);
    }
    for (const std::string& name : ValueNames(key)) RegDeleteValueA(key, name.c_str());
    for (const Value& value : saved.values)
        RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
    for (const Key& subkey : saved.subkeys) Restore(key, subkey);
    RegCloseKey(key);
}

RegistryRestorer::~RegistryRestorer() {
    if (!createdPart_.empty()) {
        DeleteKeyTree(root_, createdPart_, view_);
        return;
    }
    Restore(root_, saved_);
}

void SetStringValue(HKEY root, const std::string& key, const std::string& name,
                    const std::string& data, DWORD type, REGSAM view) {
    std::vector<BYTE> bytes(data.begin(), data.end());
    bytes.push_back(0);
    SetBinaryValue(root, key, name, bytes, type, view);
}

void SetBinaryValue(HKEY root, const std::string& key, const std::string& name,
                    const std::vector<BYTE>& data, DWORD type, REGSAM view) {
    HKEY handle = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS | view, nullptr, &handle, nullptr))
        << key;
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(handle, name.c_str(), 0, type, data.data(),
                                            static_cast<DWORD>(data.size())))
        << key << " " << name;
    RegCloseKey(handle);
}

bool ReadBinaryValue(HKEY root, const std::string& key, const std::string& name,
                     std::vector<BYTE>* data, DWORD* type, REGSAM view) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    DWORD valueType = 0;
    LONG status = RegQueryValueExA(handle, name.c_str(), nullptr, &valueType, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        data->resize(size);
        status = RegQueryValueExA(handle, name.c_str(), nullptr, &valueType, data->data(), &size);
    }
    RegCloseKey(handle);
    if (type) *type = valueType;
    return status == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const std::string& key, REGSAM view) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

std::string Canonical(std::string path) {
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        bool afterLetter = i > 0 && isalpha(static_cast<unsigned char>(path[i - 1]));
        path[i] = static_cast<char>(afterLetter ? tolower(c) : toupper(c));
    }
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

std::vector<char> ReadWholeFile(const std::string& path) {
    std::vector<char> bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return bytes;
    char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(file);
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::vector<char>& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, file) << path;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<char> PayloadBytes(const char* name, WORD type) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, name, MAKEINTRESOURCEA(type));
    if (!resource) return {};
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    return std::vector<char>(bytes, bytes + SizeofResource(module, resource));
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

namespace {

// A visible top-level window of a process, of a class, other than `except`.
struct WindowSearch {
    DWORD process;
    const char* className;
    HWND except;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || window == search->except || !IsWindowVisible(window))
        return TRUE;
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, search->className) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

ModalWatcher::ModalWatcher(Answer answer, const char* className) {
    std::string wanted = className;
    thread_ = std::thread([this, answer, wanted] {
        while (!stop_) {
            WindowSearch search{GetCurrentProcessId(), wanted.c_str(), nullptr, nullptr};
            EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                answer(search.found);
                answered_ = true;
                return;
            }
            Sleep(10);
        }
    });
}

ModalWatcher::~ModalWatcher() {
    stop_ = true;
    thread_.join();
}

std::string MessageBoxText(HWND box) {
    // The text is the box's static control 0xFFFF. Only the wide-character
    // message is translated when the box belongs to another process.
    wchar_t text[4096] = L"";
    SendMessageW(GetDlgItem(box, 0xFFFF), WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    char narrow[8192] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

ChildProcess::ChildProcess(const std::string& commandLine) {
    std::string command = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &info_) != FALSE;
}

ChildProcess::~ChildProcess() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
}

long ChildProcess::ExitCode(DWORD wait) const {
    if (!started_ || WaitForSingleObject(info_.hProcess, wait) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<long>(code);
}

bool ChildProcess::HasModule(const char* part) const {
    KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, info_.dwProcessId));
    if (!snapshot) return false;
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    for (BOOL more = Module32First(snapshot.Get(), &module); more;
         more = Module32Next(snapshot.Get(), &module))
        if (StrStrIA(module.szExePath, part)) return true;
    return false;
}

HWND ChildProcess::Dialog(DWORD wait, HWND except) const {
    WindowSearch search{info_.dwProcessId, "#32770", except, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
            return search.found || !started_ || ExitCode(0) != -1;
        },
        wait);
    return search.found;
}

void PressKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

UINT SessionDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}
