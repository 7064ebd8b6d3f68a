// The table of game functions the stand-in knows: exactly those the plug-in is
// meant to call. Each entry has its hash, its name, its argument kinds and the
// handler that plays the game's part in the world.
#pragma once

#include <cstdint>
#include <cstring>

#include "world.h"

namespace standin {

struct NativeArgs {
    const unsigned long long* slots;
    int count;

    std::int32_t I(int i) const { return static_cast<std::int32_t>(static_cast<std::uint32_t>(slots[i])); }
    std::uint32_t U(int i) const { return static_cast<std::uint32_t>(slots[i]); }
    float F(int i) const {
        const std::uint32_t bits = static_cast<std::uint32_t>(slots[i]);
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    const char* S(int i) const { return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(slots[i])); }
    std::int32_t* P(int i) const { return reinterpret_cast<std::int32_t*>(static_cast<std::uintptr_t>(slots[i])); }
    unsigned long long T(int i) const { return slots[i]; }
};

using NativeHandler = void (*)(World& world, const NativeArgs& args, unsigned long long* result);

// Argument kinds, one letter each: i int, e entity (ped) handle, b blip handle,
// r prompt handle, f float, s string, o out-pointer to an int handle, v
// out-pointer to a three-slot vector, t 64-bit text handle. A trailing '*'
// means more arguments may follow (CreateVarString's format arguments).
struct NativeInfo {
    std::uint64_t hash;
    const char* name;
    const char* signature;
    NativeHandler handler;
};

const NativeInfo* FindNative(std::uint64_t hash);
const NativeInfo* NativeTable(int* count);

}  // namespace standin
