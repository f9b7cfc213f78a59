#include "app/install_messages.h"

#include "app/program_holding.h"
#include "common/bounded_text.h"
#include "common/themed_controls.h"
#include "payload/preset_values.h"

const char kSetupCaption[] = "Pastel Craft Plug-in Setup";

namespace {

// Long enough for every message with a folder of the longest length; a part
// that does not fit is left out rather than cut.
constexpr int kMessageSize = 2048;

const char kTryAgain[] = "then click Install again, or choose another folder.";
const char kTooLong[] = "The path is too long.";
const char kShorterPath[] = "Please choose a folder with a shorter path.";
const char kInUse[] = "The file is in use by another program.";
const char kCloseIt[] = "Close that program, ";
const char kFileInTheWay[] = "A file, not a folder, has this name.";
const char kBrowseToOne[] = "Choose another folder from the list, or browse to one.";
const char kDamaged[] = "The setup program may be damaged.";
const char kDownloadAgain[] = "Please download it again.";

// Why a step failed and what the user can do about it, for a step and an
// error (None and 0 match any); `thenTryAgain` appends kTryAgain, and
// `namesHolder` puts the file down to a program that has a file of the
// installation loaded, when one has.
struct Advice {
    InstallStep step;
    DWORD error;
    const char* why;
    const char* whatToDo;
    bool thenTryAgain;
    bool namesHolder;
};

// The first row that matches a failure gives its advice.
const Advice kAdvice[] = {
    {InstallStep::ReadResource, 0, kDamaged, kDownloadAgain, false, false},
    {InstallStep::NoChecksum, 0, "",
     "Windows may lack an update or need repair: please make sure that it is up to date, "
     "then try again.",
     false, false},
    {InstallStep::DamagedResource, 0, kDamaged, kDownloadAgain, false, false},
    {InstallStep::PathTooLong, 0, kTooLong, kShorterPath, false, false},
    {InstallStep::ReadOnlyFile, 0, "The file is read-only.",
     "Clear its read-only attribute in its properties, ", true, false},
    {InstallStep::WriteSettings, 0,
     "Windows refused to store them: your account may not change this key.",
     "Untick the additional presets to install without them, or ask your administrator for "
     "access to the key.",
     false, false},
    {InstallStep::OpenFolder, ERROR_ALREADY_EXISTS, kFileInTheWay, kBrowseToOne, false, false},
    {InstallStep::OpenFolder, ERROR_FILE_EXISTS, kFileInTheWay, kBrowseToOne, false, false},
    {InstallStep::OpenFolder, ERROR_FILENAME_EXCED_RANGE, kTooLong, kShorterPath, false, false},
    // Windows refuses to replace or remove a file that a program has loaded
    // with "access denied".
    {InstallStep::ReplaceFile, ERROR_ACCESS_DENIED, kInUse, kCloseIt, true, true},
    {InstallStep::None, ERROR_ACCESS_DENIED, "You may not write into this folder.",
     "Start Setup as an administrator, or choose another folder.", false, false},
    {InstallStep::OpenFolder, 0, "Setup creates only the last folder of a path.",
     "Choose another folder from the list, or browse to an existing one.", false, false},
    {InstallStep::None, ERROR_DISK_FULL, "The disk is full.", "Free some space on it, ", true, false},
    {InstallStep::None, ERROR_HANDLE_DISK_FULL, "The disk is full.", "Free some space on it, ",
     true, false},
    {InstallStep::None, ERROR_SHARING_VIOLATION, kInUse, kCloseIt, true, true},
    {InstallStep::None, ERROR_LOCK_VIOLATION, kInUse, kCloseIt, true, true},
    {InstallStep::None, 0, "", "Close any program that may be using the folder, ", true, false},
};

const Advice& AdviceFor(const InstallFailure& failure) {
    const Advice* advice = kAdvice;
    while ((advice->step != InstallStep::None && advice->step != failure.step) ||
           (advice->error != 0 && advice->error != failure.error))
        ++advice;
    return *advice;
}

// What could not be done, by step: the sentence, which the folder or the
// registry key may follow, and whether the platform's wording of the error
// is added.
enum Follows : char { kNothing, kTheFolder, kTheKey };
struct StepText {
    const char* whatFailed;
    Follows follows;
    bool details;
};
const StepText kSteps[] = {
    {"", kTheFolder, true},
    {"Setup could not read \"%s\" from its own program file.", kNothing, true},
    {"Setup could not check its own program file: Windows' cryptography component "
     "(bcrypt.dll) could not be used.",
     kNothing, true},
    {"The part \"%s\" of Setup's own program file is not as it was built.", kNothing, true},
    {"The path of the file \"%s\" would be too long in this folder:", kTheFolder, false},
    {"Setup could not open or create this folder:", kTheFolder, true},
    {"Setup could not write the file \"%s\" into this folder:", kTheFolder, true},
    {"Setup could not replace the file \"%s\" in this folder:", kTheFolder, true},
    {"Setup could not replace the file \"%s\" in this folder:", kTheFolder, true},
    {"Setup could not store the presets under this registry key:", kTheKey, true},
};
static_assert(sizeof kSteps / sizeof *kSteps == static_cast<size_t>(InstallStep::WriteSettings) + 1,
              "one text a step");

// Appends the platform's own wording of `error` as a detail.
void AppendSystemText(char* message, DWORD error) {
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, sizeof text, nullptr);
    if (length == 0) return;
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n')) --length;
    text[length] = '\0';
    AppendText(message, kMessageSize, "\n\nDetails: ");
    AppendText(message, kMessageSize, text);
}

