#include "allocation_counter.h"

#include <cstddef>

// glibc's own entry points, which the replacements below forward to.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);
}

namespace {
// The bench runs on one thread; counting is off except around one encoding.
bool Counting = false;
TAllocationCount Count{};

void Record(size_t size) {
    if (Counting) {
        if (Count.Calls < 16) Count.Sizes[Count.Calls] = static_cast<int64_t>(size);
        ++Count.Calls;
        Count.Bytes += static_cast<int64_t>(size);
    }
}
} // namespace

extern "C" {
void* malloc(size_t size) {
    Record(size);
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
    Record(count * size);
    return __libc_calloc(count, size);
}

void* realloc(void* pointer, size_t size) {
    Record(size);
    return __libc_realloc(pointer, size);
}

void* memalign(size_t alignment, size_t size) {
    Record(size);
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size) {
    Record(size);
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** result, size_t alignment, size_t size) {
    Record(size);
    *result = __libc_memalign(alignment, size);
    return *result ? 0 : 12; // ENOMEM
}

void free(void* pointer) {
    __libc_free(pointer);
}
}

void StartCountingAllocations() {
    Count = {};
    Counting = true;
}

TAllocationCount StopCountingAllocations() {
    Counting = false;
    return Count;
}
