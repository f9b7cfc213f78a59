// Times the install dialog as a user meets it. From outside, over several
// starts of the built setup.exe (or of the one SETUP_EXE names, to compare
// two builds): from just before CreateProcess to the dialog's window
// appearing, to its skin painted on the screen as the artwork says, and to
// the whole client area settled. Then the status text under the real
// pointer, across processes: from the pointer's move to the white text on
// the screen, and to the text wiped again. Last, the same update inside this
// process: the dialog's own skin set-up on a popup window, a mouse move
// offered to its real controls through the skin.
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/dialog_skin.h"
#include "app/entry.h"
#include "bench/bench_support.h"
#include "e2e/dialog_look.h"
#include "e2e/pointer_input.h"
#include "e2e/setup_exe.h"
#include "skin/skin_context.h"
#include "support/screen_capture.h"

namespace {

constexpr int kDefaultRuns = 9;
constexpr DWORD kStageTimeout = 20000;
// The whole client area counts as settled once it has not changed for this
// long; the paint cycle pauses 50 ms before drawing.
constexpr double kSettleMs = 500;
constexpr int kHoverRounds = 20;
constexpr int kInProcessMoves = 400;

struct Figures {
    std::vector<double> values;

    void Add(double value) { values.push_back(value); }
    void Print(const char* name, const char* unit = "ms") const {
        if (values.empty()) {
            printf("  %-44s no figures\n", name);
            return;
        }
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        printf("  %-44s min %9.3f  median %9.3f  max %9.3f %s  (%zu)\n", name, sorted.front(),
               sorted[sorted.size() / 2], sorted.back(), unit, sorted.size());
    }
};

// The visible dialog of a process, or null.
HWND FindDialogOf(DWORD process) {
    for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", nullptr); window;
         window = FindWindowExA(nullptr, window, "#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// Spins (yielding) until `ready` says yes; false after kStageTimeout ms.
template <typename Ready>
bool SpinUntil(Ready ready) {
    double start = NowMs();
    while (!ready()) {
        if (NowMs() - start > kStageTimeout) return false;
        Sleep(0);
    }
    return true;
}

// One start of setup.exe, ended with Escape.
class SetupRun {
  public:
    bool Start() {
        ParkPointer();
        std::string command = "\"" + SetupExePath() + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started = NowMs();
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info_))
            return false;
        created = NowMs();
        running_ = true;
        return true;
    }

    bool WaitForWindow() {
        bool found =
            SpinUntil([&] { return (dialog = FindDialogOf(info_.dwProcessId)) != nullptr; });
        windowShown = NowMs();
        return found;
    }

    bool WaitForSkin() {
        static const Pixels look = StartLook(true, true, true);
        static const std::vector<RECT> areas = StartLookAreas();
        bool painted = SpinUntil([&] {
            Pixels shot = CaptureClient(dialog, kWidth, kHeight);
            return !shot.Empty() && Differences(shot, look, areas) == 0;
        });
        skinPainted = NowMs();
        return painted;
    }

    // The first screenshot equal to `settled`.
    bool WaitForSettled(const Pixels& settled) {
        bool equal =
            SpinUntil([&] { return CaptureClient(dialog, kWidth, kHeight).data == settled.data; });
        allSettled = NowMs();
        return equal;
    }

    // What the client area shows once it has stopped changing.
    Pixels Settle() {
        Pixels last = CaptureClient(dialog, kWidth, kHeight);
        double unchangedSince = NowMs();
        while (NowMs() - unchangedSince < kSettleMs) {
            Sleep(10);
            Pixels shot = CaptureClient(dialog, kWidth, kHeight);
            if (shot.data != last.data) {
                last = shot;
                unchangedSince = NowMs();
            }
        }
        return last;
    }

    // Escape, and the wait for the process to end.
    void End() {
        if (!running_) return;
        if (dialog) {
            PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageA(dialog, WM_KEYUP, VK_ESCAPE, 0xC0000001);
        }
        if (WaitForSingleObject(info_.hProcess, kStageTimeout) != WAIT_OBJECT_0)
            TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, kStageTimeout);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
        running_ = false;
    }

    ~SetupRun() { End(); }

    HWND dialog = nullptr;
    double started = 0, created = 0, windowShown = 0, skinPainted = 0, allSettled = 0;

  private:
    PROCESS_INFORMATION info_{};
    bool running_ = false;
};

double CaptureCost() {
    HWND desktop = GetDesktopWindow();
    double start = NowMs();
    for (int i = 0; i < 50; ++i) CaptureClient(desktop, kWidth, kHeight);
    return (NowMs() - start) / 50;
}

