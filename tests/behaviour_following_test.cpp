// The bodyguard section of the frame, group upkeep and formation, the on-foot
// settings, staying and the FOLLOW_ALL key.
#include <algorithm>
#include <cstdint>

#include "behaviour/behaviour.h"
#include "bodyguard_fixture.h"
#include "menu/state.h"

using standin::Call;

class Following : public BodyguardTest {
  protected:
    std::int32_t Smoke() { return static_cast<std::int32_t>(standin::GameHash("WORLD_HUMAN_SMOKE")); }
};

TEST_F(Following, TheSectionRunsItsStepsInOrderAndEachRecordInTurn) {
    StartAndSettle();
    const std::int32_t a = PlaceBodyguard(2);
    const std::int32_t b = PlaceBodyguard(5, 1000, -3.0f);
    World().player.target = a;
    World().player.aimed = SpawnStranger();
    behaviour.nextFormationTime = 0;
    standin::TapKey(VK_0_KEY);
    standin::TapKey(VK_ALT_KEY);
    const std::size_t mark = Log().Mark();
    standin::RunFrame();

    const int target = IndexOf(mark, "GetPlayerTargetEntity");
    const int aim = IndexOf(mark, "GetPlayerAimedEntity");
    const int stayAll = IndexOf(mark, "TaskStartScenarioInPlace");
    const int formation = IndexOf(mark, "SetGroupFormation");
    // The section is the frame's first game call; the target goes straight into behaviour.targetEntity.
    Transcript first = GameCallsSince(mark);
    first.resize(std::min<std::size_t>(first.size(), 2));
    EXPECT_EQ(first,
              (Transcript{"GetPlayerId()", "GetPlayerTargetEntity(" + Z(World().player.id) + ", &, 1, 1)"}));
    ASSERT_EQ(target, 1);
    const Call* query = GameCalls(mark)[target];
    EXPECT_EQ(query->I(0), World().player.id);
    EXPECT_EQ(query->args[1], reinterpret_cast<std::uintptr_t>(&behaviour.targetEntity));
    EXPECT_EQ(query->args[2], 1u);
    EXPECT_EQ(query->args[3], 1u);
    EXPECT_EQ(behaviour.targetEntity, a);
    EXPECT_LT(target, aim);
    EXPECT_LT(aim, stayAll);
    EXPECT_LT(stayAll, formation);

    // Record 2's turn (prompt step, Help prompt step, downed detection, periodic
    // step) comes whole before record 5's.
    const int prompts2 = IndexOfOn(mark, "SetPedConfigFlag", a);
    const int help2 = IndexOfOn(mark, "PromptHasCompleted", roster[2].helpPrompt);
    const int health2 = IndexOfOn(mark, "GetEntityHealth", a);
    const int periodic2 = IndexOf(mark, "GetPlayerPed", health2);
    const int help5 = IndexOfOn(mark, "PromptHasCompleted", roster[5].helpPrompt);
    const int health5 = IndexOfOn(mark, "GetEntityHealth", b);
    EXPECT_LT(formation, prompts2);
    EXPECT_LT(prompts2, help2);
    EXPECT_LT(help2, health2);
    EXPECT_LT(health2, periodic2);
    EXPECT_LT(periodic2, help5);
    EXPECT_LT(help5, health5);
    EXPECT_GT(IndexOf(mark, "GetPlayerPed", health5), health5);
}

