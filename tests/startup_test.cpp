// Startup: the saved roster comes back beside the player, each bodyguard in its
// own slot and row, and the next save names every bodyguard once, keeping the
// records whose model cannot be used at this start.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "menu/state.h"
#include "menu_game.h"
#include "roster/roster.h"
#include "script_calls.h"

using standin::Call;

namespace {

// The player stands at (-300, 790, 117); the row starts 2 m behind him, and
// saved record i stands 1 m further along y for each i.
constexpr float BASE_X = -300.0f, BASE_Y = 788.0f, BASE_Z = 117.0f;

std::string Record(int category, int index, int sidearm, int second, int longarm, int outfit) {
    std::string s;
    for (int v : {category, index, sidearm, second, longarm, outfit}) s += " " + std::to_string(v);
    return s;
}
const std::string FREE = Record(-1, -1, 0, 0, 0, 0);

// Record i's row: base.y - 2.0 + i, worked out in double and rounded once.
float RowY(float baseY, int i) {
    return static_cast<float>(static_cast<double>(baseY) - 2.0 + i);
}

std::string SaveOf(const std::vector<std::string>& records, int formation) {
    std::string s;
    for (const std::string& r : records) s += r;
    return s + " " + std::to_string(formation);
}

}  // namespace

class Startup : public MenuGameTest {
  protected:
    void Start() { StartAndSettle(10); }
    // Opens and closes the menu with its key, which saves.
    void SaveWithMenuKey() {
        Press(VK_HOME_KEY);
        Press(VK_HOME_KEY);
        ASSERT_EQ(menu.menuPage, PAGE_CLOSED);
    }
    const standin::Ped& PedIn(int slot) { return *World().FindPed(roster[slot].ped); }
    // The real weapons the slot's ped was given, in order.
    std::vector<std::uint32_t> ArmedWith(int slot) {
        std::vector<std::uint32_t> hashes;
        for (const standin::GivenWeapon& w : PedIn(slot).weapons) {
            if (w.hash != 0) hashes.push_back(w.hash);
        }
        return hashes;
    }
    void ExpectStandsInRow(int slot, int row) {
        ASSERT_NE(roster[slot].ped, 0) << "slot " << slot;
        EXPECT_EQ(PedIn(slot).pos.x, BASE_X);
        EXPECT_EQ(PedIn(slot).pos.y, RowY(BASE_Y, row));
        EXPECT_EQ(PedIn(slot).pos.z, BASE_Z);
    }
};

TEST_F(Startup, SecondStartBringsTheSameBodyguardsBackInTheirRows) {
    Start();
    Press(VK_HOME_KEY);
    Arrow(VK_DOWN_KEY);
    const int draws[3][5] = {{7, 2, 1, 9, 3}, {12, 8, 3, 10, 0}, {40, 5, 2, 9, 11}};
    for (const auto& d : draws) {
        World().scriptedRandom = {d[0], d[1], d[2], d[3], d[4]};
        Press(VK_ENTER_KEY);
    }
    for (int i = 0; i < 2; ++i) Arrow(VK_DOWN_KEY);
    Arrow(VK_LEFT_KEY);  // formation 10
    Press(VK_HOME_KEY);
    const std::string saved = ReadFile("Tavrossimer.dat");
    EXPECT_EQ(saved, SaveOf({Record(0, 7, 1, 0, 2, 3), Record(0, 12, 3, 0, 8, 0), Record(0, 40, 2, 0, 5, 11),
                             FREE, FREE, FREE, FREE},
                            10));

    standin::RestartGame();
    standin::RunFrames(10);
    EXPECT_EQ(formationMode, 10);
    for (int slot = 0; slot < 3; ++slot) {
        ExpectStandsInRow(slot, slot);
        EXPECT_EQ(PedIn(slot).model, standin::GameHash(maleModelNames[draws[slot][0]]));
        EXPECT_EQ(PedIn(slot).outfit, draws[slot][4]);
        EXPECT_EQ(ArmedWith(slot),
                  (std::vector<std::uint32_t>{sidearmHashes[draws[slot][2]], longarmHashes[draws[slot][1]]}));
        EXPECT_EQ(PedIn(slot).group, World().player.group);
    }
    EXPECT_EQ(FirstFreeSlot(), 3);
    EXPECT_EQ(World().peds.size(), 4u);  // the player and three bodyguards
    SaveWithMenuKey();
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), saved);
}

