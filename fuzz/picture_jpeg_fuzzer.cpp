// The picture loader on .jpeg files; see picture_fuzzer.h.
#define KAVEL_FUZZ_EXTENSION "jpeg"
#include "picture_fuzzer.h"
