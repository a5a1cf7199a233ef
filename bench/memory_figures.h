#pragma once

#include <malloc.h>

#include <fstream>

// Memory figures of the running benchmark program, in megabytes.
namespace bench_memory {

// Pages of the process in memory: what the user sees the program take.
inline double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

// The bytes the allocator has handed out and not had back, untouched pages
// included. Unlike the resident size, this grows even while new objects
// reuse memory that earlier figures freed and the process still holds, and
// it shows room reserved but never written.
inline double HeapInUseMegabytes() {
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<double>(heap.uordblks + heap.hblkhd) / (1024.0 * 1024.0);
}

}  // namespace bench_memory