bool TimeStarts(int runs) {
    printf("Start of setup.exe, from just before CreateProcess:\n");
    Pixels settled;
    {
        SetupRun first;
        if (!first.Start() || !first.WaitForWindow() || !first.WaitForSkin()) {
            printf("  setup.exe did not show its dialog\n");
            return false;
        }
        settled = first.Settle();
        printf("  first (cold) run: window %.1f ms, skin painted %.1f ms\n",
               first.windowShown - first.started, first.skinPainted - first.started);
    }
    Figures create, window, skin, all, exitAfterEscape;
    for (int run = 0; run < runs; ++run) {
        SetupRun setup;
        if (!setup.Start() || !setup.WaitForWindow() || !setup.WaitForSkin() ||
            !setup.WaitForSettled(settled)) {
            printf("  run %d did not reach the settled dialog\n", run + 1);
            continue;
        }
        create.Add(setup.created - setup.started);
        window.Add(setup.windowShown - setup.started);
        skin.Add(setup.skinPainted - setup.started);
        all.Add(setup.allSettled - setup.started);
        double escape = NowMs();
        setup.End();
        exitAfterEscape.Add(NowMs() - escape);
    }
    create.Print("CreateProcess returned");
    window.Print("dialog window visible");
    skin.Print("skin painted as the artwork says");
    all.Print("whole client area as settled");
    exitAfterEscape.Print("process ended, after Escape");
    return true;
}

// The status area of the screen, read alone: a small capture polls faster.
Pixels StatusShot(HWND dialog) {
    POINT origin = {kStatusArea.left, kStatusArea.top};
    ClientToScreen(dialog, &origin);
    return CaptureScreen(origin.x, origin.y, kStatusArea.right - kStatusArea.left,
                         kStatusArea.bottom - kStatusArea.top);
}

void TimeHoverAcrossProcesses() {
    printf("Status text under the real pointer, setup.exe drawing, this process watching:\n");
    SetupRun setup;
    if (!setup.Start() || !setup.WaitForWindow() || !setup.WaitForSkin()) {
        printf("  setup.exe did not show its dialog\n");
        return;
    }
    Pixels wiped = Crop(Art().background, kStatusArea.left, kStatusArea.top, kStatusArea.right,
                        kStatusArea.bottom);
    RECT whole = {0, 0, wiped.width, wiped.height};
    POINT over = kOverInstall;
    POINT away = kNowhere;
    ClientToScreen(setup.dialog, &over);
    ClientToScreen(setup.dialog, &away);
    MovePointer(away.x, away.y);
    Figures shown, cleared;
    for (int round = 0; round < kHoverRounds; ++round) {
        double start = NowMs();
        SetCursorPos(over.x, over.y);
        if (SpinUntil([&] { return CountColour(StatusShot(setup.dialog), whole, kWhite) > 0; }))
            shown.Add(NowMs() - start);
        start = NowMs();
        SetCursorPos(away.x, away.y);
        if (SpinUntil(
                [&] { return CountDifferences(StatusShot(setup.dialog), wiped, whole) == 0; }))
            cleared.Add(NowMs() - start);
    }
    shown.Print("pointer onto the install button: text shown");
    cleared.Print("pointer off it: text wiped");
}

void PumpPending() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// The dialog's skin set-up on a plain popup window of this process: the
// real background, controls and layout, without the dialog manager.
void TimeHoverInProcess() {
    printf("Status text update inside one process, a mouse move through the skin's dispatch:\n");
    HWND window = CreateBenchWindow("DialogStartBench", kWidth, kHeight);
    if (!window) {
        printf("  no window\n");
        return;
    }
    static ControlHost host;
    AppInstance = GetModuleHandleA(nullptr);
    MainSkin = new SkinContext(&host, AppInstance);
    SetUpSkin(window);
    PumpPending();

    LPARAM over = MAKELPARAM(kOverInstall.x, kOverInstall.y);
    LPARAM away = MAKELPARAM(kNowhere.x, kNowhere.y);
    Figures shown, wiped, unchanged;
    for (int move = 0; move < kInProcessMoves; ++move) {
        bool onto = move % 2 == 0;
        double start = NowMs();
        DispatchSkinMouse(window, WM_MOUSEMOVE, 0, onto ? over : away);
        (onto ? shown : wiped).Add((NowMs() - start) * 1000);
        // A further move on the same side changes nothing.
        start = NowMs();
        DispatchSkinMouse(window, WM_MOUSEMOVE, 0, onto ? over : away);
        unchanged.Add((NowMs() - start) * 1000);
    }
    shown.Print("move onto the install button (text drawn)", "us");
    wiped.Print("move off it (text wiped)", "us");
    unchanged.Print("move that changes nothing", "us");

    MainSkin->Destroy();
    delete MainSkin;
    MainSkin = nullptr;
    DestroyWindow(window);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? atoi(argv[1]) : kDefaultRuns;
    if (runs < 1) runs = kDefaultRuns;
    if (Art().background.Empty()) {
        printf("no artwork in this program\n");
        return 1;
    }
    printf("One %d x %d screenshot takes %.3f ms here: the resolution of the outside figures.\n\n",
           kWidth, kHeight, CaptureCost());
    if (!TimeStarts(runs)) return 1;
    printf("\n");
    TimeHoverAcrossProcesses();
    printf("\n");
    TimeHoverInProcess();
    return 0;
}
