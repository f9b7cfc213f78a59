// The program allocates only with new (std::nothrow) and checks the result,
// so its allocation operators are plain heap calls without the C++ runtime's
// exception machinery, which would more than double the program's code.
#include <stdlib.h>

#include <new>

void* operator new(size_t size) {
    return malloc(size ? size : 1);
}
void* operator new[](size_t size) {
    return malloc(size ? size : 1);
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
void operator delete[](void* block) noexcept {
    free(block);
}
void operator delete(void* block, size_t) noexcept {
    free(block);
}
void operator delete[](void* block, size_t) noexcept {
    free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    free(block);
}
