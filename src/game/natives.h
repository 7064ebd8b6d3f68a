// One typed wrapper per game function the plug-in calls, each with its hash
// written once beside its name. Nothing else in the plug-in names a hash.
// Where the game's function does something other than its name here says, a
// comment above the wrapper says what the game does.
// Handles (peds, blips, prompts, groups) and hashes are 32-bit ints; 0 is none.
#pragma once

#include <cstdint>

#include "host/native.h"

// The wrappers stay one to a line where they fit, so the list reads as a table
// of names and hashes.
// clang-format off
// ---- names, models, the player ---------------------------------------------------------
inline std::int32_t HashOfName(const char* name) { return Invoke<std::int32_t>(0xfd340785adf8cfb7, name); }
inline std::int32_t IsNamedSetRegistered(const char* set, std::int32_t kind) {
    return Invoke<std::int32_t>(0x72355278c069f272, set, kind);
}
inline void RegisterNamedSet(const char* set, std::int32_t kind) { Invoke(0xb253d644e3c36b3, set, kind); }
inline void AddPedToNamedSet(std::int32_t ped, const char* set, std::int32_t kind) {
    Invoke(0xe88f4d7f52a6090f, ped, set, kind);
}
inline std::int32_t GetPlayerPed() { return Invoke<std::int32_t>(0x96275889b8e0ee0); }
inline std::int32_t GetPlayerId() { return Invoke<std::int32_t>(0x217e9dc48139933d); }
inline std::int32_t GetPlayerGroup(std::int32_t player) { return Invoke<std::int32_t>(0x9bab31815159abcf, player); }
inline std::int32_t GetPlayerTargetEntity(std::int32_t player, std::int32_t* entity, std::int32_t a, std::int32_t b) {
    return Invoke<std::int32_t>(0x3ee1f7a8c32f24e1, player, entity, a, b);
}
inline std::int32_t GetPlayerAimedEntity(std::int32_t player, std::int32_t* entity) {
    return Invoke<std::int32_t>(0xa6817c110b830ead, player, entity);
}
inline std::int32_t IsModelAvailable(std::int32_t model) { return Invoke<std::int32_t>(0xd6f3b6d7716cff8e, model); }
inline std::int32_t IsModelValid(std::int32_t model) { return Invoke<std::int32_t>(0x392c8d8e07b70efc, model); }
inline std::int32_t IsModelLoaded(std::int32_t model) { return Invoke<std::int32_t>(0x1283b8b89dd5d1b6, model); }
inline void RequestModel(std::int32_t model, std::int32_t priority) { Invoke(0xfa28fe3a6246fc30, model, priority); }
inline void ReleaseModel(std::int32_t model) { Invoke(0x4ad96ef928bd4f9a, model); }
inline std::int32_t RandomIntInRange(std::int32_t min, std::int32_t max) {
    return Invoke<std::int32_t>(0xd53343aa4fb7dd28, min, max);
}
inline std::int32_t GetGameTimer() { return Invoke<std::int32_t>(0x4f67e8eca7d3f667); }
inline void ChargePlayer(std::int32_t amount) { Invoke(0x466bc8769cf26a7a, amount); }