TEST_F(Following, AFollowingStepMakesItsCallsInOrder) {
    StartAndSettle();
    World().nextPedHandle = -200;  // a handle with the top bit set shows the sign-extended pushes
    World().player.group = -7;
    World().PlayerPed().group = -7;
    const std::int32_t ped = PlaceBodyguard(0);
    standin::Ped& p = *World().FindPed(ped);
    p.group = 0;                 // out of the group
    p.relationshipGroup = 1234;  // and out of the player's relationship group
    p.scenario = Smoke();        // still smoking from an earlier stay
    World().PlayerPed().crouching = true;

    World().gameTimer = 100000;
    const std::size_t mark = Log().Mark();
    standin::RunFrame();
    const int start = IndexOf(mark, "GetPlayerPed", IndexOf(mark, "GetEntityHealth"));
    ASSERT_GE(start, 0);
    // Handle -200 and group -7 as pushed: sign-extended to IsPedGroupMember, zero-extended elsewhere.
    EXPECT_EQ(GameCallsSince(mark, start),
              ExpectedCalls(kPeriodicStepStart + std::string(R"(
        HashOfName("WORLD_HUMAN_SMOKE")
        IsPedUsingScenario(4294967096, {smoke})
        ClearPedTasks(4294967096, 1, 1)
        GetPedRelationshipGroupHash(4294967096)
        SetPedRelationshipGroupHash(4294967096, {relationship})
        IsPedGroupMember(-200, -7, 1)
        SetPedAsGroupMember(4294967096, 4294967289)
        SetGroupSeparationRange(4294967289, 8000)
        IsEntityDead(4294967096)
        IsPedInAnyVehicle({player}, 0)
        IsPedInAnyVehicle(4294967096, 0)
        IsPedOnFoot({player})
        SetPedConfigFlag(4294967096, 158, 1)
        SetPedFollowSettingA(4294967096, 1)
        SetPedFollowSettingB(4294967096, 1)
        GetGameTimer()
    )"),
                            {{"{player}", Z(World().player.ped)},
                             {"{smoke}", ZHash("WORLD_HUMAN_SMOKE")},
                             {"{relationship}", Z(World().player.relationshipGroup)}}));
    EXPECT_TRUE(behaviour.onFootSettingsActive);
    EXPECT_EQ(roster[0].nextUpdateTime, World().gameTimer + 2000);
    EXPECT_EQ(p.group, -7);
    EXPECT_EQ(p.relationshipGroup, World().player.relationshipGroup);
    EXPECT_EQ(p.scenario, 0);
}

TEST_F(Following, TheFollowingStepComesBackEveryTwoSecondsAndRestoresTheGroup) {
    StartAndSettle();
    const std::int32_t ped = PlaceBodyguard(0);
    standin::RunFrame();
    const std::int32_t due = roster[0].nextUpdateTime;
    std::size_t mark = Log().Mark();
    // Equal to the deadline is not yet past it.
    World().gameTimer = due - World().frameMs;
    standin::RunFrame();
    EXPECT_TRUE(CallsOn(mark, "SetGroupSeparationRange", World().player.group).empty());
    EXPECT_EQ(roster[0].nextUpdateTime, due);

    World().FindPed(ped)->group = 0;  // the game drops it from the group
    mark = Log().Mark();
    standin::RunFrame();
    EXPECT_EQ(GameCalls(mark, "SetGroupSeparationRange").size(), 1u);
    EXPECT_EQ(World().FindPed(ped)->group, World().player.group);
    EXPECT_EQ(roster[0].nextUpdateTime, World().gameTimer + 2000);
}

TEST_F(Following, GameTimeIsComparedSigned) {
    // A game clock still below zero: deadlines of 0 have not passed.
    World().gameTimer = -20000;
    StartAndSettle();
    PlaceBodyguard(0);
    const std::size_t mark = Log().Mark();
    standin::RunFrames(10);
    EXPECT_TRUE(GameCalls(mark, "SetGroupFormation").empty());
    EXPECT_TRUE(GameCalls(mark, "GetPlayerGroup").empty());
    World().gameTimer = 0;
    standin::RunFrame();
    EXPECT_EQ(GameCalls(mark, "SetGroupFormation").size(), 1u);
    EXPECT_EQ(GameCalls(mark, "GetPlayerGroup").size(), 1u);
}

