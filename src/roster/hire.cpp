// Hiring: a bodyguard is created in the first free slot of the roster, dressed,
// armed, made a member of the player's group and relationship group, and given
// its health, its "Help" prompt, its name and a named blip on the map.
#include "behaviour/behaviour.h"
#include "catalog/catalog.h"
#include "config/settings.h"
#include "game/natives.h"
#include "host/lifecycle.h"
#include "host/platform.h"
#include "roster/roster.h"

namespace {

constexpr std::uint32_t BODYGUARD_BLIP_STYLE = 0x63351D54;
constexpr const char* BODYGUARD_BLIP_MODIFIER = "BLIP_AMBIENT_PED_MEDIUM";
constexpr const char* DEFAULT_BODYGUARD_NAME = "Bodyguard";
constexpr const char* HELP_PROMPT_CONTROL = "INPUT_CONTEXT_A";
constexpr const char* HELP_PROMPT_TEXT = "Help";
constexpr int HELP_PROMPT_NUMBER = 20;
constexpr std::int32_t NAMED_SET_MEMBER_KIND = 1;

// Where the game keeps each weapon once given: the right hand, the left hand,
// and the two back slots a longarm can go to (9 or 10, chosen at random).
constexpr std::int32_t SIDEARM_PLACE = 2;
constexpr std::int32_t SECOND_SIDEARM_PLACE = 3;
constexpr std::int32_t LONGARM_PLACE_MIN = 9;
constexpr std::int32_t LONGARM_PLACE_END = 11;  // exclusive

constexpr float FOLLOW_SETTING = 50.0f;

// A weapon row read from a save file can be anything; only a row inside its
// table may be used to look up a hash.
bool RowInTable(int row, int count) {
    return row >= 0 && row < count;
}

// The model row must exist: a category or row outside the catalogue would read
// past the end of its list.
const char* ModelNameOf(int category, int modelIndex) {
    if (category < 0 || category >= CATEGORY_COUNT) return nullptr;
    const ModelList& list = modelCatalogue[category];
    if (list.names == nullptr || modelIndex < 0 || modelIndex >= list.count) return nullptr;
    return list.names[modelIndex];
}

const char* BodyguardNameOf(int category, int modelIndex) {
    if (category == CATEGORY_GANG && modelIndex >= 0 && modelIndex < GANG_MEMBER_COUNT) {
        return gangMemberNames[modelIndex];
    }
    return DEFAULT_BODYGUARD_NAME;
}

void GiveWeapon(std::int32_t ped, std::uint32_t weapon, std::int32_t a, std::int32_t b, std::int32_t place) {
    GiveWeaponToPed(ped, weapon, a, b, place);
    SetPedWeaponFlag(ped, 1, weapon);
}

// The ped's behaviour as a bodyguard: it keeps to the player, fights alongside
// and is not scared off. Attribute 5 is set twice, as the game expects it.
void SetBodyguardAttributes(std::int32_t ped) {
    SetPedAttribute(ped, 5, 1);
    SetPedAttribute(ped, 41, 1);
    SetPedAttribute(ped, 17, 1);
    SetPedConfigFlag(ped, 569, true);
    SetPedAttribute(ped, 5, 1);
    SetPedAttribute(ped, 58, 1);
    SetPedAttribute(ped, 3, 0);
    SetPedAttribute(ped, 24, 1);
    SetPedAttribute(ped, 91, 1);
    SetPedAttribute(ped, 125, 1);
    SetPedAttribute(ped, 93, 1);
    SetPedAttribute(ped, 46, 0);
    SetPedConfigFlag(ped, 259, true);
    SetPedConfigFlag(ped, 113, true);
    SetPedConfigFlag(ped, 265, false);
    // One headshot no longer kills; the flag is left alone when the setting is off.
    if (NO_HEADSHOT) SetPedConfigFlag(ped, 263, true);
}

}  // namespace

