#include "discovery/settings_file.h"

#include "common/code_page_text.h"
#include "discovery/candidate_list.h"

GlobalMemory ReadSettingsFile(const char* path, DWORD* size) {
    KernelHandle file(CreateFileA(path, GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD high = 0;
    *size = file ? GetFileSize(file.Get(), &high) : 0;
    if (*size == 0 || *size > kSettingsFileLimit || high != 0) return {};
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, *size + 1));
    char* bytes = memory ? static_cast<char*>(GlobalLock(memory.Get())) : nullptr;
    if (!bytes) return {};
    // A file that shrank meanwhile is not read whole; one that grew is read
    // up to its earlier size.
    DWORD read = 0;
    bool whole = ReadFile(file.Get(), bytes, *size, &read, nullptr) && read == *size;
    bytes[read] = '\0';
    GlobalUnlock(memory.Get());
    return whole ? std::move(memory) : GlobalMemory();
}

void OfferSettingsFolder(const WCHAR* text, int length, char* folder) {
    // A drive path only: never one taken from the current directory, the
    // current drive's, or a share's.
    if (length < 3 || length > kPathLength - 2 ||
        static_cast<unsigned>((text[0] | 0x20) - 'a') >= 26 || text[1] != ':' || text[2] != '\\')
        return;
    // A character the code page lacks, or would stand in for by a look-alike,
    // would name another folder.
    BOOL lossy = FALSE;
    bool utf8 = TextIsUtf8();
    int bytes = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, text, length, folder,
                                    kPathSize - 1, nullptr, utf8 ? nullptr : &lossy);
    if (bytes <= 0 || lossy) return;
    folder[bytes] = '\0';
    // Entered first, as a documented folder is: only that very folder.
    if (SetCurrentDirectoryA(folder)) AddCandidateFolder(folder);
}