TEST_F(Following, AutoFormationFollowsTheMountWithinFiveSeconds) {
    StartAndSettle();
    PlaceBodyguard(0);
    standin::RunMs(5100);
    std::size_t mark = Log().Mark();
    standin::RunMs(5100);
    EXPECT_EQ(CallsNamed(mark, {"SetGroupFormation"}),
              Transcript{"SetGroupFormation(" + Z(World().player.group) + ", 0)"});

    World().PlayerPed().mount = World().SpawnPed(standin::GameHash("A_C_Horse_Morgan_Bay"), {});
    mark = Log().Mark();
    const std::int32_t mounted = World().gameTimer;
    ASSERT_TRUE(standin::RunUntil([&] { return !GameCalls(mark, "SetGroupFormation").empty(); }, 200));
    EXPECT_EQ(CallsNamed(mark, {"SetGroupFormation"}),
              Transcript{"SetGroupFormation(" + Z(World().player.group) + ", 5)"});
    EXPECT_LE(World().gameTimer - mounted, 5000 + World().frameMs);

    // The refresh comes every 5000 ms, no sooner.
    const std::int32_t last = World().gameTimer;
    mark = Log().Mark();
    ASSERT_TRUE(standin::RunUntil([&] { return !GameCalls(mark, "SetGroupFormation").empty(); }, 300));
    EXPECT_GT(World().gameTimer - last, 5000);
    EXPECT_LE(World().gameTimer - last, 5000 + World().frameMs);
}

TEST_F(Following, AChosenFormationIsPassedUnchangedEvenWithNobodyHired) {
    StartAndSettle();
    formationMode = 3;
    World().PlayerPed().mount = 555;
    const std::size_t mark = Log().Mark();
    standin::RunMs(10100);
    // No periodic step has cached the group yet: the refresh uses the cached 0.
    EXPECT_EQ(CallsNamed(mark, {"SetGroupFormation"}),
              (Transcript{"SetGroupFormation(0, 3)", "SetGroupFormation(0, 3)"}));
}

TEST_F(Following, FollowAllStaysEveryRecordThenFollowsEveryRecord) {
    StartAndSettle();
    const std::int32_t p0 = PlaceBodyguard(0);
    const std::int32_t p2 = PlaceBodyguard(2, 1000, -3.0f);
    standin::RunFrame();

    std::size_t mark = Log().Mark();
    standin::TapKey(VK_ALT_KEY);
    standin::RunFrame();
    std::vector<std::int32_t> tasked;
    for (const Call* c : GameCalls(mark, "TaskStartScenarioInPlace")) tasked.push_back(c->I(0));
    EXPECT_EQ(tasked, (std::vector<std::int32_t>{p0, 0, p2, 0, 0, 0, 0}));
    for (const BodyguardRecord& r : roster) EXPECT_TRUE(r.staying);
    EXPECT_EQ(World().FindPed(p0)->scenario, Smoke());
    EXPECT_EQ(World().FindPed(p2)->scenario, Smoke());

    // The release is used up.
    mark = Log().Mark();
    standin::RunFrame();
    EXPECT_TRUE(GameCalls(mark, "TaskStartScenarioInPlace").empty());

    mark = Log().Mark();
    standin::TapKey(VK_ALT_KEY);
    standin::RunFrame();
    std::vector<std::int32_t> cleared;
    for (const Call* c : GameCalls(mark, "ClearPedTasks")) cleared.push_back(c->I(0));
    ASSERT_GE(cleared.size(), 7u);
    cleared.resize(7);
    EXPECT_EQ(cleared, (std::vector<std::int32_t>{p0, 0, p2, 0, 0, 0, 0}));
    for (const BodyguardRecord& r : roster) EXPECT_FALSE(r.staying);
    EXPECT_EQ(World().FindPed(p0)->scenario, 0);
}

