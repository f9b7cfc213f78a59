// Helpers shared by the tests: scratch folders and registry keys that clean
// up after themselves, file and resource contents, and a watcher that
// answers the modal windows the code under test opens.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "res/resource_ids.h"
#include "support/wait_until.h"

// A new, empty folder under `base` (ending with a backslash; by default the
// temporary folder); removed with everything in it (read-only files
// included) when the object goes, after the current directory has been moved
// out of it.
class TempFolder {
  public:
    explicit TempFolder(const std::string& base = "");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending with a backslash.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

  private:
    std::string path_;
};

// A folder at a fixed place below a system folder (a CSIDL_* value), made
// with the folders above it that were missing; what was made is removed
// again, with everything in it, when the object goes.
class MadeFolder {
  public:
    MadeFolder(int systemFolder, const std::string& relative);
    ~MadeFolder();
    MadeFolder(const MadeFolder&) = delete;
    MadeFolder& operator=(const MadeFolder&) = delete;

    // The folder, without a final backslash.
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
    std::string made_;  // the first folder on the path that was missing
};

// Removes `path` and everything below it, after moving the current directory
// out of it (code under test may have entered it, and a folder that is the
// current directory cannot be removed).
void RemoveTree(const std::string& path);

// HKEY_LOCAL_MACHINE\Software has one view for 32-bit programs and one for
// 64-bit ones (the other keys the program uses are shared): this build's own
// view, where the program under test reads and writes, and the other one.
constexpr REGSAM kOwnView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
constexpr REGSAM kOtherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;

// Deletes root\path with everything below it, in the given view.
void DeleteKeyTree(HKEY root, const std::string& path, REGSAM view = 0);

// A registry key path that no other test uses, under `parent`. The key tree
// is deleted from every given root, in both views, when the object goes.
class ScratchKey {
  public:
    explicit ScratchKey(const std::string& parent, std::vector<HKEY> roots = {HKEY_CURRENT_USER});
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
    std::vector<HKEY> roots_;
};

// Puts a fixed registry key of the program back as it was: when the key (or
// an ancestor) did not exist, the created part is deleted at the end;
// otherwise its whole tree is put back: subkeys created meanwhile are
// deleted, and every key that existed holds the values it held at
// construction again. With `Removed`, the test starts without the key, so
// that it does not depend on what an earlier run (a manual installation in
// the same Wine prefix) left there.
class RegistryRestorer {
  public:
    enum Start { AsFound, Removed };
    RegistryRestorer(HKEY root, const std::string& path, Start start = AsFound, REGSAM view = 0);
    ~RegistryRestorer();
    RegistryRestorer(const RegistryRestorer&) = delete;
    RegistryRestorer& operator=(const RegistryRestorer&) = delete;

  private:
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    struct Key {
        std::string name;
        std::vector<Value> values;
        std::vector<Key> subkeys;
    };
    Key Snapshot(HKEY parent, const std::string& name) const;
    void Restore(HKEY parent, const Key& saved) const;

    HKEY root_;
    REGSAM view_;
    std::string createdPart_;  // the first missing key on the path, if any
    Key saved_;                // the tree as it was, when it existed
};

// The display scale of this program's Wine session, which every program of
// the session runs at (wine-run.sh with WINE_RUN_DPI starts one at a scale).
UINT SessionDpi();

// Registry writers for test set-up, in this build's view unless told; each
// fails the test when the call fails.
void SetStringValue(HKEY root, const std::string& key, const std::string& name,
                    const std::string& data, DWORD type = REG_SZ, REGSAM view = 0);
void SetBinaryValue(HKEY root, const std::string& key, const std::string& name,
                    const std::vector<BYTE>& data, DWORD type = REG_BINARY, REGSAM view = 0);
// The data of a value, or nothing when it is missing.
bool ReadBinaryValue(HKEY root, const std::string& key, const std::string& name,
                     std::vector<BYTE>* data, DWORD* type = nullptr, REGSAM view = 0);
bool KeyExists(HKEY root, const std::string& key, REGSAM view = 0);

// A path in the form the program lists folders in: title case, ending with a
// backslash. For the plain ASCII paths of the tests.
std::string Canonical(std::string path);

// `text` `count` times over: long names in any script.
inline std::string Repeat(const std::string& text, int count) {
    std::string repeated;
    while (count-- > 0) repeated += text;
    return repeated;
}

std::vector<char> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<char>& bytes);
bool FileExists(const std::string& path);
// The names of what `folder` (ending with a backslash) holds, sorted.
std::vector<std::string> FolderNames(const std::string& folder);

// The bytes of a payload resource (or its digest) of this test program.
std::vector<char> PayloadBytes(const char* name, WORD type = RT_PAYLOAD);

// Processes the calling thread's pending messages.
void PumpMessages();

// Waits, on a thread of its own, for a visible top-level window of this
// process whose class is `className` (the dialog class when empty), then
// hands it to `answer`, which reads and dismisses it. Joins on destruction.
class ModalWatcher {
  public:
    using Answer = std::function<void(HWND window)>;
    explicit ModalWatcher(Answer answer, const char* className = "#32770");
    ~ModalWatcher();
    ModalWatcher(const ModalWatcher&) = delete;
    ModalWatcher& operator=(const ModalWatcher&) = delete;

    // Whether a window was found and answered.
    bool Answered() const { return answered_; }

  private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> answered_{false};
    std::thread thread_;
};

// A program started as a separate process; ended by force if still running
// when the object goes.
class ChildProcess {
  public:
    explicit ChildProcess(const std::string& commandLine);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return started_; }
    // The exit code, or -1 when the process still runs after `wait` ms.
    long ExitCode(DWORD wait) const;
    // Whether it waits for input, as a GUI program does once started, within
    // `wait` ms.
    bool WaitForIdle(DWORD wait) const { return WaitForInputIdle(info_.hProcess, wait) == 0; }
    // Its visible dialog (class #32770; message boxes are of it too) other
    // than `except`, waiting up to `wait` ms; or null.
    HWND Dialog(DWORD wait, HWND except = nullptr) const;
    // Whether it has a module loaded whose path holds `part` (any case).
    bool HasModule(const char* part) const;

  private:
    bool started_ = false;
    PROCESS_INFORMATION info_{};
};

// The folder of this program, ending with a backslash. Inline, so that the
// benchmarks, which link none of the tests' support, have it too.
inline std::string OwnFolder() {
    char own[MAX_PATH];
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    std::string path = own;
    return path.substr(0, path.find_last_of('\\') + 1);
}

// Posts a key press and release, as typed while `window` has the focus.
void PressKey(HWND window, WPARAM key);

// The text of a message box, of this process or another.
std::string MessageBoxText(HWND box);
