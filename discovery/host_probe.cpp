#include "discovery/host_probe.h"

#include <stdio.h>
#include <string.h>

#include "common/bounded_text.h"
#include "discovery/candidate_list.h"
#include "discovery/path_text.h"
#include "discovery/registry_read.h"

char* ProbeHostFolder(HKEY root, const char* keyPath, const char* subkey, char* folder) {
    char key[kPathSize];
    char value[kPathSize];
    if (!JoinPath(key, sizeof key, subkey, keyPath)) return nullptr;
    if (ReadStringValue(root, key, "", value) != ERROR_SUCCESS) return nullptr;
    // The program's file name and, in a command line, the arguments go.
    CutAfterLast(value, '\\');
    SkipToFirstLetter(value);
    if (value[0] == '\0' || value[1] != ':') return nullptr;
    return CopyText(folder, kPathSize, value) ? folder : nullptr;
}

namespace {

constexpr int kRecordMarker = 0x80;
constexpr int kLongestRecordPath = 249;

// The settings file, read byte by byte, with the four bytes before the
// current one at hand.
struct SettingsReader {
    FILE* file;
    int recent[5] = {};  // recent[0]: the current byte; recent[4]: four back

    ~SettingsReader() {
        if (file) fclose(file);
    }
    bool Next() {
        int byte = fgetc(file);
        if (byte == EOF) return false;
        memmove(recent + 1, recent, 4 * sizeof recent[0]);
        recent[0] = byte;
        return true;
    }
    bool AtRecordStart() const {
        return recent[0] == '\\' && recent[1] == ':' &&
               IsCharAlphaA(static_cast<char>(recent[2])) && recent[4] == kRecordMarker;
    }
};

// The host writes its settings in the system's legacy code page, which the
// program's own (UTF-8 where the system honours the manifest) need not be.
// Returns false when the text cannot be converted into `size` bytes.
bool FromLegacyCodePage(char* text, int size) {
    DWORD legacy = 0;
    GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                   reinterpret_cast<LPWSTR>(&legacy), sizeof legacy / sizeof(WCHAR));
    if (legacy == 0 || legacy == GetACP()) return true;
    WCHAR wide[kLongestRecordPath + 1];
    return MultiByteToWideChar(legacy, 0, text, -1, wide, kLongestRecordPath + 1) > 0 &&
           WideCharToMultiByte(CP_ACP, 0, wide, -1, text, size, nullptr, nullptr) > 0;
}

}  // namespace

void ScanHostSettingsFile(const char* filePath) {
    SettingsReader reader{fopen(filePath, "rb")};
    if (!reader.file) return;
    char path[kPathSize];
    while (reader.Next()) {
        if (!reader.AtRecordStart()) continue;
        int declaredLength = reader.recent[3];
        int length = 0;
        path[length++] = static_cast<char>(reader.recent[2]);
        path[length++] = ':';
        path[length++] = '\\';
        while (length <= kLongestRecordPath) {
            if (!reader.Next()) return;
            if (reader.recent[0] == '\0') break;
            path[length++] = static_cast<char>(reader.recent[0]);
        }
        if (reader.recent[0] != '\0' || length != declaredLength) continue;
        path[length] = '\0';
        if (FromLegacyCodePage(path, sizeof path)) AddCandidateFolder(path);
        return;
    }
}