TEST_F(Following, FollowAllDecidesByRecordZeroEvenWhenItIsEmpty) {
    StartAndSettle();
    const std::int32_t p1 = PlaceBodyguard(1);
    roster[1].staying = true;
    World().FindPed(p1)->scenario = Smoke();
    standin::RunFrame();

    // Record 0 is free and not staying: everybody is told to stay.
    std::size_t mark = Log().Mark();
    standin::TapKey(VK_ALT_KEY);
    standin::RunFrame();
    for (const BodyguardRecord& r : roster) EXPECT_TRUE(r.staying);
    EXPECT_TRUE(CallsOn(mark, "TaskStartScenarioInPlace", p1).empty());  // already smoking

    // A bodyguard put into a record that FOLLOW_ALL set staying starts out staying.
    const std::int32_t p3 = PlaceBodyguard(3, 1000, -3.0f);
    mark = Log().Mark();
    standin::RunFrame();
    EXPECT_EQ(CallsOn(mark, "TaskStartScenarioInPlace", p3).size(), 1u);
    EXPECT_TRUE(CallsOn(mark, "SetGroupSeparationRange", World().player.group).empty());

    // Record 0 is free but was left staying: everybody is told to follow.
    mark = Log().Mark();
    standin::TapKey(VK_ALT_KEY);
    standin::RunFrame();
    for (const BodyguardRecord& r : roster) EXPECT_FALSE(r.staying);
    EXPECT_FALSE(CallsOn(mark, "ClearPedTasks", p1).empty());
    EXPECT_EQ(World().FindPed(p1)->scenario, 0);
    EXPECT_EQ(CallsOn(mark, "ClearPedTasks", 0).size(), 5u);
}

TEST_F(Following, AStayingBodyguardIsHeldInItsScenarioEveryFrame) {
    StartAndSettle();
    const std::int32_t stayer = PlaceBodyguard(0);
    const std::int32_t follower = PlaceBodyguard(1, 1000, -3.0f);
    roster[0].staying = true;
    standin::RunFrame();
    EXPECT_EQ(World().FindPed(stayer)->scenario, Smoke());
    const std::int32_t followerDue = roster[1].nextUpdateTime;

    for (int i = 0; i < 5; ++i) {
        World().FindPed(stayer)->scenario = 0;  // pulled out of it by the game
        const std::size_t mark = Log().Mark();
        standin::RunFrame();
        EXPECT_EQ(CallsOn(mark, "TaskStartScenarioInPlace", stayer),
                  Transcript{"TaskStartScenarioInPlace(" + Z(stayer) + ", " + ZHash("WORLD_HUMAN_SMOKE") +
                             ", 0, 0, 0, 1, 0)"});
        EXPECT_EQ(roster[0].nextUpdateTime, 0);
    }
    // Once smoking, the staying check gives no new task.
    const std::size_t mark = Log().Mark();
    standin::RunFrame();
    EXPECT_TRUE(CallsOn(mark, "TaskStartScenarioInPlace", stayer).empty());
    EXPECT_EQ(roster[1].nextUpdateTime, followerDue);
    EXPECT_EQ(World().FindPed(follower)->scenario, 0);
}

TEST_F(Following, StandingUpResetsTheOnFootSettings) {
    StartAndSettle();
    World().PlayerPed().crouching = true;
    const std::int32_t ped = PlaceBodyguard(0);
    standin::RunFrame();
    standin::Ped& p = *World().FindPed(ped);
    EXPECT_TRUE(p.configFlags[158]);
    EXPECT_FLOAT_EQ(p.seeingRange, 1.0f);
    EXPECT_FLOAT_EQ(p.hearingRange, 1.0f);

    World().PlayerPed().crouching = false;
    const std::size_t mark = Log().Mark();
    standin::RunMs(2100);
    EXPECT_EQ(CallsOn(mark, "GetPedConfigFlag", ped), Transcript{"GetPedConfigFlag(" + Z(ped) + ", 158, 1)"});
    EXPECT_FALSE(p.configFlags[158]);
    EXPECT_FLOAT_EQ(p.seeingRange, 50.0f);
    EXPECT_FLOAT_EQ(p.hearingRange, 50.0f);
    EXPECT_EQ(CallsOn(mark, "SetPedFollowSettingA", ped),
              Transcript{"SetPedFollowSettingA(" + Z(ped) + ", 50)"});
    EXPECT_FALSE(behaviour.onFootSettingsActive);
}

