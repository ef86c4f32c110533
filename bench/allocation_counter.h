// Counts the heap allocations made between Start and Stop, to show what one
// encoding allocates. The bench program replaces malloc and its relatives,
// so C and C++ allocations of every library in the process are seen.
#pragma once

#include <cstdint>

struct TAllocationCount {
    int64_t Calls;
    int64_t Bytes;
    int64_t Sizes[16]; // of the first 16 calls, in order
};

void StartCountingAllocations();
TAllocationCount StopCountingAllocations();