// ---- entities --------------------------------------------------------------------------
inline std::int32_t EntityExists(std::int32_t entity) { return Invoke<std::int32_t>(0xd42bd6eb2e0f1677, entity); }
inline Vector3 GetOffsetPosition(std::int32_t entity, float dx, float dy, float dz) {
    return Invoke<Vector3>(0x1899f328b0e12848, entity, dx, dy, dz);
}
inline Vector3 GetEntityCoords(std::int32_t entity, std::int32_t alive, std::int32_t realCoords) {
    return Invoke<Vector3>(0xa86d5f069399f44d, entity, alive, realCoords);
}
inline float GetDistanceBetweenCoords(float x1, float y1, float z1, float x2, float y2, float z2) {
    return Invoke<float>(0x2a488c176d52cca5, x1, y1, z1, x2, y2, z2);
}
inline std::int32_t GetEntityInterior(std::int32_t entity) { return Invoke<std::int32_t>(0xb417689857646f61, entity); }
inline std::int32_t IsEntityDead(std::int32_t entity) { return Invoke<std::int32_t>(0x7d5b1f88e7504bba, entity); }
inline std::int32_t IsEntityAPed(std::int32_t entity) { return Invoke<std::int32_t>(0xcf8176912dda4ea5, entity); }
inline std::int32_t GetEntityHealth(std::int32_t entity) { return Invoke<std::int32_t>(0x82368787ea73c0f7, entity); }
inline std::int32_t GetEntityMaxHealth(std::int32_t entity, std::int32_t unused) {
    return Invoke<std::int32_t>(0x15d757606d170c3c, entity, unused);
}
inline void SetEntityMaxHealth(std::int32_t entity, std::int32_t health) { Invoke(0x166e7cf68597d8b5, entity, health); }
inline void SetEntityHealth(std::int32_t entity, std::int32_t health, std::int32_t unused) {
    Invoke(0xac2767ed8bdfab15, entity, health, unused);
}
inline void SetEntityPosition(std::int32_t entity, float x, float y, float z, float heading, std::int32_t a,
                              std::int32_t b) {
    Invoke(0x918e3565c20f03c, entity, x, y, z, heading, a, b);
}
inline std::int32_t FindSafePosition(float x, float y, float z, std::int32_t flags, Vector3* out, std::int32_t kind) {
    return Invoke<std::int32_t>(0xb61c8e878a4199ca, x, y, z, flags, out, kind);
}

