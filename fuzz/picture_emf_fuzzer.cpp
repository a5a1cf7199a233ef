// The picture loader on .emf files; see picture_fuzzer.h.
#define KAVEL_FUZZ_EXTENSION "emf"
#include "picture_fuzzer.h"