TEST_F(Startup, RecordsAreCheckedInOrderAndOnlyValidOnesComeBack) {
    const std::string gangRecord = Record(2, 7, 9, 9, 3, 2);
    const std::string maleRecord = Record(0, 3, 1, 0, 2, -1);
    WriteFile("Tavrossimer.dat",
              SaveOf({Record(0, MALE_MODEL_COUNT, 1, 0, 1, 0), Record(7, 0, 1, 0, 1, 0), maleRecord,
                      Record(0, 1, 24, 0, 1, 0), FREE, gangRecord, Record(0, 1, 1, 0, -1, 0)},
                     12));
    Start();
    EXPECT_EQ(formationMode, FORMATION_AUTO);

    // Only the records that pass the value checks reach the game's model tests.
    std::vector<std::string> seen;
    for (const Call* c : Log().Since(0)) {
        if (c->Is("IsModelAvailable") || c->Is("IsModelValid") || c->Is("CreatePed")) seen.push_back(c->name);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"IsModelAvailable", "IsModelValid", "CreatePed",
                                              "IsModelAvailable", "IsModelValid", "CreatePed"}));
    ExpectStandsInRow(2, 2);
    ExpectStandsInRow(5, 5);
    EXPECT_EQ(PedIn(2).outfit, -1);  // no outfit chosen: none given
    EXPECT_EQ(PedIn(5).displayName, "John");
    for (int slot : {0, 1, 3, 4, 6}) EXPECT_EQ(roster[slot].ped, 0) << slot;

    SaveWithMenuKey();
    EXPECT_EQ(ReadFile("Tavrossimer.dat"),
              SaveOf({FREE, FREE, maleRecord, FREE, FREE, gangRecord, FREE}, 11));
}

TEST_F(Startup, RecordWhoseModelIsUnusableNowKeepsItsSlotAndComesBackLater) {
    // Record 0 needs the custom list (missing at this start), record 2 a model
    // the game does not offer at the moment; record 1 is fine.
    const std::string custom = Record(4, 1, 2, 9, 3, 7);
    const std::string male = Record(0, 4, 1, 0, 2, 5);
    const std::string unavailable = Record(0, 6, 3, 0, 4, 1);
    const std::string saved = SaveOf({custom, male, unavailable, FREE, FREE, FREE, FREE}, 11);
    WriteFile("Tavrossimer.dat", saved);
    World().unavailableModels.insert(standin::GameHash(maleModelNames[6]));
    Start();
    EXPECT_EQ(roster[0].ped, 0);
    ExpectStandsInRow(1, 1);  // its own slot and row, though slot 0 is free
    EXPECT_EQ(roster[2].ped, 0);

    SaveWithMenuKey();
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), saved);  // each bodyguard once, none lost

    WriteFile("Tavrossimer_CustomPeds.txt", "header\nA_M_M_ValCowpoke_01\nA_M_M_RHDForeman_01\nEND_LIST\n");
    standin::RestartGame();
    standin::RunFrames(10);
    for (int slot = 0; slot < 3; ++slot) ExpectStandsInRow(slot, slot);
    EXPECT_EQ(PedIn(0).model, standin::GameHash("A_M_M_RHDForeman_01"));
    SaveWithMenuKey();
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), saved);
}

TEST_F(Startup, NewHireIntoAWaitingSlotTakesNothingFromTheWaitingRecord) {
    WriteFile("Tavrossimer.dat", SaveOf({Record(4, 0, 2, 9, 3, 7), FREE, FREE, FREE, FREE, FREE, FREE}, 11));
    Start();
    Press(VK_HOME_KEY);
    Arrow(VK_DOWN_KEY);
    World().scriptedRandom = {1, 4, 1, 9, 2};
    Press(VK_ENTER_KEY);
    ASSERT_NE(roster[0].ped, 0);
    EXPECT_EQ(roster[0].secondSidearm, 0);
    // Sidearm and longarm, no left-hand gun.
    EXPECT_EQ(ArmedWith(0), (std::vector<std::uint32_t>{sidearmHashes[1], longarmHashes[4]}));
    EXPECT_EQ(ReadFile("Tavrossimer.dat"),
              SaveOf({Record(0, 1, 1, 0, 4, 2), FREE, FREE, FREE, FREE, FREE, FREE}, 11));

    // Once its slot has been used, the waiting record is gone for good.
    Arrow(VK_DOWN_KEY);
    Press(VK_ENTER_KEY);
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), AllFreeSave());
}

TEST_F(Startup, HireAndDismissalWithoutASaveBetweenDropTheWaitingRecord) {
    // The model of record 0 never loads at this start.
    const std::string waiting = Record(0, 2, 1, 0, 1, 0);
    WriteFile("Tavrossimer.dat", SaveOf({waiting, FREE, FREE, FREE, FREE, FREE, FREE}, 11));
    World().modelLoadFramesFor[standin::GameHash(maleModelNames[2])] = -1;
    StartAndSettle(static_cast<int>(MODEL_LOAD_TIME_LIMIT_MS) / World().frameMs + 20);
    EXPECT_EQ(roster[0].ped, 0);
    SaveWithMenuKey();
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), SaveOf({waiting, FREE, FREE, FREE, FREE, FREE, FREE}, 11));

    // As the builder does with its preview: hire, then dismiss.
    ASSERT_EQ(HireOnScript(CATEGORY_MALE, 3, 0, -1, -1, -1, BASE_X, BASE_Y, BASE_Z), 0);
    standin::RunOnScript([] { DismissBodyguard(roster[0]); });
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), AllFreeSave());
}