// ---- peds ------------------------------------------------------------------------------
inline std::int32_t CreatePed(std::int32_t model, float x, float y, float z, float heading, std::int32_t a,
                              std::int32_t b, std::int32_t c, std::int32_t d) {
    return Invoke<std::int32_t>(0xd49f9b0955c367de, model, x, y, z, heading, a, b, c, d);
}
// In the game: random outfit variation for the ped.
inline void PedInitFlagA(std::int32_t ped, std::int32_t v) { Invoke(0x283978a15512b2fe, ped, v); }
// In the game: places the ped on the ground properly.
inline void PedInitFlagB(std::int32_t ped, std::int32_t v) { Invoke(0x9587913b9e772d29, ped, v); }
// In the game: freezes the ped's position (0: unfreezes it).
inline void PedInitFlagC(std::int32_t ped, std::int32_t v) { Invoke(0x7d9efb7ad6b19754, ped, v); }
inline void SetPedScriptOwned(std::int32_t ped, std::int32_t a, std::int32_t b) {
    Invoke(0xdc19c288082e586e, ped, a, b);
}
inline std::int32_t IsPedScriptOwned(std::int32_t ped) { return Invoke<std::int32_t>(0x138190f64db4bbd1, ped); }
// In the game: removes the ped from its group.
inline void PedReleaseStep(std::int32_t ped) { Invoke(0xed74007ffb146bc2, ped); }
inline void ReleasePedHandle(std::int32_t* ped) { Invoke(0x2595dd4236549ce3, ped); }
inline void DeletePed(std::int32_t* ped) { Invoke(0x4cd38c78bd19a497, ped); }
inline std::int32_t GetPedOutfitCount(std::int32_t ped) { return Invoke<std::int32_t>(0x10c70a515bc03707, ped); }
inline void SetPedOutfit(std::int32_t ped, std::int32_t outfit, std::int32_t unused) {
    Invoke(0x77ff8d35eec6bbc4, ped, outfit, unused);
}
// The game function takes thirteen arguments; only the ped, the weapon and the
// (a, b, place) triple vary between the plug-in's calls.
inline std::int32_t GiveWeaponToPed(std::int32_t ped, std::uint32_t weapon, std::int32_t a, std::int32_t b,
                                    std::int32_t place) {
    return Invoke<std::int32_t>(0x5e3bddbcb83f3d84, ped, weapon, std::int32_t{150}, a, b, place, std::int32_t{1},
                                0.5f, 1.0f, std::uint32_t{0x5C05C64D}, std::int32_t{1}, 0.0f, std::int32_t{0});
}
inline void RemoveWeaponFromPed(std::int32_t ped, std::uint32_t weapon, std::int32_t a, std::int32_t b) {
    Invoke(0x4899cb088edf59b8, ped, weapon, a, b);
}
// In the game: gives the ped infinite ammunition for that weapon.
inline void SetPedWeaponFlag(std::int32_t ped, std::int32_t v, std::uint32_t weapon) {
    Invoke(0x3edcb0505123623b, ped, v, weapon);
}
// In the game: lets the ped play ambient animations.
inline void PedLoadoutFlag(std::int32_t ped, std::int32_t v) { Invoke(0x6373d1349925a70e, ped, v); }
// In the game: lets the ped teleport to its group's leader.
inline void SetPedGroupOption(std::int32_t ped, std::int32_t group, std::int32_t v) {
    Invoke(0x2e2f4240b3f24647, ped, group, v);
}
inline void SetPedIntOptionA(std::int32_t ped, std::int32_t v) { Invoke(0xc7622c0d36b2fda8, ped, v); }
inline void SetPedIntOptionB(std::int32_t ped, std::int32_t v) { Invoke(0x4d9ca1009afbd057, ped, v); }
inline void SetPedAttribute(std::int32_t ped, std::int32_t attribute, std::int32_t v) {
    Invoke(0x9f7794730795e019, ped, attribute, v);
}
inline void SetPedConfigFlag(std::int32_t ped, std::int32_t flag, bool v) { Invoke(0x1913fe4cbf41c463, ped, flag, v); }
inline std::int32_t GetPedConfigFlag(std::int32_t ped, std::int32_t flag, std::int32_t v) {
    return Invoke<std::int32_t>(0x7ee53118c892b513, ped, flag, v);
}
// In the game: sets the ped's seeing range.
inline void SetPedFollowSettingA(std::int32_t ped, float v) { Invoke(0xf29cf591c4bf6cee, ped, v); }
// In the game: sets the ped's hearing range.
inline void SetPedFollowSettingB(std::int32_t ped, float v) { Invoke(0x33a8f7f7d5f7f33c, ped, v); }
inline void SetPedDisplayName(std::int32_t ped, const char* name) { Invoke(0x4a48b6e03babb4ac, ped, name); }
inline std::int32_t GetPedRelationshipGroupHash(std::int32_t ped) {
    return Invoke<std::int32_t>(0x7dbdd04862d95f04, ped);
}
inline void SetPedRelationshipGroupHash(std::int32_t ped, std::int32_t hash) { Invoke(0xc80a74ac829ddd92, ped, hash); }
inline void SetPedAsGroupMember(std::int32_t ped, std::int32_t group) { Invoke(0x9f3480fe65db31b5, ped, group); }
inline std::int32_t IsPedGroupMember(std::int32_t ped, std::int32_t group, std::int32_t v) {
    return Invoke<std::int32_t>(0x9bb01e3834671191, SignExtended{ped}, SignExtended{group}, v);
}
inline void SetGroupFormation(std::int32_t group, std::int32_t formation) {
    Invoke(0xce2f5fc3af7e8c1e, group, formation);
}
inline void SetGroupSeparationRange(std::int32_t group, float range) { Invoke(0x4102c7858cfee4e4, group, range); }
inline std::int32_t GetMount(std::int32_t ped) { return Invoke<std::int32_t>(0xe7e11b8dcbed1058, ped); }
// In the game: non-zero while the ped is in combat (with anyone, for target 0).
inline std::int32_t IsPedInAnyVehicle(std::int32_t ped, std::int32_t v) {
    return Invoke<std::int32_t>(0x4859f1fc66a6278e, ped, v);
}
// In the game: non-zero while the ped moves crouched (sneaking).
inline std::int32_t IsPedOnFoot(std::int32_t ped) { return Invoke<std::int32_t>(0xd5fe956c70ff370b, ped); }
inline std::int32_t IsPedUsingScenario(std::int32_t ped, std::int32_t scenario) {
    return Invoke<std::int32_t>(0x34d6ac1157c8226c, ped, scenario);
}
inline void TaskStartScenarioInPlace(std::int32_t ped, std::int32_t scenario, std::int32_t a, std::int32_t b,
                                     std::int32_t c, float speed, std::int32_t d) {
    Invoke(0x524b54361229154f, ped, scenario, a, b, c, speed, d);
}
inline void ClearPedTasks(std::int32_t ped, std::int32_t a, std::int32_t b) { Invoke(0xe1ef3c1216aff2cd, ped, a, b); }
inline void AddPedTarget(std::int32_t ped, std::int32_t target, std::int32_t v) {
    Invoke(0x2f25d9aefa34fba2, SignExtended{ped}, SignExtended{target}, v);
}
inline void TaskCombatPed(std::int32_t ped, std::int32_t target, std::int32_t a, std::int32_t b) {
    Invoke(0xf166e48407bac484, ped, target, a, b);
}
inline void SetPedToRagdoll(std::int32_t ped, std::int32_t minTime, std::int32_t maxTime, std::int32_t a,
                            std::int32_t b, std::int32_t c, std::int32_t d) {
    Invoke(0xae99fb955581844a, ped, minTime, maxTime, a, b, c, d);
}
// In the game: the ped runs a ragdoll task.
inline std::int32_t IsPedRagdoll(std::int32_t ped) { return Invoke<std::int32_t>(0xe3b6097cc25aa69e, ped); }
inline void RefreshPedRagdoll(std::int32_t ped) { Invoke(0x9fa4664cf62e47e8, ped); }
inline void PlayPedPain(std::int32_t ped, std::int32_t variant, float intensity, std::int32_t a, std::int32_t b) {
    Invoke(0xbc9ae166038a5cec, ped, variant, intensity, a, b);
}

