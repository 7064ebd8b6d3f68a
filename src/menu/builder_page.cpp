// The custom bodyguard builder. The bodyguard exists from the moment a model
// page spawned it; every choice made here is put on that live ped at once
// (outfit worn, old weapon taken away, new one given). "Confirm" keeps it, saves
// and charges; "Cancel", another model, or backing out of a line removes it.
// Gang members arrive with their own outfit range and, mostly, fixed weapons
// that are given when the build starts and cannot be changed.
#include "catalog/catalog.h"
#include "config/settings.h"
#include "game/natives.h"
#include "menu/draw.h"
#include "menu/input.h"
#include "menu/pages.h"
#include "menu/state.h"
#include "persist/save_file.h"
#include "roster/roster.h"

int builderPed = 0;

namespace {

constexpr int ITEM_CHOOSE_MODEL = 0;
constexpr int ITEM_OUTFIT = 1;
constexpr int ITEM_SIDEARM = 2;
constexpr int ITEM_LONGARM = 3;
constexpr int ITEM_CONFIRM = 4;
constexpr int ITEM_CANCEL = 5;
constexpr int LAST_ITEM = ITEM_CANCEL;
constexpr int ITEM_ROWS[LAST_ITEM + 1] = {0, 2, 3, 5, 8, 9};

constexpr int ROW_MODEL_NAME = 1;
constexpr int ROW_SIDEARM_NAME = 4;
constexpr int ROW_LONGARM_NAME = 6;

// GiveWeaponToPed's (a, b, place) for each way a weapon is handed over.
struct GiveTriple {
    int a, b, place;
};
constexpr GiveTriple FIXED_SIDEARM = {0, 1, 2};
constexpr GiveTriple FIXED_SECOND_SIDEARM = {0, 1, 3};
constexpr GiveTriple LONGARM = {1, 0, 9};
constexpr GiveTriple CHOSEN_SIDEARM = {0, 1, 0};

bool Building() {
    return lastSpawnSlot != -1;
}

BodyguardRecord& BuildRecord() {
    return roster[lastSpawnSlot];
}

void Discard() {
    DiscardBuilderBodyguard(lastSpawnSlot, lastSpawnCategory, lastSpawnModelIndex, true);
}

// Forgets the build without touching the game or the roster.
void ForgetBuild() {
    builderOutfitMax = builderOutfit = builderSidearm = builderSecondSidearm = builderLongarm = -1;
    lastSpawnSlot = lastSpawnCategory = lastSpawnModelIndex = -1;
    builderPed = 0;
}

// The bodyguard under construction is an ordinary roster member, so it can be
// killed or dismissed (or everybody dismissed from the main page) while the menu
// is closed. Its slot is then free, or already holds somebody hired since. The
// build is over: nothing is left to dress, confirm, charge for or delete.
void ForgetVanishedBuild() {
    if (Building() && roster[lastSpawnSlot].ped != builderPed) ForgetBuild();
}

void Give(std::int32_t ped, std::uint32_t weapon, GiveTriple t) {
    GiveWeaponToPed(ped, weapon, t.a, t.b, t.place);
    SetPedWeaponFlag(ped, 1, weapon);
}

// A row read back from the record indexes a weapon table only when it is a row
// of that table.
bool IsRow(int row, int count) {
    return row >= 0 && row < count;
}

// Once per build, on the first builder frame after the spawn.
void PrepareBuild() {
    if (!Building() || builderOutfitMax != -1) return;
    BodyguardRecord& record = BuildRecord();
    const std::int32_t ped = record.ped;
    if (lastSpawnCategory != CATEGORY_GANG) {
        // A count the game reports below 0 would leave the build looking
        // unprepared for ever; such a ped has outfit 0 only.
        const int count = GetPedOutfitCount(ped);
        builderOutfitMax = count < 0 ? 0 : count;
        return;
    }
    const GangLoadout loadout = GangLoadoutOf(lastSpawnModelIndex);
    builderOutfitMax = loadout.outfitLimit;
    builderSidearm = loadout.sidearm;
    builderSecondSidearm = loadout.secondSidearm;
    builderLongarm = loadout.longarm;
    if (builderSidearm != -1) {
        record.sidearm = builderSidearm;
        Give(ped, sidearmHashes[builderSidearm], FIXED_SIDEARM);
    }
    if (builderSecondSidearm != -1) {
        record.secondSidearm = builderSecondSidearm;
        Give(ped, sidearmHashes[builderSecondSidearm], FIXED_SECOND_SIDEARM);
    }
    if (builderLongarm != -1) {
        record.longarm = builderLongarm;
        Give(ped, longarmHashes[builderLongarm], LONGARM);
    }
}

// Backing out of a line gives the bodyguard up; accept changes nothing.
void LineAcceptCancel() {
    if (MenuAcceptCancel(PAGE_BUILDER, PAGE_MAIN) == MENU_CANCELLED) Discard();
}

void OutfitLine() {
    if (Building() && MenuLeftRight(&builderOutfit, builderOutfitMax)) {
        BodyguardRecord& record = BuildRecord();
        record.outfit = builderOutfit;
        SetPedOutfit(record.ped, builderOutfit, 0);
    }
    LineAcceptCancel();
}

// A fixed gang sidearm (a unique row, above the heading) cannot be changed.
void SidearmLine() {
    if (Building() && builderSidearm < SIDEARM_HEADING_ROW &&
        MenuLeftRight(&builderSidearm, SIDEARM_LAST_REGULAR_ROW)) {
        BodyguardRecord& record = BuildRecord();
        if (record.sidearm != 0 && IsRow(record.sidearm, SIDEARM_COUNT)) {
            RemoveWeaponFromPed(record.ped, sidearmHashes[record.sidearm], 1, 0);
        }
        record.sidearm = builderSidearm;
        Give(record.ped, sidearmHashes[builderSidearm], CHOSEN_SIDEARM);
    }
    LineAcceptCancel();
}

void LongarmLine() {
    if (Building() && builderLongarm < LONGARM_HEADING_ROW &&
        MenuLeftRight(&builderLongarm, LONGARM_LAST_REGULAR_ROW)) {
        BodyguardRecord& record = BuildRecord();
        if (record.longarm != 0 && IsRow(record.longarm, LONGARM_COUNT)) {
            RemoveWeaponFromPed(record.ped, longarmHashes[record.longarm], 1, 0);
        }
        record.longarm = builderLongarm;
        Give(record.ped, longarmHashes[builderLongarm], LONGARM);
    }
    LineAcceptCancel();
}

// The bodyguard now simply belongs to the roster: what was never chosen becomes
// the empty choice, the build ends, the roster is saved and the hire is paid.
// With no bodyguard under construction nothing was built, so nothing is saved
// (every change to the roster has saved already) and nothing is charged.
void Confirm() {
    if (!Building()) return;
    BodyguardRecord& record = BuildRecord();
    if (record.longarm == -1) record.longarm = 0;
    if (record.sidearm == -1) record.sidearm = 0;
    if (record.outfit == -1) record.outfit = 0;
    ForgetBuild();
    SaveRoster();
    if (PRICE > 0) ChargePlayer(HireChargeCents());
}

// A weapon line: "- Choose X -" until something is chosen; a fixed gang weapon
// shows the prompt dimmed with its name below; a chosen one shows its row.
void DrawWeaponLines(int choice, int headingRow, const char* choosePrompt, const char* labelPrefix,
                     const char* const* names, int row, int nameRow) {
    if (choice == -1) {
        DrawMenuLine(choosePrompt, row);
        return;
    }
    if (choice > headingRow) {
        DrawMenuLineDimmed(choosePrompt, row);
    } else {
        DrawMenuLine(NumberLabel(labelPrefix, choice, " -"), row);
    }
    DrawMenuLine(names[choice], nameRow);
}

void DrawLines() {
    DrawMenuLine("Choose Model", ITEM_ROWS[ITEM_CHOOSE_MODEL]);
    if (!Building()) {
        DrawMenuLineDimmed("- chose outfit -", ITEM_ROWS[ITEM_OUTFIT]);
        DrawMenuLineDimmed("- chose sidearm -", ITEM_ROWS[ITEM_SIDEARM]);
        DrawMenuLineDimmed("- chose longarm -", ITEM_ROWS[ITEM_LONGARM]);
        DrawMenuLineDimmed("Confirm", ITEM_ROWS[ITEM_CONFIRM]);
    } else {
        const char* name = lastSpawnCategory == CATEGORY_GANG
                               ? gangMemberNames[lastSpawnModelIndex]
                               : modelCatalogue[lastSpawnCategory].names[lastSpawnModelIndex];
        DrawMenuLine(name, ROW_MODEL_NAME);
        if (builderOutfit == -1) {
            DrawMenuLine("- Choose Outfit -", ITEM_ROWS[ITEM_OUTFIT]);
        } else {
            DrawMenuLine(NumberLabel("Outfit - ", builderOutfit, " -"), ITEM_ROWS[ITEM_OUTFIT]);
        }
        DrawWeaponLines(builderSidearm, SIDEARM_HEADING_ROW, "- Choose Sidearm -", "Sidearm - ", sidearmNames,
                        ITEM_ROWS[ITEM_SIDEARM], ROW_SIDEARM_NAME);
        DrawWeaponLines(builderLongarm, LONGARM_HEADING_ROW, "- Choose Longarm -", "Longarm - ", longarmNames,
                        ITEM_ROWS[ITEM_LONGARM], ROW_LONGARM_NAME);
        DrawMenuLine("Confirm", ITEM_ROWS[ITEM_CONFIRM]);
    }
    DrawMenuLine("Cancel", ITEM_ROWS[ITEM_CANCEL]);
}

}  // namespace

