// A library that exports none of the target functions.
#include <k42target.h>

K42_EXPORT int32_t NotATargetFunction() { return 0; }
