// The roster: hiring a bodyguard into the first free slot, and dismissing one,
// all, or the builder's preview bodyguard.
#include "roster/roster.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "catalog/catalog.h"
#include "game_test.h"
#include "menu/pages.h"
#include "menu/state.h"
#include "persist/save_file.h"
#include "script_calls.h"

namespace {

const std::string GIVE_TAIL = ", 1, 0.5, 1, 1543882317, 1, 0, 0)";  // GiveWeaponToPed after (a, b, place)

std::string Fields(const BodyguardRecord& r) {
    std::ostringstream s;
    s << r.ped << ' ' << r.modelCategory << ' ' << r.modelIndex << ' ' << r.sidearm << ' ' << r.secondSidearm
      << ' ' << r.longarm << ' ' << r.outfit << ' ' << r.blip << ' ' << r.dismissPrompt << ' ' << r.helpPrompt
      << ' ' << r.stayPrompt << ' ' << r.followPrompt << ' ' << r.nextUpdateTime << ' ' << r.downed << ' '
      << r.downedChecks << ' ' << r.staying << ' ' << r.showCommandsPrompt << ' ' << r.hideCommandsPrompt
      << ' ' << r.promptsCreated << ' ' << r.commandsShown;
    return s.str();
}

std::vector<int> SavedNumbers(const std::string& text) {
    std::istringstream in(text);
    std::vector<int> out;
    for (int v; in >> v;) out.push_back(v);
    return out;
}

}  // namespace

class Hiring : public GameTest {
  protected:
    int Hire(int category, int row, int outfit = -1, int sidearm = -1, int second = -1, int longarm = -1) {
        return HireOnScript(category, row, outfit, sidearm, second, longarm, 10.5f, -20.25f, 30.0f);
    }
    standin::Ped& PedOf(int slot) { return *World().FindPed(roster[slot].ped); }
};

