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
#include "roster/loadout.h"
#include "roster/roster.h"

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

// A sidearm the player chooses is given with place 0; fixed gang weapons and
// every longarm go where a hire puts them.
constexpr std::int32_t CHOSEN_SIDEARM_PLACE = 0;

bool Building() {
    return builder.lastSpawnSlot != -1;
}

BodyguardRecord& BuildRecord() {
    return roster[builder.lastSpawnSlot];
}

// Forgets the build without touching the game or the roster.
void ForgetBuild() {
    builder = BuilderState{};
}

// The bodyguard under construction is an ordinary roster member, so it can be
// killed or dismissed (or everybody dismissed from the main page) while the menu
// is closed. Its slot is then free, or already holds somebody hired since. The
// build is over: nothing is left to dress, confirm, charge for or delete.
void ForgetVanishedBuild() {
    if (Building() && roster[builder.lastSpawnSlot].ped != builder.builderPed) ForgetBuild();
}

// Once per build, on the first builder frame after the spawn.
void PrepareBuild() {
    if (!Building() || builder.builderOutfitMax != -1) return;
    BodyguardRecord& record = BuildRecord();
    const std::int32_t ped = record.ped;
    if (builder.lastSpawnCategory != CATEGORY_GANG) {
        // A count the game reports below 0 would leave the build looking
        // unprepared for ever; such a ped has outfit 0 only.
        const int count = GetPedOutfitCount(ped);
        builder.builderOutfitMax = count < 0 ? 0 : count;
        return;
    }
    const GangLoadout loadout = GangLoadoutOf(builder.lastSpawnModelIndex);
    builder.builderOutfitMax = loadout.outfitLimit;
    builder.builderSidearm = loadout.sidearm;
    builder.builderSecondSidearm = loadout.secondSidearm;
    builder.builderLongarm = loadout.longarm;
    if (builder.builderSidearm != -1) {
        record.sidearm = builder.builderSidearm;
        GiveSidearm(ped, builder.builderSidearm, SIDEARM_PLACE);
    }
    if (builder.builderSecondSidearm != -1) {
        record.secondSidearm = builder.builderSecondSidearm;
        GiveSidearm(ped, builder.builderSecondSidearm, SECOND_SIDEARM_PLACE);
    }
    if (builder.builderLongarm != -1) {
        record.longarm = builder.builderLongarm;
        GiveLongarm(ped, builder.builderLongarm, LONGARM_PLACE);
    }
}

// Backing out of a line gives the bodyguard up; accept changes nothing.
void LineAcceptCancel() {
    if (MenuAcceptCancel(PAGE_BUILDER, PAGE_MAIN) == MENU_CANCELLED) DiscardBuilderBodyguard();
}

void OutfitLine() {
    if (Building() && MenuLeftRight(&builder.builderOutfit, builder.builderOutfitMax)) {
        BodyguardRecord& record = BuildRecord();
        record.outfit = builder.builderOutfit;
        SetPedOutfit(record.ped, builder.builderOutfit, 0);
    }
    LineAcceptCancel();
}

// A fixed gang sidearm (a unique row, above the heading) cannot be changed.
void SidearmLine() {
    if (Building() && builder.builderSidearm < SIDEARM_HEADING_ROW &&
        MenuLeftRight(&builder.builderSidearm, SIDEARM_LAST_REGULAR_ROW)) {
        BodyguardRecord& record = BuildRecord();
        RemoveSidearm(record.ped, record.sidearm);
        record.sidearm = builder.builderSidearm;
        GiveSidearm(record.ped, builder.builderSidearm, CHOSEN_SIDEARM_PLACE);
    }
    LineAcceptCancel();
}

void LongarmLine() {
    if (Building() && builder.builderLongarm < LONGARM_HEADING_ROW &&
        MenuLeftRight(&builder.builderLongarm, LONGARM_LAST_REGULAR_ROW)) {
        BodyguardRecord& record = BuildRecord();
        RemoveLongarm(record.ped, record.longarm);
        record.longarm = builder.builderLongarm;
        GiveLongarm(record.ped, builder.builderLongarm, LONGARM_PLACE);
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
        const char* name = builder.lastSpawnCategory == CATEGORY_GANG
                               ? gangMemberNames[builder.lastSpawnModelIndex]
                               : modelCatalogue[builder.lastSpawnCategory].names[builder.lastSpawnModelIndex];
        DrawMenuLine(name, ROW_MODEL_NAME);
        if (builder.builderOutfit == -1) {
            DrawMenuLine("- Choose Outfit -", ITEM_ROWS[ITEM_OUTFIT]);
        } else {
            DrawMenuLine(NumberLabel("Outfit - ", builder.builderOutfit, " -"), ITEM_ROWS[ITEM_OUTFIT]);
        }
        DrawWeaponLines(builder.builderSidearm, SIDEARM_HEADING_ROW, "- Choose Sidearm -", "Sidearm - ",
                        sidearmNames, ITEM_ROWS[ITEM_SIDEARM], ROW_SIDEARM_NAME);
        DrawWeaponLines(builder.builderLongarm, LONGARM_HEADING_ROW, "- Choose Longarm -", "Longarm - ",
                        longarmNames, ITEM_ROWS[ITEM_LONGARM], ROW_LONGARM_NAME);
        DrawMenuLine("Confirm", ITEM_ROWS[ITEM_CONFIRM]);
    }
    DrawMenuLine("Cancel", ITEM_ROWS[ITEM_CANCEL]);
}

}  // namespace

void DiscardBuilderBodyguard() {
    if (!Building()) return;
    DeleteBodyguard(builder.lastSpawnSlot);
    ForgetBuild();
}

void BuilderPage() {
    ForgetVanishedBuild();

    DrawMenuBackground();
    MenuUpDown(&menu.builderItem, LAST_ITEM);
    DrawMenuHighlight(ITEM_ROWS[menu.builderItem]);

    PrepareBuild();

    switch (menu.builderItem) {
        case ITEM_CHOOSE_MODEL:
            // Both ways the current bodyguard goes: accept leads on to the
            // category page, cancel back to the main page.
            if (MenuAcceptCancel(PAGE_CATEGORY, PAGE_MAIN) != MENU_NOTHING) DiscardBuilderBodyguard();
            break;
        case ITEM_OUTFIT: OutfitLine(); break;
        case ITEM_SIDEARM: SidearmLine(); break;
        case ITEM_LONGARM: LongarmLine(); break;
        case ITEM_CONFIRM: {
            const int r = MenuAcceptCancel(PAGE_MAIN, PAGE_MAIN);
            if (r == MENU_ACCEPTED) {
                Confirm();
                return;
            }
            if (r == MENU_CANCELLED) {
                DiscardBuilderBodyguard();
                return;
            }
            break;
        }
        case ITEM_CANCEL:
            if (MenuAcceptCancel(PAGE_MAIN, PAGE_MAIN) != MENU_NOTHING) {
                DiscardBuilderBodyguard();
                return;
            }
            break;
        default: break;
    }

    DrawLines();
}
