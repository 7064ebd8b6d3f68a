// The category page and the five model list pages: what they show, where
// accept and cancel lead, and the hire a "Spawn" makes for the builder.
#include <algorithm>
#include <string>
#include <vector>

#include "builder_driver.h"
#include "catalog/catalog.h"
#include "menu/state.h"
#include "persist/custom_peds.h"
#include "roster/roster.h"
#include "script_calls.h"

using Lines_ = std::vector<std::string>;

class ModelPages : public BuilderDriverTest {
  protected:
    void OpenPage(int page) {
        StartAndSettle();
        menu.menuPage = page;
        standin::RunFrame();
    }
    // Fills all seven slots with bodyguards the game knows nothing special about.
    void FillRoster() {
        for (int i = 0; i < ROSTER_SIZE; ++i) ASSERT_EQ(HireOnScript(0, i, -1, -1, -1, -1, 0, 0, 0), i);
    }
    int PedCount() { return static_cast<int>(World().peds.size()); }
};

// ---- category page ---------------------------------------------------------------------

TEST_F(ModelPages, CategoryPageShowsSixItemsAndOpensTheirPages) {
    OpenPage(PAGE_CATEGORY);
    EXPECT_EQ(Lines(), (Lines_{"0:Female", "1:Male", "2:Gang Member", "3:Custom list", "4:ALL", "6:Back"}));
    // The highlight follows a move in the frame it happens: up from the first
    // item to "Back", on row 6.
    standin::KeyDown(VK_UP_KEY);
    standin::RunFrame();
    EXPECT_EQ(menu.categoryItem, 5);
    EXPECT_EQ(standin::HighlightRow(), 6);
    standin::KeyUp(VK_UP_KEY);
    WaitGate();

    const int opens[6] = {PAGE_MODELS_FEMALE, PAGE_MODELS_MALE, PAGE_MODELS_GANG,
                          PAGE_MODELS_CUSTOM, PAGE_MODELS_ALL,  PAGE_BUILDER};
    for (int item = 0; item < 6; ++item) {
        menu.menuPage = PAGE_CATEGORY;
        menu.categoryItem = item;
        Enter();
        EXPECT_EQ(menu.menuPage, opens[item]) << "item " << item;
        menu.menuPage = PAGE_CATEGORY;
        Back();
        EXPECT_EQ(menu.menuPage, PAGE_BUILDER) << "cancel on item " << item;
    }
}

// ---- model list pages ------------------------------------------------------------------

TEST_F(ModelPages, ListPagesShowTheirLabelAndNameAndWrapAtBothEnds) {
    WriteFile(CUSTOM_PEDS_FILE_NAME, "my list\nCS_dutch\nU_M_M_ValSheriff_01\n");
    OpenPage(PAGE_MODELS_FEMALE);
    EXPECT_EQ(Lines(), (Lines_{"0:Model - 0 -", "1:A_F_M_ROUGHTRAVELLERS_01", "2:(Only one available)",
                               "3:Spawn", "4:Exit"}));
    // One female model: the selector stays, and still answers with its sound.
    const int sounds = World().sounds;
    Left();
    Right();
    EXPECT_EQ(menu.femaleModelIndex, 0);
    EXPECT_EQ(World().sounds, sounds + 2);

    menu.menuPage = PAGE_MODELS_MALE;
    Left();
    EXPECT_EQ(Lines(), (Lines_{"0:Model - 64 -", "1:G_M_M_UniGrays_02", "3:Spawn", "4:Exit"}));
    Right();
    EXPECT_EQ(standin::MenuLineAt(1), "A_M_M_UniCoachGuards_01");
    menu.menuPage = PAGE_MODELS_GANG;
    standin::RunFrame();
    EXPECT_EQ(standin::MenuLineAt(1), "Player_Zero");
    menu.menuPage = PAGE_MODELS_ALL;
    Left();
    EXPECT_EQ(standin::MenuLineAt(1), "U_M_Y_ShackStarvingKid_01");
    // The custom list's label has its own shape.
    menu.menuPage = PAGE_MODELS_CUSTOM;
    Right();
    EXPECT_EQ(Lines(), (Lines_{"0:Model 1-", "1:U_M_M_ValSheriff_01", "3:Spawn", "4:Exit"}));
}

TEST_F(ModelPages, LeavingResetsTheModelExceptCancelOnTheGangPagesSpawn) {
    OpenPage(PAGE_MODELS_ALL);
    StepModel(3);
    Enter();  // accept on the selector keeps the page and the model
    EXPECT_EQ(menu.menuPage, PAGE_MODELS_ALL);
    EXPECT_EQ(menu.allModelIndex, 3);
    Back();
    EXPECT_EQ(menu.menuPage, PAGE_CATEGORY);
    EXPECT_EQ(menu.allModelIndex, 0);

    // "Exit" (either key), and cancel on "Spawn": back to the category, model 0.
    for (auto [item, key] : {std::pair{2, VK_ENTER_KEY}, {2, VK_BACK_KEY}, {1, VK_BACK_KEY}}) {
        menu.menuPage = PAGE_MODELS_ALL;
        StepModel(2);
        MoveTo(menu.allItem, item);
        Press(key);
        EXPECT_EQ(menu.menuPage, PAGE_CATEGORY);
        EXPECT_EQ(menu.allModelIndex, 0);
    }

    menu.menuPage = PAGE_MODELS_GANG;
    StepModel(2);
    MoveTo(menu.gangItem, 1);
    Back();
    EXPECT_EQ(menu.menuPage, PAGE_MODELS_GANG);
    EXPECT_EQ(menu.gangModelIndex, 2);
    EXPECT_EQ(standin::MenuLineAt(1), "CS_abigailroberts");
    EXPECT_EQ(PedCount(), 1);
}