TEST_F(Hiring, MakesEveryGameCallInOrderWithItsArguments) {
    StartAndSettle();
    const char* model = maleModelNames[5];
    World().scriptedRandom.push_back(10);
    const std::size_t mark = Log().Mark();
    ASSERT_EQ(Hire(CATEGORY_MALE, 5, 2, 3, 9, 4), 0);

    const BodyguardRecord& r = roster[0];
    const std::string expected =
        R"(HashOfName("{NAME}"); IsModelLoaded({M}); RequestModel({M}, 1); IsModelLoaded({M})
        scriptWait(0); IsModelLoaded({M}); FindSafePosition(10.5, -20.25, 30, 0, &, 16)
        CreatePed({M}, 10.5, -20.25, 30, 0, 1, 1, 1, 1)
        PedInitFlagA({P}, 1); PedInitFlagB({P}, 1); PedInitFlagC({P}, 0); SetPedScriptOwned({P}, 1, 1)
        ReleaseModel({M}); SetPedOutfit({P}, 2, 0)
        GiveWeaponToPed({P}, {S3}{G0,1,2}; SetPedWeaponFlag({P}, 1, {S3})
        GiveWeaponToPed({P}, {S9}{G0,1,3}; SetPedWeaponFlag({P}, 1, {S9}); RandomIntInRange(9, 11)
        GiveWeaponToPed({P}, {L4}{G1,0,10}; SetPedWeaponFlag({P}, 1, {L4}); PedLoadoutFlag({P}, 1)
        GetPlayerId(); GetPlayerGroup(0); SetPedGroupOption({P}, 7, 1); SetPedIntOptionA({P}, 2)
        SetPedIntOptionB({P}, 1); SetPedAttribute({P}, 5, 1); SetPedAttribute({P}, 41, 1)
        SetPedAttribute({P}, 17, 1); SetPedConfigFlag({P}, 569, 1); SetPedAttribute({P}, 5, 1)
        SetPedAttribute({P}, 58, 1); SetPedAttribute({P}, 3, 0); SetPedAttribute({P}, 24, 1)
        SetPedAttribute({P}, 91, 1); SetPedAttribute({P}, 125, 1); SetPedAttribute({P}, 93, 1)
        SetPedAttribute({P}, 46, 0); SetPedConfigFlag({P}, 259, 1); SetPedConfigFlag({P}, 113, 1)
        SetPedConfigFlag({P}, 265, 0); SetPedConfigFlag({P}, 263, 1)
        SetPedFollowSettingA({P}, 50); SetPedFollowSettingB({P}, 50)
        SetEntityMaxHealth({P}, 1000); SetEntityHealth({P}, 1000, 0)
        PromptRegisterBegin(); HashOfName("INPUT_CONTEXT_A"); PromptSetControlAction({H}, {CONTEXT})
        CreateVarString(10, "LITERAL_STRING", "Help"); PromptSetText({H}, T"Help"); PromptSetMode({H}, 24)
        PromptRegisterEnd({H}); PromptSetEnabled({H}, 0); PromptSetVisible({H}, 0)
        SetPedDisplayName({P}, "Bodyguard"); BlipExists(0)
        CreateVarString(10, "LITERAL_STRING", "Bodyguard"); AddBlipForEntity(1664425300, {P})
        SetBlipName({BLIP}, T"Bodyguard"); HashOfName("BLIP_AMBIENT_PED_MEDIUM")
        SetBlipStyle({BLIP}, {MEDIUM}, 1)
        GetPlayerId(); GetPlayerGroup(0); GetPlayerPed(); GetPedRelationshipGroupHash(1)
        SetPedRelationshipGroupHash({P}, {PLAYER}); SetPedAsGroupMember({P}, 7)
        AddPedToNamedSet({P}, "Tavrossimer", 1))";
    EXPECT_EQ(CallsSince(mark), ExpectedCalls(expected, {{"{G0,1,2}", ", 150, 0, 1, 2" + GIVE_TAIL},
                                                         {"{G0,1,3}", ", 150, 0, 1, 3" + GIVE_TAIL},
                                                         {"{G1,0,10}", ", 150, 1, 0, 10" + GIVE_TAIL},
                                                         {"{NAME}", model},
                                                         {"{M}", ZHash(model)},
                                                         {"{P}", std::to_string(r.ped)},
                                                         {"{H}", std::to_string(r.helpPrompt)},
                                                         {"{BLIP}", std::to_string(r.blip)},
                                                         {"{S3}", Z(sidearmHashes[3])},
                                                         {"{S9}", Z(sidearmHashes[9])},
                                                         {"{L4}", Z(longarmHashes[4])},
                                                         {"{CONTEXT}", ZHash("INPUT_CONTEXT_A")},
                                                         {"{MEDIUM}", ZHash("BLIP_AMBIENT_PED_MEDIUM")},
                                                         {"{PLAYER}", ZHash("PLAYER")}}));

    EXPECT_EQ(r.modelCategory, CATEGORY_MALE);
    EXPECT_EQ(r.modelIndex, 5);
    EXPECT_EQ(r.outfit, 2);
    EXPECT_EQ(r.sidearm, 3);
    EXPECT_EQ(r.secondSidearm, 9);
    EXPECT_EQ(r.longarm, 4);
    const standin::Ped& p = PedOf(0);
    EXPECT_TRUE(p.scriptOwned);
    EXPECT_EQ(p.group, 7);
    EXPECT_EQ(p.health, 1000);
    EXPECT_TRUE(p.namedSets.count("Tavrossimer"));
    EXPECT_EQ(World().FindBlip(r.blip)->entity, r.ped);
    EXPECT_EQ(World().FindBlip(r.blip)->name, "Bodyguard");
}

TEST_F(Hiring, TakesTheFirstFreeSlotAndKeepsWhatTheSlotHeld) {
    StartAndSettle();
    roster[0].ped = roster[2].ped = 555;  // occupied
    roster[1].staying = true;             // left behind while the slot was free
    roster[1].nextUpdateTime = 1234;
    EXPECT_EQ(Hire(CATEGORY_MALE, 0), 1);
    EXPECT_TRUE(roster[1].staying);
    EXPECT_EQ(roster[1].nextUpdateTime, 1234);
    EXPECT_EQ(roster[0].ped, 555);
}

TEST_F(Hiring, SevenFillTheRosterInOrderAndAnEighthMakesNoCallAtAll) {
    StartAndSettle();
    for (int i = 0; i < ROSTER_SIZE; ++i) EXPECT_EQ(Hire(CATEGORY_ALL, 100 + i), i);
    const auto before = Fields(roster[6]);
    const std::size_t mark = Log().Mark();
    EXPECT_EQ(Hire(CATEGORY_MALE, 1), -1);
    EXPECT_EQ(CallsSince(mark), std::vector<std::string>{});
    EXPECT_EQ(Fields(roster[6]), before);
}

TEST_F(Hiring, GangMembersBearTheirNameAndEveryoneElseIsBodyguard) {
    StartAndSettle();
    ASSERT_EQ(Hire(CATEGORY_GANG, 7), 0);
    ASSERT_EQ(Hire(CATEGORY_ALL, 7), 1);
    ASSERT_EQ(Hire(CATEGORY_FEMALE, 0), 2);
    const char* names[] = {"John", "Bodyguard", "Bodyguard"};
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(PedOf(slot).displayName, names[slot]);
        EXPECT_EQ(World().FindBlip(roster[slot].blip)->name, names[slot]);
    }
}

TEST_F(Hiring, OutfitMinusOneKeepsTheSlotsValueAndMakesNoCall) {
    StartAndSettle();
    roster[0].outfit = 6;
    std::size_t mark = Log().Mark();
    ASSERT_EQ(Hire(CATEGORY_MALE, 2, -1), 0);
    EXPECT_TRUE(Log().Since(mark, "SetPedOutfit").empty());
    EXPECT_EQ(roster[0].outfit, 6);

    mark = Log().Mark();
    ASSERT_EQ(Hire(CATEGORY_MALE, 2, 0), 1);
    EXPECT_EQ(CallsNamed(mark, {"SetPedOutfit"}), Transcript{"SetPedOutfit(" + Z(roster[1].ped) + ", 0, 0)"});
    EXPECT_EQ(roster[1].outfit, 0);
}

TEST_F(Hiring, WeaponsGoToTheirPlacesAndBadRowsAreSkipped) {
    StartAndSettle();
    // Row 0 gives hash 0 like any other row; the longarm goes to place 9 or 10.
    ASSERT_EQ(Hire(CATEGORY_GANG, 1, -1, 8, 9, 0), 0);
    const auto& w = PedOf(0).weapons;
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0].hash, sidearmHashes[8]);
    EXPECT_EQ(w[0].place, 2);
    EXPECT_EQ(w[1].hash, sidearmHashes[9]);
    EXPECT_EQ(w[1].place, 3);
    EXPECT_EQ(w[2].hash, 0u);
    EXPECT_TRUE(w[2].place == 9 || w[2].place == 10) << w[2].place;
    EXPECT_TRUE(w[0].infiniteAmmo && w[1].infiniteAmmo && w[2].infiniteAmmo);

    // Rows outside their tables (a hand-edited save) give nothing; -1 gives nothing either.
    const std::pair<int, int> bad[] = {{24, 19}, {-2, -7}, {1000000, 99}};
    for (int i = 0; i < 3; ++i) {
        const std::size_t mark = Log().Mark();
        ASSERT_EQ(Hire(CATEGORY_MALE, 3, -1, i == 0 ? -1 : 1, bad[i].first, bad[i].second), i + 1);
        const BodyguardRecord& r = roster[i + 1];
        EXPECT_EQ(r.secondSidearm, 0);
        EXPECT_EQ(r.longarm, 0);
        EXPECT_EQ(r.sidearm, i == 0 ? 0 : 1);
        EXPECT_EQ(PedOf(i + 1).weapons.size(), i == 0 ? 0u : 1u);
        EXPECT_TRUE(Log().Since(mark, "RandomIntInRange").empty());
        EXPECT_TRUE(PedOf(i + 1).namedSets.count("Tavrossimer"));
    }
}

