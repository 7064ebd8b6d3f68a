// The calling contract with the script host: nativeInit(hash), one nativePush64
// per argument, nativeCall(), and the result read at once. Every game function
// the plug-in uses goes through Invoke; the typed wrappers live in game/natives.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "host/platform.h"

// Three floats as the host lays them out: each in the first four bytes of its
// own 8-byte slot. Serves both as a vector result and as an out-parameter.
struct Vector3 {
    alignas(8) float x;
    alignas(8) float y;
    alignas(8) float z;
};
static_assert(sizeof(Vector3) == 24, "the host's vector takes three 8-byte slots");
static_assert(offsetof(Vector3, y) == 8 && offsetof(Vector3, z) == 16, "x, y, z start their slots");

// The 64-bit handle CreateVarString returns; passed on unchanged.
using TextHandle = std::uint64_t;

// One 64-bit argument or result slot, as the host functions type it.
using NativeSlot = unsigned long long;

// A 32-bit value the game expects sign-extended into its slot.
struct SignExtended {
    std::int32_t value;
};

namespace native_detail {

inline NativeSlot Slot(std::int32_t v) {
    return static_cast<std::uint32_t>(v);
}
inline NativeSlot Slot(std::uint32_t v) {
    return v;
}
inline NativeSlot Slot(bool v) {
    return v ? 1u : 0u;
}
inline NativeSlot Slot(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}
inline NativeSlot Slot(SignExtended v) {
    return static_cast<NativeSlot>(static_cast<std::int64_t>(v.value));
}
inline NativeSlot Slot(TextHandle v) {
    return v;
}
inline NativeSlot Slot(const char* v) {
    return reinterpret_cast<std::uintptr_t>(v);
}
inline NativeSlot Slot(std::int32_t* v) {
    return reinterpret_cast<std::uintptr_t>(v);
}
inline NativeSlot Slot(Vector3* v) {
    return reinterpret_cast<std::uintptr_t>(v);
}

template <typename R>
R Result(const NativeSlot* slots);

template <>
inline void Result<void>(const NativeSlot*) {}
template <>
inline std::int32_t Result<std::int32_t>(const NativeSlot* slots) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(slots[0]));
}
template <>
inline bool Result<bool>(const NativeSlot* slots) {
    return static_cast<std::uint32_t>(slots[0]) != 0;
}
template <>
inline float Result<float>(const NativeSlot* slots) {
    float f;
    std::memcpy(&f, slots, sizeof f);
    return f;
}
template <>
inline TextHandle Result<TextHandle>(const NativeSlot* slots) {
    return slots[0];
}
template <>
inline Vector3 Result<Vector3>(const NativeSlot* slots) {
    Vector3 v;
    std::memcpy(&v.x, &slots[0], 4);
    std::memcpy(&v.y, &slots[1], 4);
    std::memcpy(&v.z, &slots[2], 4);
    return v;
}

}  // namespace native_detail

// Calls game function `hash` with `args`, each pushed as one 64-bit slot by its
// C++ type: int32/uint32/bool in the low 32 bits (zero-extended), SignExtended
// sign-extended, float as its IEEE-754 bits, strings and out-pointers as addresses.
template <typename R = void, typename... Args>
inline R Invoke(std::uint64_t hash, Args... args) {
    nativeInit(hash);
    (nativePush64(native_detail::Slot(args)), ...);
    return native_detail::Result<R>(nativeCall());
}
