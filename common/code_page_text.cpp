#include "common/code_page_text.h"

#include <windows.h>

bool TextIsUtf8() {
    return GetACP() == CP_UTF8;
}

bool ContinuesChar(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80 && TextIsUtf8();
}

int CharBytes(const char* text) {
    unsigned char lead = static_cast<unsigned char>(*text);
    if (lead < 0xC0 || !TextIsUtf8()) return 1;
    int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    for (int i = 1; i < length; ++i)
        if (!ContinuesChar(text[i])) return 1;
    return length;
}

char UpperChar(char c) {
    UINT_PTR single = static_cast<unsigned char>(c);
    return static_cast<char>(
        reinterpret_cast<UINT_PTR>(CharUpperA(reinterpret_cast<LPSTR>(single))));
}

bool IsLetterAt(const char* text) {
    int bytes = CharBytes(text);
    if (bytes == 1) return IsCharAlphaA(*text) != FALSE;
    WCHAR wide[2];
    return MultiByteToWideChar(CP_UTF8, 0, text, bytes, wide, 2) > 0 && IsCharAlphaW(wide[0]);
}

int SystemLength(const char* text, int size) {
    if (size < 0) size = lstrlenA(text);
    return size > 0 ? MultiByteToWideChar(CP_ACP, 0, text, size, nullptr, 0) : 0;
}