// ---- blips -----------------------------------------------------------------------------
inline std::int32_t BlipExists(std::int32_t blip) { return Invoke<std::int32_t>(0xcd82fa174080b3b1, blip); }
inline void RemoveBlip(std::int32_t* blip) { Invoke(0xf2c3c9da47aaa54a, blip); }
inline std::int32_t AddBlipForEntity(std::uint32_t style, std::int32_t entity) {
    return Invoke<std::int32_t>(0x23f74c2fda6e7c61, style, entity);
}
inline void SetBlipName(std::int32_t blip, TextHandle name) { Invoke(0x9cb1a1623062f402, blip, name); }
// In the game: sets the blip's sprite.
inline void SetBlipStyle(std::int32_t blip, std::int32_t style, std::int32_t v) {
    Invoke(0x74f74d3207ed525c, blip, style, v);
}

// ---- prompts ---------------------------------------------------------------------------
inline std::int32_t PromptRegisterBegin() { return Invoke<std::int32_t>(0x4f97de45a519419); }
inline void PromptSetControlAction(std::int32_t prompt, std::int32_t control) {
    Invoke(0xb5352b7494a08258, prompt, control);
}
inline void PromptSetText(std::int32_t prompt, TextHandle text) { Invoke(0x5dd02a8318420dd7, prompt, text); }
// In the game: sets the prompt's hold time in ms.
inline void PromptSetMode(std::int32_t prompt, std::int32_t mode) {
    Invoke(0x94073d5ca3f16b7b, prompt, SignExtended{mode});
}
inline std::int32_t GetPedPromptGroup(std::int32_t ped) { return Invoke<std::int32_t>(0xb796970bd125fce8, ped); }
inline void PromptSetGroup(std::int32_t prompt, std::int32_t group, std::int32_t page) {
    Invoke(0x2f11d3a254169ea4, prompt, SignExtended{group}, page);
}
inline void PromptRegisterEnd(std::int32_t prompt) { Invoke(0xf7aa2696a22ad8b9, prompt); }
// In the game: sets the prompt's visibility.
inline void PromptSetEnabled(std::int32_t prompt, bool enabled) { Invoke(0x71215accfde075ee, prompt, enabled); }
// In the game: sets whether the prompt is enabled.
inline void PromptSetVisible(std::int32_t prompt, bool visible) { Invoke(0x8a0fb4d03a630d21, prompt, visible); }
// In the game: the hold of a hold-mode prompt has completed.
inline std::int32_t PromptHasCompleted(std::int32_t prompt) { return Invoke<std::int32_t>(0xe0f65f0640ef0617, prompt); }
inline void PromptDelete(std::int32_t prompt) { Invoke(0xede88d4d13cf59, prompt); }

