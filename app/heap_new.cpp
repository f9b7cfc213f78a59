// The program allocates only with new (std::nothrow) and checks the result,
// so its allocation operators are plain heap calls without the C++ runtime's
// exception machinery, which would more than double the program's code. The
// runtime's own throwing new[] and its other deletes only call these.
#include <windows.h>

#include <stdlib.h>

#include <new>

namespace {

// The throwing forms may never return null, and without exceptions they
// cannot report the failure: the program ends at once instead, with
// ERROR_NOT_ENOUGH_MEMORY as its exit code.
void* AllocateOrEnd(size_t size) {
    void* block = malloc(size ? size : 1);
    if (!block) {
        TerminateProcess(GetCurrentProcess(), ERROR_NOT_ENOUGH_MEMORY);
        __builtin_unreachable();
    }
    return block;
}

}  // namespace

void* operator new(size_t size) {
    return AllocateOrEnd(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return malloc(size ? size : 1);
}
void operator delete(void* block) noexcept {
    free(block);
}
void operator delete(void* block, size_t) noexcept {
    free(block);
}
