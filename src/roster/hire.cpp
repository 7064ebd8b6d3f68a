// Hiring: a bodyguard is created in a free slot of the roster (the first one,
// or at startup the slot it was saved in), dressed, armed, made a member of the
// player's group and relationship group, and given its health, its "Help"
// prompt, its name and a named blip on the map.
#include "catalog/catalog.h"
#include "config/settings.h"
#include "game/natives.h"
#include "host/platform.h"
#include "roster/loadout.h"
#include "roster/prompts.h"
#include "roster/roster.h"

namespace {

constexpr std::uint32_t BODYGUARD_BLIP_STYLE = 0x63351D54;
constexpr const char* BODYGUARD_BLIP_MODIFIER = "BLIP_AMBIENT_PED_MEDIUM";
constexpr const char* DEFAULT_BODYGUARD_NAME = "Bodyguard";
constexpr const char* HELP_PROMPT_CONTROL = "INPUT_CONTEXT_A";
constexpr const char* HELP_PROMPT_TEXT = "Help";
constexpr int HELP_PROMPT_NUMBER = 20;
constexpr std::int32_t NAMED_SET_MEMBER_KIND = 1;

constexpr float FOLLOW_SETTING = 50.0f;

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
    return HireBodyguardInto(slot, category, modelIndex, outfit, sidearm, secondSidearm, longarm, x, y, z);
}

int HireBodyguardInto(int slot, int category, int modelIndex, int outfit, int sidearm, int secondSidearm,
                      int longarm, float x, float y, float z) {
    if (slot < 0 || slot >= ROSTER_SIZE || roster[slot].ped != 0) return -1;
    const char* modelName = ModelNameOf(category, modelIndex);
    if (modelName == nullptr) return -1;

    BodyguardRecord& record = roster[slot];
    // The slot's model fields are put back as they were when no ped comes of
    // this hire.
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
    record.held = false;  // a record waiting for its model gives way to this one

    if (outfit != -1) {
        record.outfit = outfit;
        SetPedOutfit(ped, outfit, 0);
    }
    if (IsSidearmRow(sidearm)) {
        record.sidearm = sidearm;
        GiveSidearm(ped, sidearm, SIDEARM_PLACE);
    }
    if (IsSidearmRow(secondSidearm)) {
        record.secondSidearm = secondSidearm;
        GiveSidearm(ped, secondSidearm, SECOND_SIDEARM_PLACE);
    }
    if (IsLongarmRow(longarm)) {
        record.longarm = longarm;
        GiveLongarm(ped, longarm, RandomIntInRange(LONGARM_PLACE, LONGARM_PLACE_END));
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