// ---- spawning --------------------------------------------------------------------------

TEST_F(ModelPages, SpawnHiresTheShownModelBehindThePlayerForTheBuilder) {
    OpenPage(PAGE_MODELS_MALE);
    StepModel(5);
    const std::size_t mark = Log().Mark();
    AcceptSpawn();

    ASSERT_EQ(builder.lastSpawnSlot, 0);
    const BodyguardRecord& r = roster[0];
    const standin::Ped* ped = World().FindPed(r.ped);
    ASSERT_NE(ped, nullptr);
    EXPECT_EQ(ped->model, standin::GameHash("A_M_M_BiVFancyDRIVERS_01"));
    EXPECT_TRUE(ped->weapons.empty());
    EXPECT_EQ(ped->outfit, 0);
    EXPECT_EQ(builder.lastSpawnCategory, CATEGORY_MALE);
    EXPECT_EQ(builder.lastSpawnModelIndex, 5);
    EXPECT_EQ(menu.maleModelIndex, 0);
    EXPECT_EQ(menu.menuPage, PAGE_BUILDER);
    // Neither paid for nor saved until the builder confirms.
    EXPECT_TRUE(World().player.charges.empty());
    EXPECT_FALSE(FileExists("Tavrossimer.dat"));

    // The point behind the player; after the ped is created: the hire's own
    // outfit 0, the pause, the page's outfit 0, and the frame ends with no line.
    EXPECT_EQ(CallsNamed(mark, {"GetOffsetPosition"}), (Lines_{"GetOffsetPosition(1, 0, -1, 0)"}));
    const auto tail = CallsNamed(mark, {"CreatePed", "scriptWait", "SetPedOutfit", "DisplayText"});
    const auto create = std::find_if(tail.begin(), tail.end(),
                                     [](const std::string& c) { return c.rfind("CreatePed(", 0) == 0; });
    ASSERT_GE(tail.end() - create, 5);
    const std::string outfit0 = "SetPedOutfit(" + std::to_string(r.ped) + ", 0, 0)";
    EXPECT_EQ(Lines_(create + 1, create + 5), (Lines_{outfit0, "scriptWait(300)", outfit0, "scriptWait(0)"}));

    // The page of all models puts its bodyguard in front of the player.
    menu.menuPage = PAGE_MODELS_ALL;
    const std::size_t allMark = Log().Mark();
    AcceptSpawn();
    EXPECT_EQ(CallsNamed(allMark, {"GetOffsetPosition"}), (Lines_{"GetOffsetPosition(1, 0, 1, 0)"}));
    ASSERT_EQ(builder.lastSpawnSlot, 1);
    EXPECT_EQ(builder.lastSpawnCategory, CATEGORY_ALL);
    EXPECT_EQ(World().FindPed(roster[1].ped)->model, standin::GameHash("A_F_M_ARMCHOLERACORPSE_01"));
}

TEST_F(ModelPages, FullRosterShowsItsNoticeAndKeepsTheModel) {
    OpenPage(PAGE_MODELS_GANG);
    FillRoster();
    StepModel(4);
    const int peds = PedCount();
    const std::size_t mark = Log().Mark();
    AcceptSpawn();
    EXPECT_EQ(menu.menuPage, PAGE_ROSTER_FULL);
    EXPECT_EQ(builder.lastSpawnSlot, -1);
    EXPECT_EQ(menu.gangModelIndex, 4);
    EXPECT_EQ(PedCount(), peds);
    const auto waits = CallsNamed(mark, {"scriptWait"});
    EXPECT_EQ(std::count(waits.begin(), waits.end(), "scriptWait(300)"), 1);
    EXPECT_TRUE(CallsNamed(mark, {"SetPedOutfit"}).empty());
}

// ---- the custom list -------------------------------------------------------------------

