// A library preloaded into orvane-render by tests to fail one allocation on purpose: the Nth call of
// operator new (counted from the start of the process) throws std::bad_alloc, as when memory runs out just
// then; every other call is served by the operator new it replaces. ORVANE_FAIL_ALLOCATION=N picks the
// call; with ORVANE_COUNT_ALLOCATIONS=FILE the number of calls made is written to FILE when the process ends.
#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>

#include <dlfcn.h>

namespace {

std::atomic<unsigned long> calls{0};

unsigned long failingCall() {
    static const unsigned long n = [] {
        const char* text = std::getenv("ORVANE_FAIL_ALLOCATION");
        return text ? std::strtoul(text, nullptr, 10) : 0ul;
    }();
    return n;
}

// The next definition of an operator new, found once by its symbol name.
template <class Signature> Signature replaced(const char* symbol) {
    void* found = dlsym(RTLD_NEXT, symbol);
    if (!found) std::abort();
    return reinterpret_cast<Signature>(found);
}

void countAndMaybeFail() {
    if (++calls == failingCall()) throw std::bad_alloc();
}

struct CountAtExit {
    ~CountAtExit() {
        const char* path = std::getenv("ORVANE_COUNT_ALLOCATIONS");
        if (!path) return;
        if (std::FILE* file = std::fopen(path, "w")) {
            std::fprintf(file, "%lu\n", calls.load());
            std::fclose(file);
        }
    }
} countAtExit;

using Plain = void* (*)(std::size_t);
using Aligned = void* (*)(std::size_t, std::align_val_t);

} // namespace

void* operator new(std::size_t size) {
    static const Plain next = replaced<Plain>("_Znwm");
    countAndMaybeFail();
    return next(size);
}

void* operator new[](std::size_t size) {
    static const Plain next = replaced<Plain>("_Znam");
    countAndMaybeFail();
    return next(size);
}

void* operator new(std::size_t size, std::align_val_t alignment) {
    static const Aligned next = replaced<Aligned>("_ZnwmSt11align_val_t");
    countAndMaybeFail();
    return next(size, alignment);
}

void* operator new[](std::size_t size, std::align_val_t alignment) {
    static const Aligned next = replaced<Aligned>("_ZnamSt11align_val_t");
    countAndMaybeFail();
    return next(size, alignment);
}
