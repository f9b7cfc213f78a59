// The C runtime's own handler for errors in its math functions writes a line
// to standard error, which a windowed program has not got, and brings that
// formatting code along; the program calls no such function. This one writes
// nothing and keeps the runtime's result, as the default handler does.
#include <math.h>

extern "C" int _matherr(struct _exception*) {
    return 0;
}
