#include "discovery/path_text.h"

#include <string.h>
#include <windows.h>

#include "common/bounded_text.h"

namespace {

constexpr int kSkipLimit = 390;

char UpperChar(char c) {
    UINT_PTR single = static_cast<unsigned char>(c);
    return static_cast<char>(
        reinterpret_cast<UINT_PTR>(CharUpperA(reinterpret_cast<LPSTR>(single))));
}

}  // namespace

bool ProbeFolder(char* path) {
    int last = lstrlenA(path) - 1;
    if (last >= 0 && path[last] == '\\') path[last--] = '\0';
    for (int i = last; i > 2; --i) {
        // The platform trims dots and spaces from the end of a name, so such
        // a text would enter a folder under another name than its own: the
        // loop goes on to the name that exists.
        if (path[i] != '.' && path[i] != ' ' && SetCurrentDirectoryA(path)) return true;
        if (path[i] == '\\') return false;
        path[i] = '\0';
    }
    return false;
}

void TitleCasePath(char* text) {
    _strlwr(text);
    text[0] = UpperChar(text[0]);
    for (int i = 0; text[i] != '\0' && text[i + 1] != '\0'; ++i) {
        unsigned char next = static_cast<unsigned char>(text[i + 1]);
        if (!IsCharAlphaA(text[i]) && next >= 'A' && next <= 'z')
            text[i + 1] = UpperChar(text[i + 1]);
    }
}

char* AddTrailingBackslash(char* text, size_t size) {
    size_t length = strlen(text);
    if (length == 0 || text[length - 1] == '\\') return text;
    return AppendText(text, size, "\\") ? text : nullptr;
}

char* SkipToFirstLetter(char* text) {
    if (text[0] == '\0' || IsCharAlphaA(text[0])) return text;
    if (strlen(text) > kSkipLimit) text[kSkipLimit] = '\0';
    const char* letter = text + 1;
    while (*letter != '\0' && !IsCharAlphaA(*letter)) ++letter;
    memmove(text, letter, strlen(letter) + 1);
    return text;
}

char* CutAfterLast(char* text, char mark) {
    for (int i = lstrlenA(text) - 2; i >= 1; --i) {
        if (text[i] == mark) {
            text[i + 1] = '\0';
            break;
        }
    }
    return text;
}

char* JoinPath(char* dest, size_t size, const char* name, const char* base) {
    if (base && !CopyText(dest, size, base)) return nullptr;
    size_t length = strlen(dest);
    bool needsBackslash = length > 0 && dest[length - 1] != '\\';
    if (length + (needsBackslash ? 1 : 0) + strlen(name) >= size) return nullptr;
    AddTrailingBackslash(dest, size);
    return AppendText(dest, size, name) ? dest : nullptr;
}
