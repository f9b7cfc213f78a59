#include "common/bounded_text.h"

#include <string.h>

bool CopyText(char* dest, size_t size, const char* source) {
    size_t length = strlen(source);
    if (length >= size) return false;
    memmove(dest, source, length + 1);
    return true;
}

bool AppendText(char* dest, size_t size, const char* source) {
    size_t used = strnlen(dest, size);
    if (used >= size) return false;
    return CopyText(dest + used, size - used, source);
}
