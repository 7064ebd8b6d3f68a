// nativeInit / nativePush64 / nativeCall as the stand-in host answers them: the
// call is checked against the table of known game functions, played on the
// world, and logged.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "call_log.h"
#include "host/platform.h"
#include "lean.h"
#include "natives.h"
#include "world.h"

namespace standin {

namespace {

constexpr int kMaxArgs = 32;
std::uint64_t pendingHash = 0;
unsigned long long slots[kMaxArgs];
int slotCount = 0;
bool inCall = false;
unsigned long long resultSlots[4];

[[noreturn]] void Fail(const char* what, std::uint64_t hash, const char* name) {
    std::fprintf(stderr, "stand-in host: %s: hash 0x%llx (%s), frame %d\n", what, static_cast<unsigned long long>(hash),
                 name ? name : "unknown", GetWorld().frame);
    std::fflush(stderr);
    std::abort();
}

bool IsStalePed(World& w, std::int32_t h) {
    const Ped* p = w.FindPed(h);
    return h != 0 && p && p->released;
}
bool IsStalePrompt(World& w, std::int32_t h) {
    const Prompt* p = w.FindPrompt(h);
    return h != 0 && p && p->deleted;
}
bool IsStaleBlip(World& w, std::int32_t h) {
    const Blip* b = w.FindBlip(h);
    return h != 0 && b && !b->exists;
}

// Notes every use of a handle that the plug-in had already handed back.
void CheckStaleHandles(World& w, const NativeInfo& n, const NativeArgs& a) {
    for (int i = 0; n.signature[i] && n.signature[i] != '*' && i < a.count; ++i) {
        const std::int32_t h = a.I(i);
        bool stale = false;
        switch (n.signature[i]) {
            case 'e': stale = IsStalePed(w, h); break;
            case 'r': stale = IsStalePrompt(w, h); break;
            case 'b': stale = IsStaleBlip(w, h); break;
            default: break;
        }
        if (stale) w.staleUses.push_back({w.frame, n.name, h});
    }
}

}  // namespace

}  // namespace standin

using namespace standin;

void nativeInit(unsigned long long hash) {
    if (inCall) Fail("nativeInit while another call is being built", pendingHash, nullptr);
    inCall = true;
    pendingHash = hash;
    slotCount = 0;
}

void nativePush64(unsigned long long value) {
    if (!inCall) Fail("nativePush64 without nativeInit", 0, nullptr);
    if (slotCount >= kMaxArgs) Fail("too many arguments", pendingHash, nullptr);
    slots[slotCount++] = value;
}

// The full world's answer: checked, played on the world and logged. Kept out of
// nativeCall so that the lean path pays for none of it.
[[gnu::noinline]] static unsigned long long* FullNativeCall() {
    const NativeInfo* n = FindNative(pendingHash);
    if (!n) Fail("unknown game function", pendingHash, nullptr);

    const int sigLen = static_cast<int>(std::strlen(n->signature));
    const bool variadic = sigLen > 0 && n->signature[sigLen - 1] == '*';
    const int fixed = variadic ? sigLen - 1 : sigLen;
    if (variadic ? slotCount < fixed : slotCount != fixed) Fail("wrong number of arguments", pendingHash, n->name);

    World& w = GetWorld();
    NativeArgs args{slots, slotCount};
    CallLog& log = GetCallLog();
    if (log.enabled) CheckStaleHandles(w, *n, args);

    // Strings are copied before the call: the game may be handed a buffer that
    // the plug-in reuses right after.
    Call call;
    if (log.enabled) {
        call.frame = w.frame;
        call.hash = pendingHash;
        call.name = n->name;
        call.args.assign(slots, slots + slotCount);
        call.strings.resize(slotCount);
        for (int i = 0; i < slotCount; ++i) {
            const char kind = i < fixed ? n->signature[i] : '\0';
            bool isString = kind == 's';
            // CreateVarString's "LITERAL_STRING" takes its text as the third argument.
            if (!isString && variadic && i == 2 && std::strcmp(n->name, "CreateVarString") == 0 &&
                std::strcmp(args.S(1), "LITERAL_STRING") == 0)
                isString = true;
            if (isString && slots[i] != 0) call.strings[i] = args.S(i);
        }
    }

    resultSlots[0] = resultSlots[1] = resultSlots[2] = resultSlots[3] = 0;
    n->handler(w, args, resultSlots);

    if (log.enabled) {
        call.result[0] = resultSlots[0];
        call.result[1] = resultSlots[1];
        call.result[2] = resultSlots[2];
        log.calls.push_back(std::move(call));
    }
    return resultSlots;
}

unsigned long long* nativeCall() {
    if (!inCall) Fail("nativeCall without nativeInit", 0, nullptr);
    inCall = false;
    // Lean mode (benchmarks, allocation test): plain-table answers, no log, no checks.
    if (leanMode) return LeanNativeCall(pendingHash, slots, slotCount, resultSlots);
    return FullNativeCall();
}
