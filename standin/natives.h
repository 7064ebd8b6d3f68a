// The table of game functions the stand-in knows: exactly those the plug-in is
// meant to call. Each entry has its hash, its name, its argument kinds and the
// handler that plays the game's part in the world.
#pragma once

#include <cstdint>
#include <cstring>

#include "call_log.h"
#include "world.h"

namespace standin {

struct NativeArgs {
    const unsigned long long* slots;
    int count;

    std::int32_t I(int i) const { return SlotInt(slots[i]); }
    std::uint32_t U(int i) const { return static_cast<std::uint32_t>(slots[i]); }
    float F(int i) const { return SlotFloat(slots[i]); }
    const char* S(int i) const {
        return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(slots[i]));
    }
    std::int32_t* P(int i) const {
        return reinterpret_cast<std::int32_t*>(static_cast<std::uintptr_t>(slots[i]));
    }
    unsigned long long T(int i) const { return slots[i]; }
};

using NativeHandler = void (*)(World& world, const NativeArgs& args, unsigned long long* result);

// Writing a game function's answer into its result slots, as the host lays
// them out: an int or float in the low bytes of slot 0, a vector's x, y, z each
// in the first four bytes of its own slot.
inline void SetInt(unsigned long long* r, std::int32_t v) {
    r[0] = static_cast<std::uint32_t>(v);
}
inline void SetFloat(unsigned long long* r, float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    r[0] = bits;
}
inline void SetVector(unsigned long long* r, Vec3 v) {
    SetFloat(r, v.x);
    SetFloat(r + 1, v.y);
    SetFloat(r + 2, v.z);
}

// Argument kinds, one letter each: i int, e entity (ped) handle, b blip handle,
// r prompt handle, f float, s string, o out-pointer to an int handle, v
// out-pointer to a three-slot vector, t 64-bit text handle. A trailing '*'
// means more arguments may follow (CreateVarString's format arguments).
struct NativeInfo {
    std::uint64_t hash;
    const char* name;
    const char* signature;
    NativeHandler handler;
    // From the signature: the arguments before any '*', and the out-pointers (bit i: argument i).
    int fixedArgs = 0;
    bool variadic = false;
    std::uint32_t outArgs = 0;

    constexpr NativeInfo(std::uint64_t h, const char* n, const char* sig, NativeHandler f)
        : hash(h), name(n), signature(sig), handler(f) {
        for (; sig[fixedArgs] != '\0' && sig[fixedArgs] != '*'; ++fixedArgs) {
            if (sig[fixedArgs] == 'o' || sig[fixedArgs] == 'v') outArgs |= 1u << fixedArgs;
        }
        variadic = sig[fixedArgs] == '*';
    }
};

// The known game function with this hash, or null.
const NativeInfo* FindNative(std::uint64_t hash);
// All of them.
const NativeInfo* NativeTable(int* count);

}  // namespace standin
