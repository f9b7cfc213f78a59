#include "discovery/gimp_settings.h"

#include <string.h>

#include "discovery/candidate_list.h"
#include "discovery/settings_file.h"

namespace {

constexpr char kToken[] = "(pspi-path";

// The text after the opening quotation mark of the last line that starts
// with the token and a quoted text; null without one. A comment line starts
// with '#', so it is none.
char* FindPspiPath(char* text) {
    char* value = nullptr;
    for (char* line = text; line; line = strchr(line, '\n')) {
        line += strspn(line, " \t\r\n");
        if (strncmp(line, kToken, sizeof kToken - 1) != 0) continue;
        char* quote = line + sizeof kToken - 1;
        quote += strspn(quote, " \t");
        if (*quote == '"') value = quote + 1;
    }
    return value;
}

// Ends the quoted text at its closing quotation mark, undoing \\ and \" in
// place. False when the text ends first.
bool Unquote(char* text) {
    char* out = text;
    for (const char* in = text; *in != '"'; ++in) {
        if (*in == '\0') return false;
        if (*in == '\\' && (in[1] == '\\' || in[1] == '"')) ++in;
        *out++ = *in;
    }
    *out = '\0';
    return true;
}

// Offers each folder of the gimprc's text; `folder` is the working path.
void OfferPspiFolders(char* text, char* folder) {
    char* value = FindPspiPath(text);
    if (!value || !Unquote(value)) return;
    WCHAR wide[kPathLength];
    while (value) {
        char* next = strchr(value, ';');
        if (next) *next++ = '\0';
        // GIMP writes its settings in UTF-8; a longer text is no path.
        int length =
            MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, value, -1, wide, kPathLength);
        if (length > 1) OfferSettingsFolder(wide, length - 1, folder);
        value = next;
    }
}

}  // namespace

void ScanGimpPspiPath(char* path) {
    DWORD size = 0;
    GlobalMemory memory = ReadSettingsFile(path, &size);
    char* text = memory ? static_cast<char*>(GlobalLock(memory.Get())) : nullptr;
    if (!text) return;
    OfferPspiFolders(text, path);
    GlobalUnlock(memory.Get());
}
