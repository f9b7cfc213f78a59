#include "discovery/path_text.h"

#include <string.h>
#include <windows.h>

#include "common/bounded_text.h"
#include "common/code_page_text.h"
#include "discovery/candidate_list.h"

namespace {

constexpr int kSkipLimit = 390;

// Upper-cases a single-byte character; a byte of a UTF-8 sequence is none.
char UpperPathChar(char c) {
    return static_cast<unsigned char>(c) >= 0x80 && TextIsUtf8() ? c : UpperChar(c);
}

}  // namespace

bool ProbeFolder(char* path) {
    int last = lstrlenA(path) - 1;
    if (last >= 0 && path[last] == '\\') path[last--] = '\0';
    // A text that ends inside a UTF-8 sequence names no folder of its own.
    bool whole = true;
    for (int i = last; i > 2; --i) {
        if (whole && path[i] != '.' && path[i] != ' ' && SetCurrentDirectoryA(path)) return true;
        if (path[i] == '\\') return false;
        whole = !ContinuesChar(path[i]);
        path[i] = '\0';
    }
    return false;
}

void TitleCasePath(char* text) {
    _strlwr(text);
    text[0] = UpperPathChar(text[0]);
    // A UTF-8 sequence is one character: a letter after a letter of any
    // script stays small.
    for (char* at = text; *at != '\0';) {
        bool letter = IsLetterAt(at);
        at += CharBytes(at);
        unsigned char next = static_cast<unsigned char>(*at);
        if (!letter && next >= 'A' && next <= 'z') *at = UpperPathChar(*at);
    }
}

char* AddTrailingBackslash(char* text, size_t size) {
    size_t length = strlen(text);
    if (length == 0 || text[length - 1] == '\\') return text;
    return SystemLength(text) + 1 < kPathLength && AppendText(text, size, "\\") ? text : nullptr;
}

char* SkipToFirstLetter(char* text) {
    if (text[0] == '\0' || IsLetterAt(text)) return text;
    char* end = text;
    for (int count = 0; *end != '\0' && count < kSkipLimit; ++count) end += CharBytes(end);
    *end = '\0';
    const char* letter = text + CharBytes(text);
    while (*letter != '\0' && !IsLetterAt(letter)) letter += CharBytes(letter);
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
    int backslash = length > 0 && dest[length - 1] != '\\' ? 1 : 0;
    if (length + backslash + strlen(name) >= size ||
        SystemLength(dest) + backslash + SystemLength(name) >= kPathLength)
        return nullptr;
    AddTrailingBackslash(dest, size);
    return AppendText(dest, size, name) ? dest : nullptr;
}
