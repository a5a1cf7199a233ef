// The picture loader on .bmp files; see picture_fuzzer.h.
#define KAVEL_FUZZ_EXTENSION "bmp"
#include "picture_fuzzer.h"
