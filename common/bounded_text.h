// Copies into fixed text buffers that never overflow: a text that does not
// fit is refused, and the buffer keeps what it held.
#pragma once

#include <stddef.h>

// Copies `source` into `dest` (`size` bytes). Returns false, leaving `dest`
// unchanged, when `source` and its NUL do not fit.
bool CopyText(char* dest, size_t size, const char* source);

// Appends `source` to the text in `dest` (`size` bytes). Returns false,
// leaving `dest` unchanged, when the result and its NUL do not fit.
bool AppendText(char* dest, size_t size, const char* source);

template <size_t N>
bool CopyText(char (&dest)[N], const char* source) {
    return CopyText(dest, N, source);
}
template <size_t N>
bool AppendText(char (&dest)[N], const char* source) {
    return AppendText(dest, N, source);
}
