// Room for a table of ramp entries that ends (or starts) where readable memory ends: a page whose access
// is turned off lies right after (or before) it, and the rest of the room holds NaN entries. A painter that
// reads outside its table then either faults or paints a NaN.
#pragma once

#include "sdk/host_sdk.h"

#include <cstddef>
#include <limits>
#include <new>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX // windows.h would otherwise define min and max as macros
#endif
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace OrvaneTest {

// Which end of the table touches the unreadable page; NaN entries lie at its other end.
enum class TableEdge { End, Start };

class GuardedEntries {
public:
    // `count` entries, all 0 until the caller writes them (the pages are only mapped as they are touched).
    GuardedEntries(std::size_t count, TableEdge edge) {
        const std::size_t page = pageSize();
        const std::size_t tableBytes = count * sizeof(PF_PixelFloat);
        roomBytes = (tableBytes + kNanBytes + page - 1) / page * page;
        mappedBytes = roomBytes + 2 * page;
        base = static_cast<unsigned char*>(map(mappedBytes));
        if (!protect(base, page) || !protect(base + page + roomBytes, page)) {
            unmap(base, mappedBytes);
            throw std::bad_alloc();
        }
        unsigned char* room = base + page;
        table = reinterpret_cast<PF_PixelFloat*>(edge == TableEdge::End ? room + roomBytes - tableBytes : room);
        fillWithNan(room, reinterpret_cast<unsigned char*>(table));
        fillWithNan(reinterpret_cast<unsigned char*>(table + count), room + roomBytes);
    }
    ~GuardedEntries() { unmap(base, mappedBytes); }
    GuardedEntries(const GuardedEntries&) = delete;
    GuardedEntries& operator=(const GuardedEntries&) = delete;

    PF_PixelFloat* entries() const { return table; }

private:
    // At least the widest load a painter makes past either end (a 64-byte register) is NaN.
    static constexpr std::size_t kNanBytes = 4 * 64;

    static void fillWithNan(unsigned char* from, unsigned char* to) {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        for (float* f = reinterpret_cast<float*>(from); f < reinterpret_cast<float*>(to); ++f) *f = nan;
    }

#ifdef _WIN32
    static std::size_t pageSize() {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        return info.dwPageSize;
    }
    static void* map(std::size_t bytes) {
        void* at = VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (!at) throw std::bad_alloc();
        return at;
    }
    static bool protect(unsigned char* at, std::size_t bytes) {
        DWORD before = 0;
        return VirtualProtect(at, bytes, PAGE_NOACCESS, &before) != 0;
    }
    static void unmap(unsigned char* at, std::size_t) { VirtualFree(at, 0, MEM_RELEASE); }
#else
    static std::size_t pageSize() { return std::size_t(sysconf(_SC_PAGESIZE)); }
    static void* map(std::size_t bytes) {
        void* at = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (at == MAP_FAILED) throw std::bad_alloc();
        return at;
    }
    static bool protect(unsigned char* at, std::size_t bytes) { return mprotect(at, bytes, PROT_NONE) == 0; }
    static void unmap(unsigned char* at, std::size_t bytes) { munmap(at, bytes); }
#endif

    std::size_t roomBytes = 0, mappedBytes = 0;
    unsigned char* base = nullptr;
    PF_PixelFloat* table = nullptr;
};

} // namespace OrvaneTest
