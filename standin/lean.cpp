#include "lean.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "call_log.h"
#include "host/platform.h"
#include "natives.h"
#include "world.h"

namespace standin {

bool leanMode = false;

namespace {

using R = unsigned long long*;
using A = const NativeArgs&;

LeanCounters counters;
bool logWasEnabled = true;
CallRecording* recording = nullptr;
// Out-pointer arguments of recorded calls point here; large enough for the
// three-slot vector.
unsigned long long replayScratch[4];

[[noreturn]] void Fail(const char* what, std::uint64_t hash) {
    std::fprintf(stderr, "stand-in host (lean mode): %s: hash 0x%llx, frame %d\n", what,
                 static_cast<unsigned long long>(hash), GetWorld().frame);
    std::fflush(stderr);
    std::abort();
}

// ---- handle tables ---------------------------------------------------------------------
// Handles are handed out in sequence from a base, so a handle's offset from the
// first one indexes a flat table of pointers into the world's maps (whose
// nodes never move). A handle outside the table, or made after the table was
// filled, is looked up in the map once and then kept.

constexpr int HANDLE_TABLE_SIZE = 4096;

template <typename T>
struct HandleTable {
    std::int32_t base = 0;
    T* entries[HANDLE_TABLE_SIZE] = {};

    void Fill(std::map<std::int32_t, T>& all, std::int32_t firstHandle) {
        std::memset(entries, 0, sizeof entries);
        base = firstHandle;
        for (auto& [handle, item] : all) {
            const std::int64_t i = static_cast<std::int64_t>(handle) - base;
            if (i >= 0 && i < HANDLE_TABLE_SIZE) entries[i] = &item;
        }
    }
    T* Find(std::map<std::int32_t, T>& all, std::int32_t handle) {
        const std::uint32_t i = static_cast<std::uint32_t>(handle) - static_cast<std::uint32_t>(base);
        if (i < static_cast<std::uint32_t>(HANDLE_TABLE_SIZE)) {
            if (entries[i] != nullptr) return entries[i];
            auto it = all.find(handle);
            if (it == all.end()) return nullptr;
            entries[i] = &it->second;
            return entries[i];
        }
        auto it = all.find(handle);
        return it == all.end() ? nullptr : &it->second;
    }
};

// The player's ped (handle 1) and the bodyguards (from 100) share one table
// starting at 0; prompts start at 9000.
HandleTable<Ped> pedTable;
HandleTable<Prompt> promptTable;
std::uint64_t tablesWorld = 0;  // serial of the world the tables were filled for

// Config flags the steady frames set on every bodyguard. Giving each ped a slot
// for them up front (as "not set", which reads like a missing flag) keeps the
// setter from allocating the flag's map node in the middle of a frame.
constexpr int STEADY_CONFIG_FLAGS[] = {130, 158};

void PrepareFlags(Ped& ped) {
    for (int flag : STEADY_CONFIG_FLAGS) ped.configFlags.emplace(flag, false);
}

void FillTables(World& w) {
    for (auto& [handle, ped] : w.peds) PrepareFlags(ped);
    pedTable.Fill(w.peds, 0);
    promptTable.Fill(w.prompts, w.prompts.empty() ? w.nextPromptHandle : w.prompts.begin()->first);
    tablesWorld = w.serial;
}

Ped* FindPed(World& w, std::int32_t h) {
    return pedTable.Find(w.peds, h);
}
Ped* LivePed(World& w, std::int32_t h) {
    Ped* p = FindPed(w, h);
    return (p && p->exists) ? p : nullptr;
}
Prompt* FindPrompt(World& w, std::int32_t h) {
    return promptTable.Find(w.prompts, h);
}

// ---- name hashes -----------------------------------------------------------------------
// The plug-in hashes only constant texts (control names, the scenario, model
// names), so a text's address names its hash for the whole run.

constexpr int NAME_CACHE_SIZE = 512;
struct NameCacheEntry {
    const char* text;
    std::uint32_t hash;
};
NameCacheEntry nameCache[NAME_CACHE_SIZE];

std::uint32_t HashOfText(const char* text) {
    const std::uintptr_t key = reinterpret_cast<std::uintptr_t>(text);
    std::uint32_t i = static_cast<std::uint32_t>((key * 0x9E3779B97F4A7C15ull) >> 55) & (NAME_CACHE_SIZE - 1);
    for (int probe = 0; probe < NAME_CACHE_SIZE; ++probe, i = (i + 1) & (NAME_CACHE_SIZE - 1)) {
        NameCacheEntry& e = nameCache[i];
        if (e.text == text) return e.hash;
        if (e.text == nullptr) {
            e.text = text;
            e.hash = GameHash(text);
            return e.hash;
        }
    }
    return GameHash(text);  // the cache is full: answer without keeping it
}

// ---- answers ---------------------------------------------------------------------------

void SetConfigFlag(Ped& p, int flag, bool value) {
    auto it = p.configFlags.find(flag);
    if (it != p.configFlags.end())
        it->second = value;
    else
        p.configFlags.emplace(flag, value);
}

struct LeanAnswer {
    std::uint64_t hash;
    NativeHandler handler;
};

// The lean answers, one per game function a steady frame of any menu page or
// bodyguard state can call. Each answers exactly as its full counterpart in
// natives.cpp, minus the display list and the text copies.
const LeanAnswer kLeanAnswers[] = {
    // names, the player, clocks
    {0xfd340785adf8cfb7 /* HashOfName */,
     [](World&, A a, R r) { SetInt(r, static_cast<std::int32_t>(HashOfText(a.S(0)))); }},
    {0x96275889b8e0ee0 /* GetPlayerPed */, [](World& w, A, R r) { SetInt(r, w.player.ped); }},
    {0x217e9dc48139933d /* GetPlayerId */, [](World& w, A, R r) { SetInt(r, w.player.id); }},
    {0x9bab31815159abcf /* GetPlayerGroup */,
     [](World& w, A a, R r) { SetInt(r, a.I(0) == w.player.id ? w.player.group : 0); }},
    {0x3ee1f7a8c32f24e1 /* GetPlayerTargetEntity */,
     [](World& w, A a, R r) {
         *a.P(1) = w.player.target;
         SetInt(r, w.player.target != 0);
     }},
    {0xa6817c110b830ead /* GetPlayerAimedEntity */,
     [](World& w, A a, R r) {
         *a.P(1) = w.player.aimed;
         SetInt(r, w.player.aimed != 0);
     }},
    {0x4f67e8eca7d3f667 /* GetGameTimer */, [](World& w, A, R r) { SetInt(r, w.gameTimer); }},
    {0xd53343aa4fb7dd28 /* RandomIntInRange */,
     [](World& w, A a, R r) { SetInt(r, w.NextRandom(a.I(0), a.I(1))); }},

    // entities
    {0xb417689857646f61 /* GetEntityInterior */,
     [](World& w, A a, R r) { SetInt(r, a.I(0) == w.player.ped ? w.player.interior : 0); }},
    {0x7d5b1f88e7504bba /* IsEntityDead */,
     [](World& w, A a, R r) {
         Ped* p = FindPed(w, a.I(0));
         SetInt(r, p && p->dead ? 1 : 0);
     }},
    {0xcf8176912dda4ea5 /* IsEntityAPed */,
     [](World& w, A a, R r) { SetInt(r, LivePed(w, a.I(0)) ? 1 : 0); }},
    {0x82368787ea73c0f7 /* GetEntityHealth */,
     [](World& w, A a, R r) {
         Ped* p = FindPed(w, a.I(0));
         SetInt(r, p ? p->health : 0);
     }},
    {0x15d757606d170c3c /* GetEntityMaxHealth */,
     [](World& w, A a, R r) {
         Ped* p = FindPed(w, a.I(0));
         SetInt(r, p ? p->maxHealth : 0);
     }},
    {0xac2767ed8bdfab15 /* SetEntityHealth */,
     [](World& w, A a, R) {
         Ped* p = LivePed(w, a.I(0));
         if (!p) return;
         p->health = a.I(1);
         p->dead = p->health <= 0;
         if (p->dead) p->health = 0;
     }},
    {0xa86d5f069399f44d /* GetEntityCoords */,
     [](World& w, A a, R r) {
         Vec3 v;
         if (Ped* p = FindPed(w, a.I(0))) v = p->pos;
         SetVector(r, v);
     }},
    {0x1899f328b0e12848 /* GetOffsetPosition */,
     [](World& w, A a, R r) {
         Vec3 base;
         if (Ped* p = FindPed(w, a.I(0))) base = p->pos;
         SetVector(r, {base.x + a.F(1), base.y + a.F(2), base.z + a.F(3)});
     }},
    {0x2a488c176d52cca5 /* GetDistanceBetweenCoords */,
     [](World&, A a, R r) {
         const float dx = a.F(0) - a.F(3), dy = a.F(1) - a.F(4), dz = a.F(2) - a.F(5);
         SetFloat(r, std::sqrt(dx * dx + dy * dy + dz * dz));
     }},

    // peds
    {0x10c70a515bc03707 /* GetPedOutfitCount */,
     [](World& w, A a, R r) {
         Ped* p = LivePed(w, a.I(0));
         SetInt(r, p ? p->outfitCount : 0);
     }},
    {0x77ff8d35eec6bbc4 /* SetPedOutfit */,
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) p->outfit = a.I(1);
     }},
    {0x1913fe4cbf41c463 /* SetPedConfigFlag */,
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) SetConfigFlag(*p, a.I(1), a.I(2) != 0);
     }},
    {0x7ee53118c892b513 /* GetPedConfigFlag */,
     [](World& w, A a, R r) {
         Ped* p = LivePed(w, a.I(0));
         if (!p) return SetInt(r, 0);
         auto it = p->configFlags.find(a.I(1));
         SetInt(r, it != p->configFlags.end() && it->second ? 1 : 0);
     }},
    {0xf29cf591c4bf6cee /* SetPedFollowSettingA */,
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) p->followSettingA = a.F(1);
     }},
    {0x33a8f7f7d5f7f33c /* SetPedFollowSettingB */,
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) p->followSettingB = a.F(1);
     }},
    {0x7dbdd04862d95f04 /* GetPedRelationshipGroupHash */,
     [](World& w, A a, R r) {
         Ped* p = FindPed(w, a.I(0));
         SetInt(r, p ? p->relationshipGroup : 0);
     }},
    {0xc80a74ac829ddd92 /* SetPedRelationshipGroupHash */,
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) p->relationshipGroup = a.I(1);
     }},
    {0x9f3480fe65db31b5 /* SetPedAsGroupMember */,
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) p->group = a.I(1);
     }},
    {0x9bb01e3834671191 /* IsPedGroupMember */,
     [](World& w, A a, R r) {
         Ped* p = LivePed(w, a.I(0));
         SetInt(r, p && p->group != 0 && p->group == a.I(1) ? 1 : 0);
     }},
    {0xce2f5fc3af7e8c1e /* SetGroupFormation */,
     [](World& w, A a, R) {
         auto it = w.groupFormation.find(a.I(0));
         if (it != w.groupFormation.end())
             it->second = a.I(1);
         else
             w.groupFormation.emplace(a.I(0), a.I(1));
     }},
    {0x4102c7858cfee4e4 /* SetGroupSeparationRange */,
     [](World& w, A a, R) {
         auto it = w.groupSeparation.find(a.I(0));
         if (it != w.groupSeparation.end())
             it->second = a.F(1);
         else
             w.groupSeparation.emplace(a.I(0), a.F(1));
     }},
    {0xe7e11b8dcbed1058 /* GetMount */,
     [](World& w, A a, R r) {
         Ped* p = FindPed(w, a.I(0));
         SetInt(r, p ? p->mount : 0);
     }},
    {0x4859f1fc66a6278e /* IsPedInAnyVehicle */,
     [](World& w, A a, R r) {
         Ped* p = FindPed(w, a.I(0));
         SetInt(r, p && p->inVehicle ? 1 : 0);
     }},
    {0xd5fe956c70ff370b /* IsPedOnFoot */,
     [](World& w, A a, R r) {
         Ped* p = FindPed(w, a.I(0));
         SetInt(r, p && p->exists && !p->inVehicle && p->mount == 0 ? 1 : 0);
     }},
    {0x34d6ac1157c8226c /* IsPedUsingScenario */,
     [](World& w, A a, R r) {
         Ped* p = LivePed(w, a.I(0));
         SetInt(r, p && p->scenario != 0 && p->scenario == a.I(1) ? 1 : 0);
     }},
    {0x524b54361229154f /* TaskStartScenarioInPlace */,
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) {
             p->scenario = a.I(1);
             p->combatTarget = 0;
         }
     }},
    {0xe1ef3c1216aff2cd /* ClearPedTasks */,
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) {
             p->scenario = 0;
             p->combatTarget = 0;
             p->ragdoll = false;
         }
     }},
    {0xf166e48407bac484 /* TaskCombatPed */,
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) {
             p->combatTarget = a.I(1);
             p->scenario = 0;
         }
     }},
    {0xae99fb955581844a /* SetPedToRagdoll */,
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) {
             p->ragdoll = true;
             ++p->ragdollCount;
         }
     }},
    {0xe3b6097cc25aa69e /* IsPedRagdoll */,
     [](World& w, A a, R r) {
         Ped* p = LivePed(w, a.I(0));
         SetInt(r, p && p->ragdoll ? 1 : 0);
     }},
    {0x9fa4664cf62e47e8 /* RefreshPedRagdoll */, [](World&, A, R) {}},
    {0xbc9ae166038a5cec /* PlayPedPain */,
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) {
             ++p->painCount;
             p->lastPainVariant = a.I(1);
         }
     }},

    // prompts
    {0x71215accfde075ee /* PromptSetEnabled */,
     [](World& w, A a, R) {
         if (Prompt* p = FindPrompt(w, a.I(0))) p->enabled = a.I(1) != 0;
     }},
    {0x8a0fb4d03a630d21 /* PromptSetVisible */,
     [](World& w, A a, R) {
         if (Prompt* p = FindPrompt(w, a.I(0))) p->visible = a.I(1) != 0;
     }},
    {0xe0f65f0640ef0617 /* PromptHasCompleted */,
     [](World& w, A a, R r) {
         Prompt* p = FindPrompt(w, a.I(0));
         SetInt(r, p && !p->deleted && p->completedFrame == w.frame ? 1 : 0);
     }},
    {0xede88d4d13cf59 /* PromptDelete */,
     [](World& w, A a, R) {
         if (Prompt* p = FindPrompt(w, a.I(0))) {
             p->deleted = true;
             p->enabled = p->visible = false;
         }
     }},

    // text and drawing: a handle per text, the drawing only counted
    {0xfa925ac00eb830b9 /* CreateVarString */, [](World& w, A, R r) { r[0] = w.nextTextHandle++; }},
    {0xd79334a4bb99bad1 /* DisplayText */, [](World&, A, R) { ++counters.drawn; }},
    {0x4170b650590b3b00 /* SetTextScale */, [](World&, A, R) {}},
    {0x50a41ad966910f03 /* SetTextColor */, [](World&, A, R) {}},
    {0x405224591df02025 /* DrawRect */, [](World&, A, R) { ++counters.drawn; }},
    {0xc9884ecade94cb34 /* DrawSprite */, [](World&, A, R) { ++counters.drawn; }},

    // menu input and sound
    {0x83666f9fb8febd4b /* GetMenuTimer */, [](World& w, A, R r) { SetInt(r, w.menuTimer); }},
    {0xc1b1e9a034a63a62 /* SetMenuTimer */, [](World& w, A a, R) { w.menuTimer = a.I(0); }},
    {0xe2587f8cbbd87b1d /* IsControlHeld */,
     [](World& w, A a, R r) { SetInt(r, w.controlsHeld.count(a.I(1)) ? 1 : 0); }},
    {0x305c8dcd79da8b0f /* IsControlTriggered */,
     [](World& w, A a, R r) { SetInt(r, w.controlsTriggered.count(a.I(1)) ? 1 : 0); }},
    {0xa571d46727e2b718 /* IsUsingKeyboard */, [](World& w, A, R r) { SetInt(r, w.usingKeyboard ? 1 : 0); }},
    {0x67c540aa08e4a6f5 /* PlayFrontendSound */, [](World& w, A, R) { ++w.sounds; }},
};

