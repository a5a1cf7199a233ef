#include "assets/metafile_helper/resource_limits.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

#if defined(__SANITIZE_ADDRESS__)
#define KAVEL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KAVEL_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

// Far above what the largest picture needs: 4096 x 4096 pixels of 4 bytes,
// the libraries' copies of it and Qt's start-up.
constexpr rlim_t kMemoryAboveStartBytes = 2ULL * 1024 * 1024 * 1024;
// The program stops the helper after 3 s of waiting; this only ends one that
// nobody waits for any more.
constexpr rlim_t kCpuSeconds = 10;

void Limit(int resource, rlim_t value) {
    const rlimit cap{value, value};
    ::setrlimit(resource, &cap);
}

#ifndef KAVEL_ADDRESS_SANITIZER
rlim_t AddressSpaceInUse() {
    long pages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
        std::fclose(statm);
    }
    return pages > 0 ? static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE))
                     : 0;
}
#endif

}  // namespace

void LimitHelperResources() {
#ifndef KAVEL_ADDRESS_SANITIZER
    // The sanitizer reserves terabytes of shadow address space up front, which
    // no cap would leave room for.
    if (const rlim_t inUse = AddressSpaceInUse(); inUse > 0) {
        Limit(RLIMIT_AS, inUse + kMemoryAboveStartBytes);
    }
#endif
    Limit(RLIMIT_CPU, kCpuSeconds);
    // A crash on a hostile file is an expected ending, not worth a core file.
    Limit(RLIMIT_CORE, 0);
}