TEST_F(Startup, RowPositionsAreRoundedOnceFromTheBasePoint) {
    // Where the player stands, base.y - 2.0 + i rounded once and the same sum
    // rounded at each step differ in the last bit for some rows: the
    // bodyguards must stand at the first.
    World().FindPed(World().player.ped)->pos = {12.5f, 0.137f, 40.0f};
    std::string saved;
    for (int i = 0; i < 7; ++i) saved += Record(0, i, 1, 0, 1, 0);
    WriteFile("Tavrossimer.dat", SaveOf({saved}, 3));
    Start();

    const Call* offset = nullptr;
    for (const Call* c : Log().Since(0)) {
        if (c->Is("GetOffsetPosition") && offset == nullptr) offset = c;
    }
    ASSERT_NE(offset, nullptr);
    const std::uint32_t bits = static_cast<std::uint32_t>(offset->result[1]);
    float baseY;
    std::memcpy(&baseY, &bits, sizeof baseY);
    int roundedTwiceDiffers = 0;
    for (int i = 0; i < 7; ++i) {
        ASSERT_NE(roster[i].ped, 0) << i;
        EXPECT_EQ(PedIn(i).pos.y, RowY(baseY, i)) << "record " << i;
        if (RowY(baseY, i) != baseY - 2.0f + static_cast<float>(i)) ++roundedTwiceDiffers;
    }
    EXPECT_GT(roundedTwiceDiffers, 0) << "the player's position does not tell the two roundings apart";
}

// Loading a story save tears the script down and starts it again, at any
// frame: while a model streams in for a hire, while the builder holds a
// bodyguard not yet confirmed, while a bodyguard is down. Each time the roster
// that comes back is exactly the last save written before, every bodyguard
// once and whole.
TEST_F(Startup, ARestartAtAnyPointBringsBackExactlyTheLastSave) {
    const std::string saved =
        SaveOf({Record(0, 2, 1, 0, 1, 0), Record(2, 7, 3, 0, 4, 1), FREE, FREE, FREE, FREE, FREE}, 4);
    WriteFile("Tavrossimer.dat", saved);
    auto restartAndCheck = [&](const char* during) {
        SCOPED_TRACE(during);
        standin::RestartGame();
        standin::RunFrames(10);
        EXPECT_EQ(ReadFile("Tavrossimer.dat"), saved);
        EXPECT_EQ(formationMode, 4);
        EXPECT_EQ(World().PedsInNamedSet("Tavrossimer").size(), 2u);
        const int models[2][2] = {{0, 2}, {2, 7}};
        for (int slot = 0; slot < ROSTER_SIZE; ++slot) {
            const BodyguardRecord& r = roster[slot];
            if (slot >= 2) {
                EXPECT_EQ(r.ped, 0) << slot;
                continue;
            }
            ASSERT_NE(r.ped, 0) << slot;
            EXPECT_EQ(r.modelCategory, models[slot][0]);
            EXPECT_EQ(r.modelIndex, models[slot][1]);
            const standin::Ped& ped = PedIn(slot);
            EXPECT_EQ(ped.health, 1000);
            EXPECT_EQ(ped.group, World().player.group);
            EXPECT_FALSE(r.downed);
            EXPECT_NE(r.helpPrompt, 0);
            ASSERT_NE(World().FindBlip(r.blip), nullptr);
        }
        SaveWithMenuKey();
        EXPECT_EQ(ReadFile("Tavrossimer.dat"), saved);
    };

    // At startup, while the second saved bodyguard's model streams in.
    World().modelLoadFrames = 200;
    StartAndSettle(20);
    ASSERT_EQ(World().PedsInNamedSet("Tavrossimer").size(), 0u);
    restartAndCheck("the startup respawn");

    // A random hire from the main page, its model still streaming.
    OpenMenu();
    MoveTo(1);
    World().modelLoadFrames = 200;
    standin::TapKey(VK_ENTER_KEY);
    standin::RunFrames(20);
    ASSERT_EQ(World().PedsInNamedSet("Tavrossimer").size(), 2u);
    restartAndCheck("a hire from the main page");

    // The builder holds a bodyguard hired from a model page, not confirmed.
    OpenMenu();
    MoveTo(0);
    Press(VK_ENTER_KEY);  // builder
    Press(VK_ENTER_KEY);  // category page
    Press(VK_ENTER_KEY);  // female models
    Arrow(VK_DOWN_KEY);   // "Spawn"
    Press(VK_ENTER_KEY);
    standin::RunMs(400);
    ASSERT_EQ(menu.menuPage, PAGE_BUILDER);
    ASSERT_EQ(builder.lastSpawnSlot, 2);
    restartAndCheck("the builder");

    // A bodyguard down and bleeding.
    World().FindPed(roster[1].ped)->health = 400;
    standin::RunMs(12000);
    ASSERT_TRUE(roster[1].downed);
    ASSERT_GE(roster[1].downedChecks, 2);
    restartAndCheck("a downed spell");
}