TEST_F(Following, AFightResetsOnlyTheFirstFollowingBodyguard) {
    StartAndSettle();
    World().PlayerPed().crouching = true;
    const std::int32_t peds[3] = {PlaceBodyguard(0), PlaceBodyguard(1, 1000, -3.0f),
                                  PlaceBodyguard(2, 1000, 5.0f)};
    standin::RunFrame();
    for (std::int32_t h : peds) EXPECT_TRUE(World().FindPed(h)->configFlags[158]);

    const std::int32_t attacker = SpawnStranger();
    World().StartFight(attacker, World().player.ped);
    standin::RunMs(2100);
    EXPECT_FALSE(World().FindPed(peds[0])->configFlags[158]);
    EXPECT_FLOAT_EQ(World().FindPed(peds[0])->seeingRange, 50.0f);
    EXPECT_TRUE(World().FindPed(peds[1])->configFlags[158]);
    EXPECT_FLOAT_EQ(World().FindPed(peds[1])->seeingRange, 1.0f);
    EXPECT_TRUE(World().FindPed(peds[2])->configFlags[158]);

    // The fight over and the player standing up: each one's own flag resets it.
    World().EndFights(attacker);
    World().PlayerPed().crouching = false;
    standin::RunMs(2100);
    for (std::int32_t h : peds) {
        EXPECT_FALSE(World().FindPed(h)->configFlags[158]);
        EXPECT_FLOAT_EQ(World().FindPed(h)->hearingRange, 50.0f);
    }
}

TEST_F(Following, AFollowingBodyguardFoundDeadIsDismissed) {
    WriteSettings("ALLOW_REVIVE=0\n");
    StartAndSettle();
    const std::int32_t ped = PlaceBodyguard(0);
    standin::RunFrame();
    World().Kill(ped);
    const std::size_t mark = Log().Mark();
    ASSERT_TRUE(standin::RunUntil([&] { return !CallsOn(mark, "IsEntityDead", ped).empty(); }, 100));
    // The turn ends at the dismissal: no on-foot settings, no new deadline.
    const int dead = IndexOf(mark, "IsEntityDead");
    EXPECT_EQ(IndexOf(mark, "IsPedInAnyVehicle", dead), -1);
    EXPECT_EQ(roster[0].ped, 0);
    EXPECT_TRUE(World().FindPed(ped)->released);
}

TEST_F(Following, AStayingBodyguardFoundDeadIsDismissedWithReviveOff) {
    WriteSettings("ALLOW_REVIVE=0\n");
    StartAndSettle();
    const std::int32_t ped = PlaceBodyguard(0);
    roster[0].staying = true;
    standin::RunFrame();
    World().Kill(ped);
    const std::size_t mark = Log().Mark();
    standin::RunFrame();
    const auto asked = CallsOn(mark, "IsEntityDead", ped);
    ASSERT_EQ(asked.size(), 1u);
    // The death test comes before the scenario check, and the turn ends there.
    const int dead = IndexOf(mark, "IsEntityDead");
    EXPECT_EQ(IndexOf(mark, "IsPedUsingScenario", dead), -1);
    EXPECT_EQ(roster[0].ped, 0);
    EXPECT_TRUE(World().FindPed(ped)->released);
}