TEST_F(Hiring, HeadshotFlagAndHealthFollowTheSettings) {
    WriteSettings("NO_HEADSHOT=0\nALLOW_REVIVE=0\n");
    StartAndSettle();
    const std::size_t mark = Log().Mark();
    ASSERT_EQ(Hire(CATEGORY_MALE, 0), 0);
    for (const standin::Call* c : Log().Since(mark, "SetPedConfigFlag")) EXPECT_NE(c->I(1), 263);
    EXPECT_EQ(PedOf(0).configFlags.count(263), 0u);
    EXPECT_EQ(PedOf(0).health, 500);
    EXPECT_EQ(PedOf(0).maxHealth, 500);
}

TEST_F(Hiring, WaitsOneFramePerWaitForASlowModelAndRequestsItOnce) {
    StartAndSettle();
    const char* model = maleModelNames[9];
    World().modelLoadFramesFor[standin::GameHash(model)] = 4;
    std::size_t mark = Log().Mark();
    ASSERT_EQ(Hire(CATEGORY_MALE, 9), 0);
    const auto waits = Log().Since(mark, "scriptWait");
    ASSERT_EQ(waits.size(), 4u);
    for (std::size_t i = 0; i < waits.size(); ++i) {
        EXPECT_EQ(waits[i]->args[0], 0u);
        if (i) {
            EXPECT_EQ(waits[i]->frame, waits[i - 1]->frame + 1);
        }
    }
    EXPECT_EQ(Log().Since(mark, "RequestModel").size(), 1u);

    // Loaded now: no request and no wait.
    mark = Log().Mark();
    ASSERT_EQ(Hire(CATEGORY_MALE, 9), 1);
    EXPECT_TRUE(Log().Since(mark, "RequestModel").empty());
    EXPECT_TRUE(Log().Since(mark, "scriptWait").empty());
}