// ---- hash -> answer --------------------------------------------------------------------
// Every known game function has a slot in a small open-addressed table, found
// from its hash in one multiplication and (almost always) one probe.

constexpr int DISPATCH_SIZE = 512;
struct DispatchEntry {
    std::uint64_t hash = 0;
    const NativeInfo* info = nullptr;
    NativeHandler lean = nullptr;  // null: the full world answers
    int fixedArgs = 0;
    bool variadic = false;
    std::uint32_t outArgs = 0;  // bit i: argument i is an out-pointer
};
DispatchEntry dispatch[DISPATCH_SIZE];
bool dispatchBuilt = false;

std::uint32_t DispatchSlot(std::uint64_t hash) {
    return static_cast<std::uint32_t>((hash * 0x9E3779B97F4A7C15ull) >> 55) & (DISPATCH_SIZE - 1);
}

void BuildDispatch() {
    int count = 0;
    const NativeInfo* natives = NativeTable(&count);
    for (int n = 0; n < count; ++n) {
        DispatchEntry e;
        e.hash = natives[n].hash;
        e.info = &natives[n];
        for (const LeanAnswer& answer : kLeanAnswers) {
            if (answer.hash == e.hash) e.lean = answer.handler;
        }
        const char* sig = natives[n].signature;
        const int len = static_cast<int>(std::strlen(sig));
        e.variadic = len > 0 && sig[len - 1] == '*';
        e.fixedArgs = e.variadic ? len - 1 : len;
        for (int i = 0; i < e.fixedArgs && i < 32; ++i) {
            if (sig[i] == 'o' || sig[i] == 'v') e.outArgs |= 1u << i;
        }
        std::uint32_t slot = DispatchSlot(e.hash);
        while (dispatch[slot].info != nullptr) slot = (slot + 1) & (DISPATCH_SIZE - 1);
        dispatch[slot] = e;
    }
    // Every lean answer must belong to a known game function.
    for (const LeanAnswer& answer : kLeanAnswers) {
        if (FindNative(answer.hash) == nullptr) Fail("lean answer for an unknown game function", answer.hash);
    }
    dispatchBuilt = true;
}

