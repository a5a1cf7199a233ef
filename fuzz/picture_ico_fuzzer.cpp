// The picture loader on .ico files; see picture_fuzzer.h.
#define KAVEL_FUZZ_EXTENSION "ico"
#include "picture_fuzzer.h"