TEST_F(Hiring, AModelThatNeverLoadsGivesUpAndLeavesTheSlotAsItWas) {
    StartAndSettle();
    const char* model = maleModelNames[4];
    World().modelLoadFramesFor[standin::GameHash(model)] = -1;
    // A saved record that was not brought back still sits in the free slot.
    roster[0].modelCategory = CATEGORY_ALL;
    roster[0].modelIndex = 12;
    roster[0].sidearm = 2;
    const auto before = Fields(roster[0]);
    const std::size_t mark = Log().Mark();
    const std::uint32_t askedAt = World().tickCount;
    EXPECT_EQ(Hire(CATEGORY_MALE, 4, 1, 1, -1, 2), -1);
    // It gives up in the first frame after 15 s of the host's tick count (the
    // hire itself runs in the frame after askedAt).
    const std::uint32_t waited = World().tickCount - askedAt - static_cast<std::uint32_t>(World().frameMs);
    EXPECT_GE(waited, MODEL_LOAD_TIME_LIMIT_MS);
    EXPECT_LT(waited, MODEL_LOAD_TIME_LIMIT_MS + static_cast<std::uint32_t>(World().frameMs));
    const auto calls = CallsSince(mark);
    EXPECT_EQ(calls.back(), "ReleaseModel(" + ZHash(model) + ")");
    EXPECT_TRUE(Log().Since(mark, "CreatePed").empty());
    EXPECT_TRUE(Log().Since(mark, "FindSafePosition").empty());
    EXPECT_EQ(Fields(roster[0]), before);

    // The script goes on, and the slot takes the next hire.
    standin::RunFrames(3);
    EXPECT_EQ(Hire(CATEGORY_MALE, 5), 0);
}

