// The C runtime's own handler for errors in its math functions (256 bytes of
// code) writes a line to standard error, which a windowed program has not
// got, and the program calls no math function that reports one. This one
// writes nothing and, as that one does, returns 0: the function's own result
// stands.
#include <math.h>

extern "C" int _matherr(struct _exception*) {
    return 0;
}