const DispatchEntry* FindEntry(std::uint64_t hash) {
    std::uint32_t slot = DispatchSlot(hash);
    for (;;) {
        const DispatchEntry& e = dispatch[slot];
        if (e.hash == hash && e.info != nullptr) return &e;
        if (e.info == nullptr) return nullptr;
        slot = (slot + 1) & (DISPATCH_SIZE - 1);
    }
}

// The cold paths of a lean call, kept out of line so the answer itself stays short.
[[gnu::noinline]] void Record(const DispatchEntry& e, const unsigned long long* slots, int count) {
    CallRecording& rec = *recording;
    rec.calls.push_back(
        {e.hash, static_cast<std::uint32_t>(rec.args.size()), static_cast<std::uint32_t>(count)});
    for (int i = 0; i < count; ++i) {
        const bool out = i < 32 && (e.outArgs >> i) & 1u;
        rec.args.push_back(out ? reinterpret_cast<std::uintptr_t>(replayScratch) : slots[i]);
    }
}

[[gnu::noinline]] void FullAnswer(const DispatchEntry& e, World& w, const NativeArgs& args, R result) {
    ++counters.fullAnswers;
    e.info->handler(w, args, result);
}

[[gnu::noinline]] [[noreturn]] void BadCall(const DispatchEntry* e, std::uint64_t hash) {
    Fail(e == nullptr ? "unknown game function" : "wrong number of arguments", hash);
}

}  // namespace