// The wait is bounded by time, whatever the frame rate: a model that streams in
// for 14.9 s is still hired at 250 frames a second, one that never loads is
// given up after 15 s at every rate, and a tick count that jumps by hours
// (a machine woken from sleep) or wraps during the wait does not cut it short.
TEST_F(Hiring, TheModelWaitLastsFifteenSecondsOfTickCountAtAnyFrameRate) {
    StartAndSettle();
    const std::uint32_t slow = standin::GameHash(maleModelNames[6]);
    const std::uint32_t never = standin::GameHash(maleModelNames[7]);
    World().modelLoadFramesFor[never] = -1;
    int slot = 0;
    for (int frameMs : {4, 7, 16, 33, 50}) {
        SCOPED_TRACE(frameMs);
        World().frameMs = frameMs;
        World().modelLoadFramesFor[slow] = 14900 / frameMs;
        ASSERT_EQ(Hire(CATEGORY_MALE, 6), slot++);
        const std::uint32_t askedAt = World().tickCount;
        ASSERT_EQ(Hire(CATEGORY_MALE, 7), -1);
        const std::uint32_t waited = World().tickCount - askedAt - static_cast<std::uint32_t>(frameMs);
        EXPECT_GE(waited, MODEL_LOAD_TIME_LIMIT_MS);
        EXPECT_LT(waited, MODEL_LOAD_TIME_LIMIT_MS + static_cast<std::uint32_t>(frameMs));
    }

    // Every frame of the wait the tick count jumps by three hours, and once past
    // its wrap: each frame counts for one second at most.
    World().frameMs = 33;
    World().tickCount = 0xFFFFF000u;
    World().tickCountLeapMs = 3u * 3600u * 1000u;
    int frames = 0;
    const std::size_t mark = Log().Mark();
    standin::RunOnScript([&] {
        frames = World().frame;
        EXPECT_EQ(CreateBodyguardPed(static_cast<std::int32_t>(never), 0.0f, 0.0f, 0.0f), 0);
        frames = World().frame - frames;
    });
    EXPECT_EQ(frames, 15);
    EXPECT_EQ(Log().Since(mark, "scriptWait").size(), 15u);
}

TEST_F(Hiring, NoSafePositionMeansTheRequestedPoint) {
    StartAndSettle();
    World().safePositionFails = true;
    ASSERT_EQ(Hire(CATEGORY_MALE, 0), 0);
    EXPECT_EQ(CallsNamed(0, {"CreatePed"}),
              Transcript{"CreatePed(" + ZHash(maleModelNames[0]) + ", 10.5, -20.25, 30, 0, 1, 1, 1, 1)"});
}

TEST_F(Hiring, NoPedFromTheGameOrNoSuchModelRowHiresNobody) {
    StartAndSettle();
    World().createPedFails = true;
    std::size_t mark = Log().Mark();
    EXPECT_EQ(Hire(CATEGORY_MALE, 0), -1);
    EXPECT_EQ(CallsSince(mark).back(), "ReleaseModel(" + ZHash(maleModelNames[0]) + ")");
    EXPECT_EQ(Fields(roster[0]), Fields(BodyguardRecord{}));
    EXPECT_TRUE(World().prompts.empty());
    EXPECT_TRUE(World().blips.empty());

    World().createPedFails = false;
    mark = Log().Mark();
    EXPECT_EQ(Hire(CATEGORY_MALE, MALE_MODEL_COUNT), -1);
    EXPECT_EQ(Hire(CATEGORY_CUSTOM, 0), -1);  // the custom list is empty
    EXPECT_EQ(Hire(7, 0), -1);
    EXPECT_EQ(CallsSince(mark), std::vector<std::string>{});
}

class Dismissal : public Hiring {
  protected:
    // A hired bodyguard whose five order prompts exist and are expanded.
    int HireWithOrderPrompts() {
        const int slot = Hire(CATEGORY_GANG, 14, 3, 18, 19, 17);
        BodyguardRecord& r = roster[slot];
        for (std::int32_t* p :
             {&r.dismissPrompt, &r.stayPrompt, &r.followPrompt, &r.showCommandsPrompt, &r.hideCommandsPrompt})
            *p = World().nextPromptHandle++;
        r.promptsCreated = r.commandsShown = true;
        return slot;
    }
};