void BuilderPage() {
    ForgetVanishedBuild();

    DrawMenuBackground();
    MenuUpDown(&builderItem, LAST_ITEM);
    DrawMenuHighlight(ITEM_ROWS[builderItem]);

    PrepareBuild();

    switch (builderItem) {
        case ITEM_CHOOSE_MODEL:
            // Both ways the current bodyguard goes: accept leads on to the
            // category page, cancel back to the main page.
            if (MenuAcceptCancel(PAGE_CATEGORY, PAGE_MAIN) != MENU_NOTHING) Discard();
            break;
        case ITEM_OUTFIT:
            OutfitLine();
            break;
        case ITEM_SIDEARM:
            SidearmLine();
            break;
        case ITEM_LONGARM:
            LongarmLine();
            break;
        case ITEM_CONFIRM: {
            const int r = MenuAcceptCancel(PAGE_MAIN, PAGE_MAIN);
            if (r == MENU_ACCEPTED) {
                Confirm();
                return;
            }
            if (r == MENU_CANCELLED) {
                Discard();
                return;
            }
            break;
        }
        case ITEM_CANCEL:
            if (MenuAcceptCancel(PAGE_MAIN, PAGE_MAIN) != MENU_NOTHING) {
                Discard();
                return;
            }
            break;
        default:
            break;
    }

    DrawLines();
}
