// Asks the program's throwing operator new for more than any heap gives. It
// must end the program: a null that it returned would be used as a block.
#include <stdint.h>

#include <new>

// Kept where the compiler must store it, so that the call is made.
void* volatile Kept;

int main() {
    volatile size_t huge = SIZE_MAX - 0xFFFF;
    Kept = ::operator new(huge);
    return 1;
}