// ---- text, drawing, input, sound -------------------------------------------------------
// The game copies nothing: the text must stay valid until the frame is drawn.
inline TextHandle CreateVarString(std::int32_t flags, const char* format, const char* text) {
    return Invoke<TextHandle>(0xfa925ac00eb830b9, flags, format, text);
}
inline TextHandle CreateVarString(std::int32_t flags, const char* format, std::int32_t zero, TextHandle inner) {
    return Invoke<TextHandle>(0xfa925ac00eb830b9, flags, format, zero, inner);
}
inline void DisplayText(TextHandle text, float x, float y) { Invoke(0xd79334a4bb99bad1, text, x, y); }
inline void SetTextScale(float x, float y) { Invoke(0x4170b650590b3b00, x, y); }
inline void SetTextColor(std::int32_t r, std::int32_t g, std::int32_t b, std::int32_t a) {
    Invoke(0x50a41ad966910f03, r, g, b, a);
}
inline void DrawRect(float x, float y, float width, float height, std::int32_t r, std::int32_t g, std::int32_t b,
                     std::int32_t a, std::int32_t p1, std::int32_t p2) {
    Invoke(0x405224591df02025, x, y, width, height, r, g, b, a, p1, p2);
}
inline void DrawSprite(const char* dictionary, const char* texture, float x, float y, float width, float height,
                       float heading, std::int32_t r, std::int32_t g, std::int32_t b, std::int32_t a,
                       std::int32_t p) {
    Invoke(0xc9884ecade94cb34, dictionary, texture, x, y, width, height, heading, r, g, b, a, p);
}
inline std::int32_t GetMenuTimer() { return Invoke<std::int32_t>(0x83666f9fb8febd4b); }
inline void SetMenuTimer(std::int32_t value) { Invoke(0xc1b1e9a034a63a62, value); }
// In the game: the control is pressed, read even while the game disables it.
inline std::int32_t IsControlHeld(std::int32_t pad, std::int32_t control) {
    return Invoke<std::int32_t>(0xe2587f8cbbd87b1d, pad, control);
}
// In the game: the control was just released, read even while the game disables it.
inline std::int32_t IsControlTriggered(std::int32_t pad, std::int32_t control) {
    return Invoke<std::int32_t>(0x305c8dcd79da8b0f, pad, control);
}
inline std::int32_t IsUsingKeyboard(std::int32_t pad) { return Invoke<std::int32_t>(0xa571d46727e2b718, pad); }
inline void PlayFrontendSound(const char* sound, const char* soundSet, std::int32_t a, std::int32_t b) {
    Invoke(0x67c540aa08e4a6f5, sound, soundSet, a, b);
}
// clang-format on
