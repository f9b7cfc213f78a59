#include "support/test_support.h"

#include <gtest/gtest.h>

#include <stdio.h>

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

TempFolder::TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    path_ = std::string(base) + UniqueName("pastel-test") + "\\";
    EXPECT_TRUE(CreateDirectoryA(path_.c_str(), nullptr)) << path_;
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
    std::string folder = path;
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
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

ScratchKey::ScratchKey(const std::string& parent, std::vector<HKEY> roots)
    : path_(parent + "\\" + UniqueName("pastel-test")), roots_(std::move(roots)) {}

ScratchKey::~ScratchKey() {
    for (HKEY root : roots_) RegDeleteTreeA(root, path_.c_str()), RegDeleteKeyA(root, path_.c_str());
}

RegistryRestorer::RegistryRestorer(HKEY root, const std::string& path) : root_(root), path_(path) {
    size_t end = 0;
    while (end != std::string::npos) {
        end = path.find('\\', end + 1);
        std::string prefix = path.substr(0, end);
        if (!KeyExists(root, prefix)) {
            createdPart_ = prefix;
            return;
        }
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameSize = sizeof name;
        DWORD type = 0;
        DWORD dataSize = 0;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, nullptr, &dataSize) !=
            ERROR_SUCCESS)
            break;
        Value value {name, type, std::vector<BYTE>(dataSize)};
        RegQueryValueExA(key, name, nullptr, &type, value.data.data(), &dataSize);
        values_.push_back(std::move(value));
    }
    RegCloseKey(key);
}

RegistryRestorer::~RegistryRestorer() {
    if (!createdPart_.empty()) {
        RegDeleteTreeA(root_, createdPart_.c_str());
        RegDeleteKeyA(root_, createdPart_.c_str());
        return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameSize = sizeof name;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    for (const std::string& name : names) RegDeleteValueA(key, name.c_str());
    for (const Value& value : values_)
        RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
    RegCloseKey(key);
}

void SetStringValue(HKEY root, const std::string& key, const std::string& name,
                    const std::string& data, DWORD type) {
    std::vector<BYTE> bytes(data.begin(), data.end());
    bytes.push_back(0);
    SetBinaryValue(root, key, name, bytes, type);
}

void SetBinaryValue(HKEY root, const std::string& key, const std::string& name,
                    const std::vector<BYTE>& data, DWORD type) {
    HKEY handle = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &handle, nullptr))
        << key;
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(handle, name.c_str(), 0, type, data.data(),
                                            static_cast<DWORD>(data.size())))
        << key << " " << name;
    RegCloseKey(handle);
}

bool ReadBinaryValue(HKEY root, const std::string& key, const std::string& name,
                     std::vector<BYTE>* data, DWORD* type) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
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

bool KeyExists(HKEY root, const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

std::vector<char> ReadWholeFile(const std::string& path) {
    std::vector<char> bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return bytes;
    char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
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

std::vector<char> PayloadBytes(const char* name) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, name, MAKEINTRESOURCEA(RT_PAYLOAD));
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

struct WindowSearch {
    const char* className;
    HWND found;
};

BOOL CALLBACK FindOwnWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
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
            WindowSearch search {wanted.c_str(), nullptr};
            EnumWindows(FindOwnWindow, reinterpret_cast<LPARAM>(&search));
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

std::string WindowText(HWND window) {
    char text[4096] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string MessageBoxText(HWND box) {
    // The message box's text is its static control 0xFFFF.
    return WindowText(GetDlgItem(box, 0xFFFF));
}

ChildProcess::ChildProcess(const std::string& commandLine) {
    std::string command = commandLine;
    STARTUPINFOA startup {};
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

namespace {

struct DialogSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindProcessDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (process != search->process || !IsWindowVisible(window) ||
        lstrcmpA(className, "#32770") != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND ChildProcess::Dialog(DWORD wait) const {
    DWORD start = GetTickCount();
    while (started_) {
        DialogSearch search {info_.dwProcessId, nullptr};
        EnumWindows(FindProcessDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (GetTickCount() - start >= wait || ExitCode(0) != -1) break;
        Sleep(20);
    }
    return nullptr;
}

std::string OwnFolder() {
    char own[MAX_PATH];
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    std::string path = own;
    return path.substr(0, path.find_last_of('\\') + 1);
}

void PressKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}