std::int32_t CreateBodyguardPed(std::int32_t model, float x, float y, float z) {
    if (IsModelLoaded(model) == 0) RequestModel(model, 1);
    // The script yields while the model streams in, but never for ever: a model
    // the game cannot load gives no ped. The bound is real time, read from the
    // host's tick count: a count of frames would run out far sooner at a high
    // frame rate than a model takes to stream from a slow disk. Each frame
    // counts for at most MODEL_WAIT_STEP_LIMIT_MS, so a machine woken from
    // sleep mid-wait, whose tick count jumps by hours, does not give up on a
    // model that is still coming; unsigned differences survive the tick
    // count's wrap.
    std::uint32_t waited = 0;
    std::uint32_t tick = GetTickCount();
    while (IsModelLoaded(model) == 0) {
        if (waited >= MODEL_LOAD_TIME_LIMIT_MS) {
            ReleaseModel(model);
            return 0;
        }
        scriptWait(0);
        const std::uint32_t now = GetTickCount();
        const std::uint32_t step = now - tick;
        waited += step < MODEL_WAIT_STEP_LIMIT_MS ? step : MODEL_WAIT_STEP_LIMIT_MS;
        tick = now;
    }

    // The game leaves the vector as it was when it finds no safe spot: the
    // requested point is then used as it stands.
    Vector3 position{x, y, z};
    FindSafePosition(x, y, z, 0, &position, 16);

    const std::int32_t ped = CreatePed(model, position.x, position.y, position.z, 0.0f, 1, 1, 1, 1);
    if (ped == 0) {
        ReleaseModel(model);
        return 0;
    }
    PedInitFlagA(ped, 1);
    PedInitFlagB(ped, 1);
    PedInitFlagC(ped, 0);
    // The ped stays the plug-in's until dismissal hands it back.
    SetPedScriptOwned(ped, 1, 1);
    ReleaseModel(model);
    return ped;
}

int HireBodyguard(int category, int modelIndex, int outfit, int sidearm, int secondSidearm, int longarm,
                  float x, float y, float z) {
    const int slot = FirstFreeSlot();
    if (slot == -1) return -1;
    const char* modelName = ModelNameOf(category, modelIndex);
    if (modelName == nullptr) return -1;

    BodyguardRecord& record = roster[slot];
    // A free slot may still hold a saved record that could not be brought back;
    // it is put back as it was when no ped comes of this hire.
    const std::int32_t previousCategory = record.modelCategory;
    const std::int32_t previousIndex = record.modelIndex;
    record.modelCategory = category;
    record.modelIndex = modelIndex;

    const std::int32_t model = HashOfName(modelName);
    const std::int32_t ped = CreateBodyguardPed(model, x, y, z);
    if (ped == 0) {
        record.modelCategory = previousCategory;
        record.modelIndex = previousIndex;
        return -1;
    }
    record.ped = ped;

    if (outfit != -1) {
        record.outfit = outfit;
        SetPedOutfit(ped, outfit, 0);
    }
    if (sidearm != -1 && RowInTable(sidearm, SIDEARM_COUNT)) {
        record.sidearm = sidearm;
        GiveWeapon(ped, sidearmHashes[sidearm], 0, 1, SIDEARM_PLACE);
    }
    if (secondSidearm != -1 && RowInTable(secondSidearm, SIDEARM_COUNT)) {
        record.secondSidearm = secondSidearm;
        GiveWeapon(ped, sidearmHashes[secondSidearm], 0, 1, SECOND_SIDEARM_PLACE);
    }
    if (longarm != -1 && RowInTable(longarm, LONGARM_COUNT)) {
        record.longarm = longarm;
        const std::int32_t place = RandomIntInRange(LONGARM_PLACE_MIN, LONGARM_PLACE_END);
        GiveWeapon(ped, longarmHashes[longarm], 1, 0, place);
    }
    PedLoadoutFlag(ped, 1);

    SetPedGroupOption(ped, GetPlayerGroup(GetPlayerId()), 1);
    SetPedIntOptionA(ped, 2);
    SetPedIntOptionB(ped, 1);
    SetBodyguardAttributes(ped);
    SetPedFollowSettingA(ped, FOLLOW_SETTING);
    SetPedFollowSettingB(ped, FOLLOW_SETTING);

    SetEntityMaxHealth(ped, spawnHealth);
    SetEntityHealth(ped, spawnHealth, 0);

    // Starts disabled and hidden; it is shown while the bodyguard is down.
    CreateBodyguardPrompt(&record.helpPrompt, HELP_PROMPT_CONTROL, false, 0, HELP_PROMPT_TEXT,
                          HELP_PROMPT_NUMBER);

    const char* name = BodyguardNameOf(category, modelIndex);
    SetPedDisplayName(ped, name);

    if (BlipExists(record.blip) != 0) RemoveBlip(&record.blip);
    const TextHandle blipName = CreateVarString(10, "LITERAL_STRING", name);
    record.blip = AddBlipForEntity(BODYGUARD_BLIP_STYLE, ped);
    SetBlipName(record.blip, blipName);
    SetBlipStyle(record.blip, HashOfName(BODYGUARD_BLIP_MODIFIER), 1);

    const std::int32_t group = GetPlayerGroup(GetPlayerId());
    const std::int32_t player = GetPlayerPed();
    SetPedRelationshipGroupHash(ped, GetPedRelationshipGroupHash(player));
    SetPedAsGroupMember(ped, group);

    AddPedToNamedSet(ped, NAMED_SET, NAMED_SET_MEMBER_KIND);
    return slot;
}