TEST_F(ModelPages, CustomModelsTheGameRefusesAreNotSpawned) {
    WriteFile(CUSTOM_PEDS_FILE_NAME, "my list\nNOT_AVAILABLE\nNOT_VALID\nCS_dutch\n");
    World().extraModels = {"NOT_AVAILABLE", "NOT_VALID"};  // known, but refused for a while
    World().unavailableModels.insert(standin::GameHash("NOT_AVAILABLE"));
    World().invalidModels.insert(standin::GameHash("NOT_VALID"));
    OpenPage(PAGE_MODELS_CUSTOM);

    // Not available: the validity is not asked.
    MoveTo(menu.customItem, 1);
    std::size_t mark = Log().Mark();
    Enter();
    const std::string h1 = ZHash("NOT_AVAILABLE");
    EXPECT_EQ(CallsNamed(mark, {"IsModelAvailable", "IsModelValid", "CreatePed", "GetOffsetPosition"}),
              (std::vector<std::string>{"IsModelAvailable(" + h1 + ")"}));
    EXPECT_EQ(menu.menuPage, PAGE_INVALID_MODEL);
    EXPECT_EQ(Lines(), (Lines_{"0:ERROR: InvalidModel", "2:Back"}));
    Enter();
    EXPECT_EQ(menu.menuPage, PAGE_MODELS_CUSTOM);
    EXPECT_EQ(menu.customModelIndex, 0);

    // Available but not valid: the name is hashed again for the second test.
    menu.customItem = 0;
    Right();
    MoveTo(menu.customItem, 1);
    mark = Log().Mark();
    Enter();
    const std::string h2 = ZHash("NOT_VALID");
    std::vector<std::string> asked;
    for (const std::string& c :
         CallsNamed(mark, {"HashOfName", "IsModelAvailable", "IsModelValid", "CreatePed"})) {
        // Controls and prompts are hashed by name too; only the model's own count.
        if (c.rfind("HashOfName(", 0) != 0 || c == "HashOfName(\"NOT_VALID\")") asked.push_back(c);
    }
    EXPECT_EQ(asked, (std::vector<std::string>{"HashOfName(\"NOT_VALID\")", "IsModelAvailable(" + h2 + ")",
                                               "HashOfName(\"NOT_VALID\")", "IsModelValid(" + h2 + ")"}));
    EXPECT_EQ(menu.menuPage, PAGE_INVALID_MODEL);
    Back();
    EXPECT_EQ(menu.menuPage, PAGE_MODELS_CUSTOM);
    EXPECT_EQ(menu.customModelIndex, 1);
    EXPECT_EQ(PedCount(), 1);
    EXPECT_EQ(builder.lastSpawnSlot, -1);

    // A name the game knows is hired from list 4.
    menu.customItem = 0;
    Right();
    AcceptSpawn();
    ASSERT_EQ(builder.lastSpawnSlot, 0);
    EXPECT_EQ(builder.lastSpawnCategory, CATEGORY_CUSTOM);
    EXPECT_EQ(builder.lastSpawnModelIndex, 2);
    EXPECT_EQ(World().FindPed(roster[0].ped)->model, standin::GameHash("CS_dutch"));
}

// The game knows the catalogue's models and those the user declares; a name
// with a stray space hashes to none of them.
TEST_F(ModelPages, CustomNamesTheGameDoesNotKnowShowTheInvalidModelNotice) {
    WriteFile(CUSTOM_PEDS_FILE_NAME, "my list\nCS_dutch \nMY_OWN_PED\nMY_DECLARED_PED\n");
    World().extraModels.insert("MY_DECLARED_PED");
    OpenPage(PAGE_MODELS_CUSTOM);
    for (int model = 0; model < 2; ++model) {
        menu.customItem = 0;
        if (model == 1) Right();
        MoveTo(menu.customItem, 1);
        Enter();
        EXPECT_EQ(menu.menuPage, PAGE_INVALID_MODEL) << "custom model " << model;
        Back();
    }
    EXPECT_EQ(PedCount(), 1);

    menu.customItem = 0;
    Right();
    AcceptSpawn();
    ASSERT_EQ(builder.lastSpawnSlot, 0);
    EXPECT_EQ(World().FindPed(roster[0].ped)->model, standin::GameHash("MY_DECLARED_PED"));
}

TEST_F(ModelPages, AnEmptyCustomListHasNothingToShowOrSpawn) {
    WriteFile(CUSTOM_PEDS_FILE_NAME, "END_LIST\nCS_dutch\n");
    OpenPage(PAGE_MODELS_CUSTOM);
    EXPECT_EQ(Lines(), (Lines_{"0:Model 0-", "1:(No models in the list)", "3:Spawn", "4:Exit"}));
    Left();
    Right();
    EXPECT_EQ(menu.customModelIndex, 0);

    MoveTo(menu.customItem, 1);
    const std::size_t mark = Log().Mark();
    Enter();
    standin::RunMs(600);
    EXPECT_EQ(menu.menuPage, PAGE_MODELS_CUSTOM);
    EXPECT_TRUE(
        CallsNamed(mark, {"IsModelAvailable", "IsModelValid", "GetOffsetPosition", "CreatePed"}).empty());
    const auto waits = CallsNamed(mark, {"scriptWait"});
    EXPECT_EQ(std::count(waits.begin(), waits.end(), "scriptWait(300)"), 0);
    EXPECT_EQ(builder.lastSpawnSlot, -1);
    EXPECT_EQ(standin::MenuLineAt(1), "(No models in the list)");

    Back();
    EXPECT_EQ(menu.menuPage, PAGE_CATEGORY);
}