TEST_F(Dismissal, HandsThePedBackRemovesBlipAndSixPromptsAndClearsTheSlot) {
    StartAndSettle();
    ASSERT_EQ(Hire(CATEGORY_MALE, 0), 0);
    ASSERT_EQ(HireWithOrderPrompts(), 1);
    BodyguardRecord& r = roster[1];
    const std::string P = std::to_string(r.ped);
    const std::int32_t ped = r.ped, blip = r.blip;
    std::vector<std::string> expected = {"PedReleaseStep(" + P + ")", "SetPedScriptOwned(" + P + ", 0, 0)",
                                         "ReleasePedHandle(&)", "BlipExists(" + std::to_string(blip) + ")",
                                         "RemoveBlip(&)"};
    for (std::int32_t h : {r.helpPrompt, r.dismissPrompt, r.stayPrompt, r.followPrompt, r.showCommandsPrompt,
                           r.hideCommandsPrompt})
        expected.push_back("PromptDelete(" + std::to_string(h) + ")");
    const std::size_t mark = Log().Mark();
    DismissBodyguard(r);
    EXPECT_EQ(CallsSince(mark), expected);
    EXPECT_EQ(Fields(r), Fields(BodyguardRecord{}));
    EXPECT_TRUE(World().FindPed(ped)->released);
    EXPECT_FALSE(World().FindPed(ped)->scriptOwned);
    EXPECT_FALSE(World().FindBlip(blip)->exists);
    EXPECT_NE(roster[0].ped, 0);

    // A free record goes through the same steps with handle 0.
    const std::size_t again = Log().Mark();
    DismissBodyguard(r);
    EXPECT_EQ(CallsSince(again), ExpectedCalls(R"(
        PedReleaseStep(0); SetPedScriptOwned(0, 0, 0); ReleasePedHandle(&)
        BlipExists(0)
        PromptDelete(0); PromptDelete(0); PromptDelete(0); PromptDelete(0); PromptDelete(0); PromptDelete(0)
    )"));
}

TEST_F(Dismissal, TheSaveFileNoLongerNamesTheDismissed) {
    StartAndSettle();
    ASSERT_EQ(Hire(CATEGORY_GANG, 7, 2, 15, -1, 15), 0);
    ASSERT_EQ(Hire(CATEGORY_MALE, 3, 1, 2, -1, 4), 1);
    DismissBodyguard(roster[0]);
    const std::vector<int> saved = SavedNumbers(ReadFile(SAVE_FILE_NAME));
    ASSERT_EQ(saved.size(), static_cast<std::size_t>(SAVE_FILE_VALUE_COUNT));
    EXPECT_EQ(std::vector<int>(saved.begin(), saved.begin() + 6), (std::vector<int>{-1, -1, 0, 0, 0, 0}));
    EXPECT_EQ(std::vector<int>(saved.begin() + 6, saved.begin() + 12), (std::vector<int>{0, 3, 2, 0, 4, 1}));
}

TEST_F(Dismissal, DismissAllClearsEverySlotAndWritesTheFileSevenTimes) {
    StartAndSettle();
    ASSERT_EQ(Hire(CATEGORY_MALE, 0, -1, 1), 0);
    ASSERT_EQ(HireWithOrderPrompts(), 1);
    roster[4].modelCategory = CATEGORY_ALL;  // a saved record that was never brought back
    roster[4].longarm = 3;

    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, folder_.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO), 0);
    const std::size_t mark = Log().Mark();
    DismissAll();
    int writes = 0;
    alignas(inotify_event) char buf[16384];
    for (ssize_t n; (n = read(watch, buf, sizeof buf)) > 0;) {
        for (char* p = buf; p < buf + n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(p);
            if (e->len && std::strcmp(e->name, SAVE_FILE_NAME) == 0) ++writes;
            p += sizeof(inotify_event) + e->len;
        }
    }
    close(watch);

    for (const BodyguardRecord& r : roster) EXPECT_EQ(Fields(r), Fields(BodyguardRecord{}));
    // Slots 0 and 1 hand back their peds, the five free ones go through the steps with handle 0.
    const Transcript released = CallsNamed(mark, {"PedReleaseStep"});
    EXPECT_EQ(released.size(), 7u);
    EXPECT_EQ(std::count(released.begin(), released.end(), "PedReleaseStep(0)"), 5);
    EXPECT_EQ(Log().Since(mark, "PromptDelete").size(), 42u);
    EXPECT_EQ(writes, 7);
    std::string allFree;
    for (int i = 0; i < ROSTER_SIZE; ++i) allFree += " -1 -1 0 0 0 0";
    EXPECT_EQ(ReadFile(SAVE_FILE_NAME), allFree + " 11");
}

