// nativeInit / nativePush64 / nativeCall as the stand-in host answers them: the
// call is checked against the table of known game functions, played on the
// world, and logged. In lean mode the same answers come without the log.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "call_log.h"
#include "host/platform.h"
#include "lean.h"
#include "natives.h"
#include "world.h"

namespace standin {

bool leanMode = false;

namespace {

constexpr int kMaxArgs = 32;
std::uint64_t pendingHash = 0;
unsigned long long slots[kMaxArgs];
int slotCount = 0;
bool inCall = false;
unsigned long long resultSlots[4];

LeanCounters counters;
bool logWasEnabled = true;
CallRecording* recording = nullptr;
// Out-pointer arguments of recorded calls point here; large enough for the
// three-slot vector.
unsigned long long replayScratch[4];

// Every known game function has a slot in a small open-addressed table, found
// from its hash in one multiplication and (almost always) one probe.
constexpr std::uint32_t INDEX_SIZE = 512;
const NativeInfo* nativeIndex[INDEX_SIZE];

std::uint32_t IndexSlot(std::uint64_t hash) {
    return static_cast<std::uint32_t>((hash * 0x9E3779B97F4A7C15ull) >> 55) & (INDEX_SIZE - 1);
}

bool BuildIndex() {
    int count = 0;
    const NativeInfo* natives = NativeTable(&count);
    for (int n = 0; n < count; ++n) {
        std::uint32_t slot = IndexSlot(natives[n].hash);
        while (nativeIndex[slot] != nullptr) slot = (slot + 1) & (INDEX_SIZE - 1);
        nativeIndex[slot] = &natives[n];
    }
    return true;
}

// Inlined into nativeCall, which every game call goes through.
[[gnu::always_inline]] inline const NativeInfo* Lookup(std::uint64_t hash) {
    static const bool built = BuildIndex();
    (void)built;
    for (std::uint32_t slot = IndexSlot(hash);; slot = (slot + 1) & (INDEX_SIZE - 1)) {
        const NativeInfo* n = nativeIndex[slot];
        if (n == nullptr || n->hash == hash) return n;
    }
}

[[noreturn]] void Fail(const char* what, std::uint64_t hash, const char* name) {
    std::fprintf(stderr, "stand-in host: %s: hash 0x%llx (%s), frame %d\n", what,
                 static_cast<unsigned long long>(hash), name ? name : "unknown", GetWorld().frame);
    std::fflush(stderr);
    std::abort();
}

bool IsStale(World& w, char kind, std::int32_t h) {
    const Ped* p = h && kind == 'e' ? w.FindPed(h) : nullptr;
    const Prompt* r = h && kind == 'r' ? w.FindPrompt(h) : nullptr;
    const Blip* b = h && kind == 'b' ? w.FindBlip(h) : nullptr;
    return (p && p->released) || (r && r->deleted) || (b && !b->exists);
}

// The call, played on the world and logged with copies of its strings, made
// before the call: the game may be handed a buffer that the plug-in reuses
// right after. Every use of a handle the plug-in had already handed back is
// noted.
[[gnu::noinline]] unsigned long long* LoggedCall(const NativeInfo& n, World& w, const NativeArgs& args) {
    Call call;
    call.frame = w.frame;
    call.hash = n.hash;
    call.name = n.name;
    call.args.assign(slots, slots + slotCount);
    call.strings.resize(slotCount);
    for (int i = 0; i < slotCount; ++i) {
        const char kind = i < n.fixedArgs ? n.signature[i] : '\0';
        if (IsStale(w, kind, args.I(i))) w.staleUses.push_back({w.frame, n.name, args.I(i)});
        // CreateVarString's "LITERAL_STRING" takes its text as the third argument.
        const bool literal = n.variadic && i == 2 && std::strcmp(n.name, "CreateVarString") == 0 &&
                             std::strcmp(args.S(1), "LITERAL_STRING") == 0;
        if ((kind == 's' || literal) && slots[i] != 0) call.strings[i] = args.S(i);
    }
    n.handler(w, args, resultSlots);
    std::memcpy(call.result, resultSlots, sizeof call.result);
    GetCallLog().calls.push_back(std::move(call));
    return resultSlots;
}

// Kept out of line so that the plain path stays short.
[[gnu::noinline]] void Record(const NativeInfo& n) {
    CallRecording& rec = *recording;
    rec.calls.push_back(
        {n.hash, static_cast<std::uint32_t>(rec.args.size()), static_cast<std::uint32_t>(slotCount)});
    for (int i = 0; i < slotCount; ++i) {
        const bool out = i < 32 && (n.outArgs >> i) & 1u;
        rec.args.push_back(out ? reinterpret_cast<std::uintptr_t>(replayScratch) : slots[i]);
    }
}

}  // namespace

const NativeInfo* FindNative(std::uint64_t hash) {
    return Lookup(hash);
}

LeanCounters& GetLeanCounters() {
    return counters;
}

void SetLeanMode(bool on) {
    if (on == leanMode) return;
    CallLog& log = GetCallLog();
    if (on) {
        logWasEnabled = log.enabled;
        log.enabled = false;
    } else {
        log.enabled = logWasEnabled;
        recording = nullptr;
    }
    leanMode = on;
}

void StartRecording(CallRecording* into) {
    recording = into;
}
void StopRecording() {
    recording = nullptr;
}

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

unsigned long long* nativeCall() {
    if (!inCall) Fail("nativeCall without nativeInit", 0, nullptr);
    inCall = false;
    const NativeInfo* n = Lookup(pendingHash);
    if (!n) Fail("unknown game function", pendingHash, nullptr);
    if (n->variadic ? slotCount < n->fixedArgs : slotCount != n->fixedArgs)
        Fail("wrong number of arguments", pendingHash, n->name);

    World& w = GetWorld();
    if (recording != nullptr) Record(*n);
    ++counters.calls;
    resultSlots[0] = resultSlots[1] = resultSlots[2] = resultSlots[3] = 0;
    const NativeArgs args{slots, slotCount};
    if (GetCallLog().enabled) return LoggedCall(*n, w, args);  // never in lean mode, which turns it off
    n->handler(w, args, resultSlots);
    return resultSlots;
}
