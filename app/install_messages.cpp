#include "app/install_messages.h"

#include "common/bounded_text.h"

const char kSetupCaption[] = "Pastel Craft Plug-in Setup";

namespace {

// Long enough for every message with a folder of the longest length; a part
// that does not fit is left out rather than cut.
constexpr int kMessageSize = 2048;

// Appends the platform's own wording of `error`, on a paragraph of its own.
void AppendSystemText(char* message, DWORD error) {
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, sizeof text, nullptr);
    if (length == 0) return;
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n')) --length;
    text[length] = '\0';
    AppendText(message, kMessageSize, "\n\n");
    AppendText(message, kMessageSize, text);
}

void Show(HWND owner, const char* message, UINT icon) {
    MessageBoxA(owner, message, kSetupCaption, MB_OK | icon);
}

// Joins the parts into one message: a part that does not fit is left out.
void Compose(char* message, const char* const* parts, int count) {
    message[0] = '\0';
    for (int i = 0; i < count; ++i) AppendText(message, kMessageSize, parts[i]);
}

}  // namespace

void ReportUnusableFolder(HWND owner, const char* folder, DWORD error) {
    char message[kMessageSize];
    const char* parts[] = {"Setup could not open or create this folder:\n\n", folder};
    Compose(message, parts, 2);
    AppendSystemText(message, error);
    AppendText(message, kMessageSize,
               "\n\nSetup creates only the last folder of a path. Choose another folder "
               "from the list, or browse to an existing one.");
    Show(owner, message, MB_ICONERROR);
}

void AskForFolder(HWND owner) {
    Show(owner,
         "Please choose the folder to install into: pick a plug-in folder from the "
         "list, or choose the browse entry to look for one.",
         MB_ICONINFORMATION);
}

void ReportInstallFailure(HWND owner, const char* folder, const InstallFailure& failure) {
    char message[kMessageSize];
    if (failure.step == InstallStep::ReadResource) {
        const char* parts[] = {"Setup could not read \"", failure.file,
                               "\" from its own program file. Nothing more was installed."};
        Compose(message, parts, 3);
        AppendSystemText(message, failure.error);
        AppendText(message, kMessageSize,
                   "\n\nThe setup program may be damaged. Please download it again.");
    } else if (failure.step == InstallStep::NameTooLong) {
        const char* parts[] = {"The path of the file \"", failure.file,
                               "\" would be too long in this folder:\n\n", folder,
                               "\n\nPlease choose a folder with a shorter path."};
        Compose(message, parts, 5);
    } else {
        const char* parts[] = {"Setup could not install the file \"", failure.file,
                               "\" into this folder:\n\n", folder};
        Compose(message, parts, 4);
        AppendSystemText(message, failure.error);
        AppendText(message, kMessageSize,
                   "\n\nAny earlier copy of the file is unchanged. The file may be in use "
                   "by your image editor, or the folder may be read-only. Close the image "
                   "editor and try again, or choose another folder.");
    }
    Show(owner, message, MB_ICONERROR);
}
