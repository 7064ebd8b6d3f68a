// Counts every heap allocation the program makes through operator new (all
// forms), on any thread, so a test or a benchmark can see whether a stretch of
// code allocated.
//
// The counting replacements of the global operators new and delete are defined
// by the one source file of a program that says, before including this header:
//     #define TAVROSSIMER_DEFINE_ALLOCATION_COUNTER
// Every other file just includes it. A program without that file counts nothing
// (AllocationCounting() is false), so a test can tell a silent counter from a
// clean frame.
#pragma once

#include <atomic>
#include <cstdint>

namespace allocation_counter {

inline std::atomic<std::uint64_t> allocations{0};
inline std::atomic<std::uint64_t> bytes{0};
inline bool counting = false;  // set while the program's static objects are built

inline std::uint64_t Allocations() {
    return allocations.load(std::memory_order_relaxed);
}
inline std::uint64_t Bytes() {
    return bytes.load(std::memory_order_relaxed);
}
inline bool AllocationCounting() {
    return counting;
}

}  // namespace allocation_counter

#ifdef TAVROSSIMER_DEFINE_ALLOCATION_COUNTER

#include <cstdlib>
#include <new>

namespace allocation_counter {
namespace detail {

inline void* Allocate(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    bytes.fetch_add(size, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}

inline void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    bytes.fetch_add(size, std::memory_order_relaxed);
    const std::size_t align = static_cast<std::size_t>(alignment);
    // aligned_alloc wants a size that is a multiple of the alignment.
    const std::size_t rounded = ((size == 0 ? 1 : size) + align - 1) / align * align;
    return std::aligned_alloc(align, rounded);
}

inline void* OrThrow(void* p) {
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

struct Announce {
    Announce() { counting = true; }
};
inline Announce announce;

}  // namespace detail
}  // namespace allocation_counter

void* operator new(std::size_t size) {
    return allocation_counter::detail::OrThrow(allocation_counter::detail::Allocate(size));
}
void* operator new[](std::size_t size) {
    return allocation_counter::detail::OrThrow(allocation_counter::detail::Allocate(size));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocation_counter::detail::Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocation_counter::detail::Allocate(size);
}
void* operator new(std::size_t size, std::align_val_t a) {
    return allocation_counter::detail::OrThrow(allocation_counter::detail::AllocateAligned(size, a));
}
void* operator new[](std::size_t size, std::align_val_t a) {
    return allocation_counter::detail::OrThrow(allocation_counter::detail::AllocateAligned(size, a));
}
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
    return allocation_counter::detail::AllocateAligned(size, a);
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
    return allocation_counter::detail::AllocateAligned(size, a);
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(p);
}

#endif  // TAVROSSIMER_DEFINE_ALLOCATION_COUNTER
