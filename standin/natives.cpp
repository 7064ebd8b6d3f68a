#include "natives.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <utility>

#include "lean.h"

namespace standin {

namespace {

using R = unsigned long long*;
using A = const NativeArgs&;

Ped* LivePed(World& w, std::int32_t h) {
    Ped* p = w.FindPed(h);
    return (p && p->exists) ? p : nullptr;
}

// Argument i as the type of the field it goes into.
template <typename T>
T Arg(A a, int i) {
    if constexpr (std::is_same_v<T, float>) return a.F(i);
    if constexpr (std::is_same_v<T, std::string>) return a.S(i);
    if constexpr (std::is_integral_v<T>) return static_cast<T>(a.I(i));
}

// Handlers that only store an argument (the second unless said) in a field of
// a ped (`Live`: not a deleted one) or of a prompt, or answer a ped's field (0
// for no ped).
template <auto Field, bool Live = true, int From = 1>
void SetPedField(World& w, A a, R) {
    Ped* p = Live ? LivePed(w, a.I(0)) : w.FindPed(a.I(0));
    if (p) p->*Field = Arg<std::remove_reference_t<decltype(p->*Field)>>(a, From);
}
template <auto Field>
void SetPromptField(World& w, A a, R) {
    Prompt* p = w.FindPrompt(a.I(0));
    if (p) p->*Field = Arg<std::remove_reference_t<decltype(p->*Field)>>(a, 1);
}
template <auto Field, bool Live = false>
void PedField(World& w, A a, R r) {
    Ped* p = Live ? LivePed(w, a.I(0)) : w.FindPed(a.I(0));
    SetInt(r, p ? static_cast<std::int32_t>(p->*Field) : 0);
}

// Whether a live ped's field is set (not 0) and equals the second argument.
template <std::int32_t Ped::*Field>
void PedFieldIs(World& w, A a, R r) {
    Ped* p = LivePed(w, a.I(0));
    SetInt(r, p && p->*Field != 0 && p->*Field == a.I(1) ? 1 : 0);
}
// The entity the player targets or aims at, written to the second argument; whether there is one.
template <std::int32_t Player::*Field>
void PlayerEntity(World& w, A a, R r) {
    *a.P(1) = w.player.*Field;
    SetInt(r, w.player.*Field != 0);
}

std::string StripMarkup(const std::string& s) {
    std::string out;
    bool inTag = false;
    for (char c : s) {
        if (c == '<' || c == '>')
            inTag = c == '<';
        else if (!inTag)
            out += c;
    }
    return out;
}

std::string TextOf(World& w, std::uint64_t handle, const char* unknown = "") {
    auto it = w.texts.find(handle);
    return it == w.texts.end() ? std::string(unknown) : it->second;
}

// In lean mode nothing is drawn: the display list stays empty.
void AddText(World& w, std::uint64_t handle, float x, float y) {
    if (leanMode) return;
    DisplayItem item = std::exchange(w.pendingText, DisplayItem{});  // text settings apply to one text only
    item.x = x;
    item.y = y;
    item.text = TextOf(w, handle, "<unknown text handle>");
    item.plainText = StripMarkup(item.text);
    w.display.push_back(std::move(item));
}

// The item drawn, or null in lean mode.
DisplayItem* Draw(World& w, DisplayItem::Kind kind, A a, int first, int colour) {
    if (leanMode) return nullptr;
    DisplayItem d;
    d.kind = kind;
    d.x = a.F(first);
    d.y = a.F(first + 1);
    d.width = a.F(first + 2);
    d.height = a.F(first + 3);
    d.r = a.I(colour);
    d.g = a.I(colour + 1);
    d.b = a.I(colour + 2);
    d.a = a.I(colour + 3);
    d.trailing1 = a.I(colour + 4);
    return &w.display.emplace_back(d);
}

// The plug-in hashes only constant texts (control names, the scenario, model
// names), so in lean mode a text's address names its hash for the whole run,
// and the world remembers no names.
std::uint32_t HashOfText(const char* text) {
    constexpr std::uint32_t SIZE = 512;
    static struct {
        const char* text;
        std::uint32_t hash;
    } cache[SIZE];
    const std::uintptr_t key = reinterpret_cast<std::uintptr_t>(text);
    std::uint32_t i = static_cast<std::uint32_t>((key * 0x9E3779B97F4A7C15ull) >> 55) & (SIZE - 1);
    for (std::uint32_t probe = 0; probe < SIZE; ++probe, i = (i + 1) & (SIZE - 1)) {
        if (cache[i].text == text) return cache[i].hash;
        if (cache[i].text == nullptr) {
            cache[i] = {text, GameHash(text)};
            return cache[i].hash;
        }
    }
    return GameHash(text);  // the cache is full: answer without keeping it
}

const NativeInfo kNatives[] = {
    // ---- names, models, the player
    {0xfd340785adf8cfb7, "HashOfName", "s",
     [](World& w, A a, R r) {
         SetInt(r, static_cast<std::int32_t>(leanMode ? HashOfText(a.S(0)) : w.HashName(a.S(0))));
     }},
    {0x72355278c069f272, "IsNamedSetRegistered", "si",
     [](World& w, A a, R r) { SetInt(r, w.namedSets.count(a.S(0)) ? 1 : 0); }},
    {0xb253d644e3c36b3, "RegisterNamedSet", "si", [](World& w, A a, R) { w.namedSets.insert(a.S(0)); }},
    {0xe88f4d7f52a6090f, "AddPedToNamedSet", "esi",
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) p->namedSets.insert(a.S(1));
     }},
    {0x96275889b8e0ee0, "GetPlayerPed", "", [](World& w, A, R r) { SetInt(r, w.player.ped); }},
    {0x217e9dc48139933d, "GetPlayerId", "", [](World& w, A, R r) { SetInt(r, w.player.id); }},
    {0x9bab31815159abcf, "GetPlayerGroup", "i",
     [](World& w, A a, R r) { SetInt(r, a.I(0) == w.player.id ? w.player.group : 0); }},
    {0x3ee1f7a8c32f24e1, "GetPlayerTargetEntity", "ioii", PlayerEntity<&Player::target>},
    {0xa6817c110b830ead, "GetPlayerAimedEntity", "io", PlayerEntity<&Player::aimed>},
    {0xd6f3b6d7716cff8e, "IsModelAvailable", "i",
     [](World& w, A a, R r) { SetInt(r, w.KnownModel(a.U(0)) && !w.unavailableModels.count(a.U(0)) ? 1 : 0); }},
    {0x392c8d8e07b70efc, "IsModelValid", "i",
     [](World& w, A a, R r) { SetInt(r, w.KnownModel(a.U(0)) && !w.invalidModels.count(a.U(0)) ? 1 : 0); }},
    {0x1283b8b89dd5d1b6, "IsModelLoaded", "i",
     [](World& w, A a, R r) {
         auto it = w.modelReadyFrame.find(a.U(0));
         SetInt(r, it != w.modelReadyFrame.end() && it->second >= 0 && w.frame >= it->second);
     }},
    {0xfa28fe3a6246fc30, "RequestModel", "ii",
     [](World& w, A a, R) {
         ++w.modelRequests;
         if (w.modelReadyFrame.count(a.U(0))) return;
         auto o = w.modelLoadFramesFor.find(a.U(0));
         const int frames = o == w.modelLoadFramesFor.end() ? w.modelLoadFrames : o->second;
         // A model the game does not know never loads.
         const bool known =
             w.KnownModel(a.U(0)) && !w.unavailableModels.count(a.U(0)) && !w.invalidModels.count(a.U(0));
         w.modelReadyFrame[a.U(0)] = (frames < 0 || !known) ? -1 : w.frame + frames;
     }},
    {0x4ad96ef928bd4f9a, "ReleaseModel", "i", [](World& w, A, R) { ++w.modelReleases; }},
    {0xd53343aa4fb7dd28, "RandomIntInRange", "ii",
     [](World& w, A a, R r) { SetInt(r, w.NextRandom(a.I(0), a.I(1))); }},
    {0x4f67e8eca7d3f667, "GetGameTimer", "", [](World& w, A, R r) { SetInt(r, w.gameTimer); }},
    {0x466bc8769cf26a7a, "ChargePlayer", "i",
     [](World& w, A a, R) {
         w.player.money -= a.I(0);
         w.player.charges.push_back(a.I(0));
     }},