TEST_F(Dismissal, DiscardWithNoBuilderBodyguardChangesNothing) {
    StartAndSettle();
    builder.builderOutfit = 4;
    builder.builderSidearm = 2;
    builder.lastSpawnCategory = 3;
    builder.lastSpawnModelIndex = 8;
    const std::size_t mark = Log().Mark();
    DiscardBuilderBodyguard();
    EXPECT_TRUE(Log().Since(mark).empty());
    EXPECT_EQ(builder.builderOutfit, 4);
    EXPECT_EQ(builder.builderSidearm, 2);
    EXPECT_EQ(builder.lastSpawnCategory, 3);
    EXPECT_EQ(builder.lastSpawnModelIndex, 8);
}

TEST_F(Dismissal, DiscardDeletesThePreviewBodyguardAndResetsTheBuilder) {
    StartAndSettle();
    ASSERT_EQ(Hire(CATEGORY_MALE, 0), 0);
    builder.lastSpawnSlot = Hire(CATEGORY_GANG, 1, 0, 8, 9, -1);
    ASSERT_EQ(builder.lastSpawnSlot, 1);
    builder.lastSpawnCategory = CATEGORY_GANG;
    builder.lastSpawnModelIndex = 1;
    builder.builderOutfit = builder.builderSidearm = builder.builderSecondSidearm = builder.builderLongarm =
        builder.builderOutfitMax = 5;
    const std::int32_t ped = roster[1].ped;
    const std::string P = std::to_string(ped);

    const std::size_t mark = Log().Mark();
    DiscardBuilderBodyguard();
    const auto calls = CallsSince(mark);
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 4),
              (std::vector<std::string>{"IsPedScriptOwned(" + P + ")", "DeletePed(&)",
                                        "EntityExists(" + P + ")", "PedReleaseStep(" + P + ")"}));
    EXPECT_NE(Log().Since(mark, "DeletePed")[0]->args[0], reinterpret_cast<std::uintptr_t>(&roster[1].ped));
    EXPECT_TRUE(World().FindPed(ped)->deleted);
    EXPECT_EQ(Fields(roster[1]), Fields(BodyguardRecord{}));
    EXPECT_NE(roster[0].ped, 0);
    for (int v : {builder.builderOutfit, builder.builderSidearm, builder.builderSecondSidearm,
                  builder.builderLongarm, builder.builderOutfitMax, builder.lastSpawnSlot,
                  builder.lastSpawnCategory, builder.lastSpawnModelIndex})
        EXPECT_EQ(v, -1);
}

TEST_F(Dismissal, APreviewPedThatSurvivesDeletionIsMovedAwayThenDismissed) {
    StartAndSettle();
    builder.lastSpawnSlot = Hire(CATEGORY_MALE, 0);
    builder.lastSpawnCategory = CATEGORY_MALE;
    builder.lastSpawnModelIndex = 0;
    ASSERT_EQ(builder.lastSpawnSlot, 0);
    standin::Ped& p = PedOf(0);
    p.scriptOwned = false;
    p.survivesDeletion = true;
    const std::string P = std::to_string(p.handle);
    const std::size_t mark = Log().Mark();
    DiscardBuilderBodyguard();
    const auto calls = CallsSince(mark);
    ASSERT_GE(calls.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 6),
              (std::vector<std::string>{"IsPedScriptOwned(" + P + ")", "SetPedScriptOwned(" + P + ", 1, 1)",
                                        "DeletePed(&)", "EntityExists(" + P + ")",
                                        "SetEntityPosition(" + P + ", -221, 804, 50, 0, 1, 1)",
                                        "PedReleaseStep(" + P + ")"}));
    EXPECT_FLOAT_EQ(p.pos.x, -221.0f);
    EXPECT_FLOAT_EQ(p.pos.y, 804.0f);
    EXPECT_FLOAT_EQ(p.pos.z, 50.0f);
    EXPECT_TRUE(p.released);
    EXPECT_EQ(builder.lastSpawnSlot, -1);
}