// The name of a file of `unit` in `folder` that a running program has
// loaded, with that program's name in `program` (`size` bytes) and whether
// what it has loaded is that file now in `isTheFile`; null when there is none.
const char* LoadedFile(const char* folder, const InstallUnit& unit, char* program, size_t size,
                       bool* isTheFile) {
    for (int i = 0; i < unit.count; ++i) {
        char path[kPathSize];
        if (CopyText(path, folder) && AppendText(path, unit.items[i].name) &&
            FindProgramHolding(path, program, size, isTheFile))
            return unit.items[i].name;
    }
    return nullptr;
}

void Show(HWND owner, const char* message, UINT icon) {
    ThemedControls themed;
    MessageBoxA(owner, message, kSetupCaption, MB_OK | icon);
}

}  // namespace

void AskForFolder(HWND owner) {
    Show(owner,
         "Please choose the folder to install into: pick a plug-in folder from the "
         "list, or choose the browse entry to look for one.",
         MB_ICONINFORMATION);
}

void ReportFolderNotEntered(HWND owner, const char* folder, DWORD error) {
    char message[kMessageSize];
    CopyText(message, "Setup cannot open this folder:\n\n");
    AppendText(message, folder);
    AppendText(message, "\n\n");
    AppendText(message, kBrowseToOne);
    AppendSystemText(message, error);
    Show(owner, message, MB_ICONERROR);
}

void ReportInstallFailure(HWND owner, const char* folder, const InstallUnit& unit) {
    const InstallFailure& failure = unit.failure;
    // The names go into the sentences; wsprintfA stops at 1024.
    char message[kMessageSize];
    char what[1024];
    if (!failure.putBack)
        CopyText(message,
                 "Setup could not put every earlier file back: the folder may hold new files "
                 "beside old ones. Install again to complete it.");
    else if (failure.stayed[0])
        wsprintfA(message,
                  "Nothing was installed, but Setup could not remove \"%s\" from the folder: "
                  "the next installation removes it. The presets are as they were.",
                  failure.stayed);
    else
        CopyText(message, "Nothing was installed: the folder and the presets are as they were.");

    const StepText& step = kSteps[static_cast<int>(failure.step)];
    // A preset block goes by the option that installs it, not by its resource.
    wsprintfA(what, step.whatFailed,
              FindPresetKind(failure.file) ? "Additional presets" : failure.file);
    AppendText(message, "\n\n");
    AppendText(message, what);
    if (step.follows != kNothing) {
        AppendText(message, "\n\n");
        AppendText(message, step.follows == kTheKey ? failure.file : folder);
    }

    const Advice& advice = AdviceFor(failure);
    AppendText(message, "\n\n");
    char program[256];
    bool isTheFile = false;
    const char* loaded =
        advice.namesHolder ? LoadedFile(folder, unit, program, sizeof program, &isTheFile)
                           : nullptr;
    if (loaded) {
        // Whoever holds a file that no program has loaded is not known; the
        // program that has another of the files loaded (an editor with the
        // plug-in), or an earlier file of that name, is the likely one.
        wsprintfA(what, "The file is in use by %s%s, which has \"%s\" loaded. Close %s, ",
                  isTheFile && !lstrcmpA(loaded, failure.file) ? "" : "another program, probably ",
                  program, loaded, program);
        AppendText(message, what);
    } else {
        if (advice.why[0]) {
            AppendText(message, advice.why);
            AppendText(message, " ");
        }
        AppendText(message, advice.whatToDo);
    }
    if (advice.thenTryAgain) AppendText(message, kTryAgain);

    if (failure.error && step.details)
        AppendSystemText(message, failure.error);
    Show(owner, message, MB_ICONERROR);
}