    // ---- entities
    {0xd42bd6eb2e0f1677, "EntityExists", "e",
     [](World& w, A a, R r) {
         Ped* p = w.FindPed(a.I(0));
         SetInt(r, p && (p->isPlayer ? w.player.pedExists : p->exists) ? 1 : 0);
     }},
    {0x1899f328b0e12848, "GetOffsetPosition", "efff",
     [](World& w, A a, R r) {
         Vec3 base;
         if (Ped* p = w.FindPed(a.I(0))) base = p->pos;
         SetVector(r, {base.x + a.F(1), base.y + a.F(2), base.z + a.F(3)});
     }},
    {0xa86d5f069399f44d, "GetEntityCoords", "eii",
     [](World& w, A a, R r) {
         Ped* p = w.FindPed(a.I(0));
         SetVector(r, p ? p->pos : Vec3{});
     }},
    {0x2a488c176d52cca5, "GetDistanceBetweenCoords", "ffffff",
     [](World&, A a, R r) {
         const float dx = a.F(0) - a.F(3), dy = a.F(1) - a.F(4), dz = a.F(2) - a.F(5);
         SetFloat(r, std::sqrt(dx * dx + dy * dy + dz * dz));
     }},
    {0xb417689857646f61, "GetEntityInterior", "e",
     [](World& w, A a, R r) { SetInt(r, a.I(0) == w.player.ped ? w.player.interior : 0); }},
    {0x7d5b1f88e7504bba, "IsEntityDead", "e", PedField<&Ped::dead>},
    {0xcf8176912dda4ea5, "IsEntityAPed", "e", [](World& w, A a, R r) { SetInt(r, LivePed(w, a.I(0)) ? 1 : 0); }},
    {0x82368787ea73c0f7, "GetEntityHealth", "e", PedField<&Ped::health>},
    {0x15d757606d170c3c, "GetEntityMaxHealth", "ei", PedField<&Ped::maxHealth>},
    {0x166e7cf68597d8b5, "SetEntityMaxHealth", "ei", SetPedField<&Ped::maxHealth>},
    {0xac2767ed8bdfab15, "SetEntityHealth", "eii",
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) w.SetHealth(*p, a.I(1));
     }},
    {0x918e3565c20f03c, "SetEntityPosition", "effffii",
     [](World& w, A a, R) {
         if (Ped* p = w.FindPed(a.I(0))) p->pos = {a.F(1), a.F(2), a.F(3)};
     }},
    {0xb61c8e878a4199ca, "FindSafePosition", "fffivi",
     [](World& w, A a, R r) {
         SetInt(r, w.safePositionFails ? 0 : 1);
         if (w.safePositionFails) return;
         // Three 8-byte slots, each float in the first four bytes of its slot.
         auto* out = reinterpret_cast<unsigned char*>(a.P(4));
         for (int i = 0; i < 3; ++i) std::memcpy(out + 8 * i, &a.slots[i], 4);
     }},

    // ---- peds
    {0xd49f9b0955c367de, "CreatePed", "iffffiiii",
     [](World& w, A a, R r) { SetInt(r, w.createPedFails ? 0 : w.SpawnPed(a.U(0), {a.F(1), a.F(2), a.F(3)})); }},
    {0x283978a15512b2fe, "PedInitFlagA", "ei", SetPedField<&Ped::randomOutfitVariation>},
    {0x9587913b9e772d29, "PedInitFlagB", "ei", SetPedField<&Ped::placeOnGround>},
    {0x7d9efb7ad6b19754, "PedInitFlagC", "ei", SetPedField<&Ped::frozen>},
    {0xdc19c288082e586e, "SetPedScriptOwned", "eii", SetPedField<&Ped::scriptOwned, false>},
    {0x138190f64db4bbd1, "IsPedScriptOwned", "e", PedField<&Ped::scriptOwned>},
    {0xed74007ffb146bc2, "PedReleaseStep", "e",
     [](World& w, A a, R) {
         if (Ped* p = w.FindPed(a.I(0))) p->group = 0;
     }},
    {0x2595dd4236549ce3, "ReleasePedHandle", "o",
     [](World& w, A a, R) {
         if (Ped* p = w.FindPed(*a.P(0))) {
             p->released = true;
             p->scriptOwned = false;
         }
         *a.P(0) = 0;
     }},
    {0x4cd38c78bd19a497, "DeletePed", "o",
     [](World& w, A a, R) {
         Ped* p = w.FindPed(*a.P(0));
         if (p && !p->survivesDeletion && !p->isPlayer) {
             p->exists = false;
             p->deleted = true;
             *a.P(0) = 0;
         }
     }},
    {0x10c70a515bc03707, "GetPedOutfitCount", "e", PedField<&Ped::outfitCount, true>},
    {0x77ff8d35eec6bbc4, "SetPedOutfit", "eii", SetPedField<&Ped::outfit>},
    {0x5e3bddbcb83f3d84, "GiveWeaponToPed", "eiiiiiiffiifi",
     [](World& w, A a, R r) {
         if (Ped* p = LivePed(w, a.I(0))) p->weapons.push_back({a.U(1), a.I(3), a.I(4), a.I(5)});
         SetInt(r, 1);
     }},
    {0x4899cb088edf59b8, "RemoveWeaponFromPed", "eiii",
     [](World& w, A a, R) {
         Ped* p = LivePed(w, a.I(0));
         if (!p) return;
         auto it = std::find_if(p->weapons.begin(), p->weapons.end(),
                                [&](const GivenWeapon& g) { return g.hash == a.U(1); });
         if (it != p->weapons.end()) p->weapons.erase(it);
     }},
    {0x3edcb0505123623b, "SetPedWeaponFlag", "eii",
     [](World& w, A a, R) {
         Ped* p = LivePed(w, a.I(0));
         if (!p) return;
         for (GivenWeapon& g : p->weapons) {
             if (g.hash == a.U(2)) g.infiniteAmmo = a.I(1) != 0;
         }
     }},
    {0x6373d1349925a70e, "PedLoadoutFlag", "ei", SetPedField<&Ped::ambientAnimations>},
    {0x2e2f4240b3f24647, "SetPedGroupOption", "eii", SetPedField<&Ped::teleportsToLeader, true, 2>},
    {0xc7622c0d36b2fda8, "SetPedIntOptionA", "ei", SetPedField<&Ped::intOptionA>},
    {0x4d9ca1009afbd057, "SetPedIntOptionB", "ei", SetPedField<&Ped::intOptionB>},
    {0x9f7794730795e019, "SetPedAttribute", "eii",
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) p->attributes[a.I(1)] = a.I(2);
     }},
    {0x1913fe4cbf41c463, "SetPedConfigFlag", "eii",
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) p->configFlags[a.I(1)] = a.I(2) != 0;
     }},
    {0x7ee53118c892b513, "GetPedConfigFlag", "eii",
     [](World& w, A a, R r) {
         const Ped* p = LivePed(w, a.I(0));
         SetInt(r, p && p->configFlags.count(a.I(1)) && p->configFlags.at(a.I(1)) ? 1 : 0);
     }},
    {0xf29cf591c4bf6cee, "SetPedFollowSettingA", "ef", SetPedField<&Ped::seeingRange>},
    {0x33a8f7f7d5f7f33c, "SetPedFollowSettingB", "ef", SetPedField<&Ped::hearingRange>},
    {0x4a48b6e03babb4ac, "SetPedDisplayName", "es", SetPedField<&Ped::displayName>},
    {0x7dbdd04862d95f04, "GetPedRelationshipGroupHash", "e", PedField<&Ped::relationshipGroup>},
    {0xc80a74ac829ddd92, "SetPedRelationshipGroupHash", "ei", SetPedField<&Ped::relationshipGroup>},
    {0x9f3480fe65db31b5, "SetPedAsGroupMember", "ei", SetPedField<&Ped::group>},
    {0x9bb01e3834671191, "IsPedGroupMember", "eii", PedFieldIs<&Ped::group>},
    {0xce2f5fc3af7e8c1e, "SetGroupFormation", "ii", [](World& w, A a, R) { w.groupFormation[a.I(0)] = a.I(1); }},
    {0x4102c7858cfee4e4, "SetGroupSeparationRange", "if",
     [](World& w, A a, R) { w.groupSeparation[a.I(0)] = a.F(1); }},
    {0xe7e11b8dcbed1058, "GetMount", "e", PedField<&Ped::mount>},
    {0x4859f1fc66a6278e, "IsPedInAnyVehicle", "ei",
     [](World& w, A a, R r) { SetInt(r, w.InCombat(a.I(0)) ? 1 : 0); }},
    {0xd5fe956c70ff370b, "IsPedOnFoot", "e", PedField<&Ped::crouching, true>},
    {0x34d6ac1157c8226c, "IsPedUsingScenario", "ei", PedFieldIs<&Ped::scenario>},
    {0x524b54361229154f, "TaskStartScenarioInPlace", "eiiiifi",
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) {
             p->scenario = a.I(1);
             p->combatTarget = 0;
         }
     }},
    {0xe1ef3c1216aff2cd, "ClearPedTasks", "eii",
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) {
             p->scenario = p->combatTarget = 0;
             p->ragdoll = false;
         }
     }},
    {0x2f25d9aefa34fba2, "AddPedTarget", "eei",
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) p->targets.push_back(a.I(1));
     }},
    {0xf166e48407bac484, "TaskCombatPed", "eeii",
     [](World& w, A a, R) {
         const Ped* target = LivePed(w, a.I(1));
         if (Ped* p = LivePed(w, a.I(0))) {
             p->combatTarget = target && !target->dead ? a.I(1) : 0;  // nobody fights the dead
             p->scenario = 0;
         }
     }},
    {0xae99fb955581844a, "SetPedToRagdoll", "eiiiiii",
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) {
             p->ragdoll = true;
             ++p->ragdollCount;
         }
     }},
    {0xe3b6097cc25aa69e, "IsPedRagdoll", "e", PedField<&Ped::ragdoll, true>},
    {0x9fa4664cf62e47e8, "RefreshPedRagdoll", "e", [](World&, A, R) {}},
    {0xbc9ae166038a5cec, "PlayPedPain", "eifii",
     [](World& w, A a, R) {
         if (Ped* p = LivePed(w, a.I(0))) {
             ++p->painCount;
             p->lastPainVariant = a.I(1);
         }
     }},

    // ---- blips
    {0xcd82fa174080b3b1, "BlipExists", "b",
     [](World& w, A a, R r) {
         Blip* b = w.FindBlip(a.I(0));
         SetInt(r, b && b->exists ? 1 : 0);
     }},
    {0xf2c3c9da47aaa54a, "RemoveBlip", "o",
     [](World& w, A a, R) {
         if (Blip* b = w.FindBlip(*a.P(0))) b->exists = false;
         *a.P(0) = 0;
     }},
    {0x23f74c2fda6e7c61, "AddBlipForEntity", "ie",
     [](World& w, A a, R r) {
         const std::int32_t h = w.nextBlipHandle++;
         Blip& b = w.blips[h];
         b.handle = h;
         b.style = a.U(0);
         b.entity = a.I(1);
         SetInt(r, h);
     }},
    {0x9cb1a1623062f402, "SetBlipName", "bt",
     [](World& w, A a, R) {
         if (Blip* b = w.FindBlip(a.I(0))) b->name = TextOf(w, a.T(1));
     }},
    {0x74f74d3207ed525c, "SetBlipStyle", "bii",
     [](World& w, A a, R) {
         if (Blip* b = w.FindBlip(a.I(0))) b->sprite = a.I(1);
     }},

    // ---- prompts
    {0x4f97de45a519419, "PromptRegisterBegin", "",
     [](World& w, A, R r) {
         const std::int32_t h = w.nextPromptHandle++;
         w.prompts[h].handle = h;
         SetInt(r, h);
     }},
    {0xb5352b7494a08258, "PromptSetControlAction", "ri",
     [](World& w, A a, R) {
         if (Prompt* p = w.FindPrompt(a.I(0))) {
             p->control = a.I(1);
             p->controlName = w.NameOfHash(a.U(1));
         }
     }},
    {0x5dd02a8318420dd7, "PromptSetText", "rt",
     [](World& w, A a, R) {
         if (Prompt* p = w.FindPrompt(a.I(0))) p->text = TextOf(w, a.T(1));
     }},
    {0x94073d5ca3f16b7b, "PromptSetMode", "ri", SetPromptField<&Prompt::holdTimeMs>},
    {0xb796970bd125fce8, "GetPedPromptGroup", "e", PedField<&Ped::promptGroup>},
    {0x2f11d3a254169ea4, "PromptSetGroup", "rii",
     [](World& w, A a, R) {
         if (Prompt* p = w.FindPrompt(a.I(0))) {
             p->grouped = true;
             p->group = a.I(1);
             p->groupPage = a.I(2);
         }
     }},
    {0xf7aa2696a22ad8b9, "PromptRegisterEnd", "r",
     [](World& w, A a, R) {
         if (Prompt* p = w.FindPrompt(a.I(0))) p->registrationEnded = true;
     }},
    // Named for what the plug-in asks of them, these two do the other's job in the game.
    {0x71215accfde075ee, "PromptSetEnabled", "ri", SetPromptField<&Prompt::visible>},
    {0x8a0fb4d03a630d21, "PromptSetVisible", "ri", SetPromptField<&Prompt::enabled>},
    {0xe0f65f0640ef0617, "PromptHasCompleted", "r",
     [](World& w, A a, R r) {
         Prompt* p = w.FindPrompt(a.I(0));
         SetInt(r, p && !p->deleted && p->completedFrame == w.frame ? 1 : 0);
     }},
    {0xede88d4d13cf59, "PromptDelete", "r",
     [](World& w, A a, R) {
         if (Prompt* p = w.FindPrompt(a.I(0))) {
             p->deleted = true;
             p->enabled = p->visible = false;
         }
     }},

    // ---- text, drawing, input, sound
    {0xfa925ac00eb830b9, "CreateVarString", "is*",
     [](World& w, A a, R r) {
         const std::uint64_t h = w.nextTextHandle++;
         r[0] = h;
         if (leanMode) return;  // a handle, no copy of the text
         const char* format = a.S(1);
         if (std::strcmp(format, "LITERAL_STRING") == 0 && a.count >= 3) {
             w.texts[h] = a.S(2);
         } else if (std::strcmp(format, "COLOR_STRING") == 0 && a.count >= 4) {
             w.texts[h] = TextOf(w, a.T(3));
         } else {
             w.texts[h] = std::string("<") + format + ">";
         }
     }},
    {0xd79334a4bb99bad1, "DisplayText", "tff", [](World& w, A a, R) { AddText(w, a.T(0), a.F(1), a.F(2)); }},
    {0x4170b650590b3b00, "SetTextScale", "ff",
     [](World& w, A a, R) {
         w.pendingText.scaleSet = true;
         w.pendingText.scaleX = a.F(0);
         w.pendingText.scaleY = a.F(1);
     }},
    {0x50a41ad966910f03, "SetTextColor", "iiii",
     [](World& w, A a, R) {
         DisplayItem& t = w.pendingText;
         t.colourSet = true;
         t.r = a.I(0);
         t.g = a.I(1);
         t.b = a.I(2);
         t.a = a.I(3);
     }},
    {0x405224591df02025, "DrawRect", "ffffiiiiii",
     [](World& w, A a, R) {
         if (DisplayItem* d = Draw(w, DisplayItem::Rect, a, 0, 4)) d->trailing2 = a.I(9);
     }},
    {0xc9884ecade94cb34, "DrawSprite", "ssfffffiiiii",
     [](World& w, A a, R) {
         DisplayItem* d = Draw(w, DisplayItem::Sprite, a, 2, 7);
         if (!d) return;
         d->dictionary = a.S(0);
         d->texture = a.S(1);
         d->heading = a.F(6);
     }},
    {0x83666f9fb8febd4b, "GetMenuTimer", "", [](World& w, A, R r) { SetInt(r, w.menuTimer); }},
    {0xc1b1e9a034a63a62, "SetMenuTimer", "i", [](World& w, A a, R) { w.menuTimer = a.I(0); }},
    {0xe2587f8cbbd87b1d, "IsControlHeld", "ii",
     [](World& w, A a, R r) { SetInt(r, w.controlsHeld.count(a.I(1)) ? 1 : 0); }},
    {0x305c8dcd79da8b0f, "IsControlTriggered", "ii",
     [](World& w, A a, R r) { SetInt(r, w.controlsTriggered.count(a.I(1)) ? 1 : 0); }},
    {0xa571d46727e2b718, "IsUsingKeyboard", "i", [](World& w, A, R r) { SetInt(r, w.usingKeyboard ? 1 : 0); }},
    {0x67c540aa08e4a6f5, "PlayFrontendSound", "ssii",
     [](World& w, A a, R) {
         ++w.sounds;
         if (leanMode) return;
         w.lastSound = a.S(0);
         w.lastSoundSet = a.S(1);
     }},
};

}  // namespace

const NativeInfo* NativeTable(int* count) {
    *count = static_cast<int>(sizeof kNatives / sizeof kNatives[0]);
    return kNatives;
}

}  // namespace standin
