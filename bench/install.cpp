// Times the installation of the payload's files (the presets left out) into
// a folder that already holds earlier versions, with staging, flushing,
// backups and the final moves, beside a plain write of the same bytes over
// the same files, with and without a flush; the check of the whole payload
// against its digests that comes first (bcrypt.dll loaded each time, as at
// each installation); and the two ways of keeping an earlier file, a hard
// link and a copy. Runs interleave; prints the minimum and the median of
// each. Removes its folder.
#include <stdio.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "common/bounded_text.h"
#include "common/handles.h"
#include "payload/payload_digest.h"
#include "payload/payload_install.h"

namespace {

constexpr int kRuns = 21;

struct Figures {
    const char* what;
    std::vector<double> ms;
};

// What the installation did before it was made one unit: open, write, close.
bool PlainWrite(const InstallUnit& unit, bool flush) {
    for (int i = 0; i < unit.count; ++i) {
        std::string path = std::string(DestinationFolder) + unit.items[i].name;
        KernelHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file ||
            !WriteFile(file.Get(), unit.items[i].bytes, unit.items[i].size, &written, nullptr))
            return false;
        if (flush && !FlushFileBuffers(file.Get())) return false;
    }
    return true;
}

void Print(Figures& figures) {
    std::sort(figures.ms.begin(), figures.ms.end());
    printf("  %-44s min %7.2f ms   median %7.2f ms\n", figures.what, figures.ms.front(),
           figures.ms[figures.ms.size() / 2]);
}

}  // namespace

int main() {
    char temporary[MAX_PATH];
    GetTempPathA(MAX_PATH, temporary);
    std::string folder =
        std::string(temporary) + "pastel-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CopyText(DestinationFolder, folder.c_str());

    ResetFolderTables();
    AddExclusion("PresetsPastels");
    InstallUnit unit;
    if (!CollectPayload(GetModuleHandleA(nullptr), &unit) || !PlainWrite(unit, false)) {
        printf("the payload could not be collected or written\n");
        return 1;
    }
    DWORD bytes = 0;
    for (int i = 0; i < unit.count; ++i) bytes += unit.items[i].size;

    std::string plugIn = folder + unit.items[0].name;
    std::string kept = plugIn + ".bench";
    Figures check{"checking the payload against its digests", {}};
    Figures install{"installation as one unit", {}};
    Figures plain{"plain write", {}};
    Figures flushed{"plain write, flushed", {}};
    Figures link{"keeping the plug-in: hard link", {}};
    Figures copy{"keeping the plug-in: copy", {}};
    bool failed = false;
    for (int run = 0; run < kRuns && !failed; ++run) {
        double start = NowMs();
        failed = !VerifyPayload(GetModuleHandleA(nullptr), &unit.failure);
        check.ms.push_back(NowMs() - start);

        start = NowMs();
        failed = !InstallPayload(&unit) || failed;
        install.ms.push_back(NowMs() - start);

        start = NowMs();
        failed = !PlainWrite(unit, false) || failed;
        plain.ms.push_back(NowMs() - start);

        start = NowMs();
        failed = !PlainWrite(unit, true) || failed;
        flushed.ms.push_back(NowMs() - start);

        start = NowMs();
        failed = !CreateHardLinkA(kept.c_str(), plugIn.c_str(), nullptr) || failed;
        link.ms.push_back(NowMs() - start);
        DeleteFileA(kept.c_str());

        start = NowMs();
        failed = !CopyFileA(plugIn.c_str(), kept.c_str(), TRUE) || failed;
        copy.ms.push_back(NowMs() - start);
        DeleteFileA(kept.c_str());
    }

    if (failed) {
        printf("a run failed (step %d, error %lu)\n", static_cast<int>(unit.failure.step),
               unit.failure.error);
    } else {
        printf("%d files, %lu bytes, over earlier files; %d runs each, interleaved:\n", unit.count,
               bytes, kRuns);
        for (Figures* figures : {&check, &install, &plain, &flushed, &link, &copy}) Print(*figures);
    }
    for (int i = 0; i < unit.count; ++i)
        DeleteFileA((std::string(DestinationFolder) + unit.items[i].name).c_str());
    RemoveDirectoryA(folder.c_str());
    return failed ? 1 : 0;
}
