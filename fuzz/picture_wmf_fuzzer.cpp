// The picture loader on .wmf files; see picture_fuzzer.h.
#define KAVEL_FUZZ_EXTENSION "wmf"
#include "picture_fuzzer.h"