// The formation refresh and the following upkeep keep their periods in game
// time at any frame rate: each comes in the first frame after 5000 (2000) ms
// have passed, never twice in a frame, and a 3 s frame only delays the one
// that falls in it.
class FollowingAtPace : public Following, public ::testing::WithParamInterface<FramePace> {};

TEST_P(FollowingAtPace, FormationEveryFiveAndUpkeepEveryTwoSecondsOfGameTime) {
    StartAndSettle();
    PlaceBodyguard(0);
    std::vector<std::int32_t> formations, upkeeps;
    std::int32_t frameStart = World().gameTimer;
    std::size_t mark = Log().Mark();
    auto note = [&](std::vector<std::int32_t>& times, const char* call, std::int32_t period) {
        const std::size_t count = GameCalls(mark, call).size();
        ASSERT_LE(count, 1u) << call << " twice in one frame";
        if (count == 0) return;
        const std::int32_t now = World().gameTimer;
        if (!times.empty()) ExpectFirstFrameAfterPeriod(now - times.back(), period, now - frameStart, call);
        times.push_back(now);
    };
    RunPaced(GetParam(), 40000, [&] {
        note(formations, "SetGroupFormation", 5000);
        note(upkeeps, "SetGroupSeparationRange", 2000);
        frameStart = World().gameTimer;
        mark = Log().Mark();
    });
    EXPECT_GE(formations.size(), 7u);
    EXPECT_GE(upkeeps.size(), 18u);
}

INSTANTIATE_TEST_SUITE_P(Paces, FollowingAtPace, ::testing::ValuesIn(FramePaces()), PaceName);

// The game timer as an untrusted host may give it: the same value frame after
// frame, a step back, and its wrap past the largest 32-bit value. No timed step
// (formation, following upkeep, downed check) runs twice in one frame or again
// before its period has passed on the clock it reads, and none stops for good.
TEST_F(Following, HostileGameTimerNeverRepeatsATimedStepOrStopsIt) {
    StartAndSettle();
    const std::int32_t downed = PlaceBodyguard(1, 1000, 8.0f);
    PlaceBodyguard(0);
    World().FindPed(downed)->health = 499;
    standin::RunMs(12000);
    ASSERT_TRUE(roster[1].downed);
    auto timedSteps = [&](std::size_t mark) {
        return GameCalls(mark, "SetGroupFormation").size() +
               GameCalls(mark, "SetGroupSeparationRange").size() + GameCalls(mark, "PlayPedPain").size();
    };

    // Frozen: fifty frames in the same millisecond, right after every step ran.
    std::int32_t frozen = World().gameTimer + 6000;
    std::size_t mark = Log().Mark();
    for (int i = 0; i < 50; ++i) {
        World().gameTimer = frozen - World().frameMs;
        standin::RunFrame();
    }
    EXPECT_EQ(timedSteps(mark), 3u);  // each once, in the first frozen frame

    // A minute back: the steps wait for the clock to pass their deadlines
    // again, then come back at their periods.
    World().gameTimer -= 60000;
    mark = Log().Mark();
    standin::RunMs(50000);
    EXPECT_EQ(timedSteps(mark), 0u);
    standin::RunMs(25000);
    EXPECT_GE(GameCalls(mark, "SetGroupFormation").size(), 3u);
    EXPECT_GE(GameCalls(mark, "PlayPedPain").size(), 3u);

    // Across the wrap: still once per period, not once per frame.
    World().gameTimer = INT32_MAX - 3000;
    standin::RunMs(5100);  // deadlines set before the jump have passed
    const int checksBefore = roster[1].downedChecks;
    mark = Log().Mark();
    standin::RunMs(20000);
    EXPECT_LE(GameCalls(mark, "SetGroupFormation").size(), 5u);
    EXPECT_LE(GameCalls(mark, "SetGroupSeparationRange").size(), 11u);
    EXPECT_LE(roster[1].downedChecks - checksBefore, 5);
    EXPECT_GE(roster[1].downedChecks - checksBefore, 3);
}