LeanCounters& GetLeanCounters() {
    return counters;
}

void SetLeanMode(bool on) {
    if (on == leanMode) return;
    CallLog& log = GetCallLog();
    if (on) {
        if (!dispatchBuilt) BuildDispatch();
        logWasEnabled = log.enabled;
        log.enabled = false;
        FillTables(GetWorld());
    } else {
        log.enabled = logWasEnabled;
        recording = nullptr;
    }
    leanMode = on;
}

void CallRecording::Clear() {
    calls.clear();
    args.clear();
    frameEnds.clear();
}

void StartRecording(CallRecording* into) {
    recording = into;
}
void StopRecording() {
    recording = nullptr;
}

unsigned long long* LeanNativeCall(std::uint64_t hash, const unsigned long long* slots, int count,
                                   unsigned long long* result) {
    const DispatchEntry* e = FindEntry(hash);
    if (e == nullptr || (e->variadic ? count < e->fixedArgs : count != e->fixedArgs)) BadCall(e, hash);

    World& w = GetWorld();
    if (w.serial != tablesWorld) FillTables(w);
    if (recording != nullptr) Record(*e, slots, count);
    ++counters.calls;

    result[0] = result[1] = result[2] = result[3] = 0;
    const NativeArgs args{slots, count};
    if (e->lean != nullptr)
        e->lean(w, args, result);
    else
        FullAnswer(*e, w, args, result);
    return result;
}

void Replay(const CallRecording& rec) {
    std::size_t call = 0;
    const unsigned long long* args = rec.args.data();
    for (std::uint32_t frameEnd : rec.frameEnds) {
        AdvanceFrameClocks();
        for (; call < frameEnd; ++call) {
            const CallRecording::Entry& c = rec.calls[call];
            nativeInit(c.hash);
            for (std::uint32_t i = 0; i < c.argCount; ++i) nativePush64(args[c.firstArg + i]);
            nativeCall();
        }
    }
}

void AdvanceFrameClocks() {
    GetWorld().AdvanceClocks();
}

}  // namespace standin
