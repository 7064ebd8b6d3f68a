// The attack key, going down below 500 health, the "Help" prompt and revive,
// bleeding out, and the deaths that end in dismissal.
#include <cstdint>

#include "behaviour/behaviour.h"
#include "bodyguard_fixture.h"

class Combat : public BodyguardTest {
  protected:
    std::int32_t PlayerPedHandle() { return World().player.ped; }
    standin::Ped& PedOf(std::int32_t h) { return *World().FindPed(h); }
    // Puts the bodyguard of `slot` this far east of the player.
    void MoveTo(std::int32_t ped, float dx) {
        const standin::Vec3 at = World().PlayerPed().pos;
        PedOf(ped).pos = {at.x + dx, at.y, at.z};
    }
    // Runs frames until `ped` has had one more downed check, each frame marked
    // first; returns the mark of the frame that made the check.
    std::size_t RunToNextCheck(std::int32_t ped, int maxFrames = 400) {
        const int before = PedOf(ped).painCount;
        for (int i = 0; i < maxFrames; ++i) {
            const std::size_t mark = Log().Mark();
            standin::RunFrame();
            if (PedOf(ped).painCount != before) return mark;
        }
        ADD_FAILURE() << "no downed check within " << maxFrames << " frames";
        return Log().Mark();
    }
    std::size_t PlayerDeathQuestions(std::size_t mark) {
        return CallsOn(mark, "IsEntityDead", PlayerPedHandle()).size();
    }
};

TEST_F(Combat, TheAttackKeySendsEveryOccupiedRecordAfterTheAimedPed) {
    StartAndSettle();
    const std::int32_t p0 = PlaceBodyguard(0);
    const std::int32_t p3 = PlaceBodyguard(3, 1000, -3.0f);
    const std::int32_t p6 = PlaceBodyguard(6, 1000, 5.0f);
    roster[3].staying = true;
    PedOf(p6).health = 400;  // downed bodyguards get the order too
    standin::RunFrame();
    ASSERT_TRUE(roster[6].downed);

    World().nextPedHandle = -300;  // a handle with the top bit set shows the sign-extended push
    const std::int32_t enemy = SpawnStranger();
    World().player.aimed = enemy;
    std::size_t mark = Log().Mark();
    standin::TapKey(VK_0_KEY);
    standin::RunFrame();

    // The enemy, handle -300, goes sign-extended to AddPedTarget and zero-extended to TaskCombatPed.
    EXPECT_EQ(CallsNamed(mark, {"GetPlayerAimedEntity", "IsEntityAPed", "AddPedTarget", "TaskCombatPed"}),
              ExpectedCalls(
                  R"(
        GetPlayerAimedEntity({player}, &)
        IsEntityAPed(4294966996)
        AddPedTarget({p0}, -300, 1); TaskCombatPed({p0}, 4294966996, 0, 0)
        AddPedTarget({p3}, -300, 1); TaskCombatPed({p3}, 4294966996, 0, 0)
        AddPedTarget({p6}, -300, 1); TaskCombatPed({p6}, 4294966996, 0, 0)
    )",
                  {{"{player}", Z(World().player.id)}, {"{p0}", Z(p0)}, {"{p3}", Z(p3)}, {"{p6}", Z(p6)}}));
    EXPECT_EQ(PedOf(p0).combatTarget, enemy);
    EXPECT_TRUE(World().InCombat(p0) && World().InCombat(enemy));
    // The staying bodyguard is put back into its scenario by its staying check.
    EXPECT_EQ(PedOf(p3).scenario, static_cast<std::int32_t>(standin::GameHash("WORLD_HUMAN_SMOKE")));

    // The release is used up.
    mark = Log().Mark();
    standin::RunFrame();
    EXPECT_TRUE(GameCalls(mark, "GetPlayerAimedEntity").empty());

    // Nobody fights the dead.
    World().Kill(enemy);
    EXPECT_EQ(PedOf(p0).combatTarget, 0);
    EXPECT_FALSE(World().InCombat(p0));
}

TEST_F(Combat, TheAttackKeyAimedAtNothingGivesNoOrder) {
    StartAndSettle();
    std::size_t mark = Log().Mark();
    World().player.aimed = SpawnStranger();
    standin::TapKey(VK_0_KEY);  // nobody hired: the aim is asked, nobody is ordered
    standin::RunFrame();
    EXPECT_EQ(GameCalls(mark, "GetPlayerAimedEntity").size(), 1u);
    EXPECT_TRUE(GameCalls(mark, "AddPedTarget").empty());

    PlaceBodyguard(0);
    World().player.aimed = 0;
    mark = Log().Mark();
    standin::TapKey(VK_0_KEY);
    standin::RunFrame();
    EXPECT_EQ(CallsNamed(mark, {"IsEntityAPed"}), Transcript{"IsEntityAPed(0)"});
    EXPECT_TRUE(GameCalls(mark, "AddPedTarget").empty());
    EXPECT_TRUE(GameCalls(mark, "TaskCombatPed").empty());
}

TEST_F(Combat, AimingAtABodyguardSendsEveryoneAfterItIncludingItself) {
    StartAndSettle();
    const std::int32_t a = PlaceBodyguard(0);
    const std::int32_t b = PlaceBodyguard(1, 1000, -3.0f);
    World().player.aimed = b;
    const std::size_t mark = Log().Mark();
    standin::TapKey(VK_0_KEY);
    standin::RunFrame();
    EXPECT_EQ(CallsNamed(mark, {"TaskCombatPed"}),
              (Transcript{"TaskCombatPed(" + Z(a) + ", " + Z(b) + ", 0, 0)",
                          "TaskCombatPed(" + Z(b) + ", " + Z(b) + ", 0, 0)"}));
}

TEST_F(Combat, HealthBelowFiveHundredPutsABodyguardDown) {
    StartAndSettle();
    const std::int32_t ped = PlaceBodyguard(0);
    standin::RunFrame();
    PedOf(ped).health = 500;
    standin::RunFrames(3);
    EXPECT_FALSE(roster[0].downed);

    const std::int32_t due = roster[0].nextUpdateTime;
    PedOf(ped).health = 499;
    const std::size_t mark = Log().Mark();
    standin::RunFrame();
    EXPECT_TRUE(roster[0].downed);
    EXPECT_EQ(roster[0].nextUpdateTime, due);  // detection leaves the deadline alone
    EXPECT_EQ(CallsOn(mark, "SetPedToRagdoll", ped),
              Transcript{"SetPedToRagdoll(" + Z(ped) + ", 10000, 15000, 0, 1, 1, 1)"});
    EXPECT_TRUE(PedOf(ped).ragdoll);
}

TEST_F(Combat, WithReviveOffNobodyGoesDown) {
    WriteSettings("ALLOW_REVIVE=0\n");
    StartAndSettle();
    const std::int32_t ped = PlaceBodyguard(0);
    PedOf(ped).health = 100;
    const std::size_t mark = Log().Mark();
    standin::RunMs(3000);
    EXPECT_FALSE(roster[0].downed);
    EXPECT_TRUE(GameCalls(mark, "GetEntityHealth").empty());
    EXPECT_TRUE(GameCalls(mark, "PlayPedPain").empty());
}

TEST_F(Combat, ADownedCheckMakesItsCallsInOrderEveryFiveSeconds) {
    StartAndSettle();
    const std::int32_t ped = PlaceBodyguard(0, 1000, 8.0f);
    standin::RunFrame();
    PedOf(ped).health = 499;
    standin::RunFrame();
    ASSERT_TRUE(roster[0].downed);
    const std::int32_t downedAt = World().gameTimer;
    PedOf(ped).ragdoll = false;  // got up on its own: knocked down again at the check
    World().scriptedRandom.push_back(10);

    const std::size_t mark = RunToNextCheck(ped);
    EXPECT_LE(World().gameTimer - downedAt, 2000 + World().frameMs);  // the following wait ends first
    const int start =
        IndexOf(mark, "GetPlayerPed", IndexOfOn(mark, "PromptHasCompleted", roster[0].helpPrompt));
    ASSERT_GE(start, 0);
    EXPECT_EQ(GameCallsSince(mark, start),
              ExpectedCalls(kPeriodicStepStart + std::string(R"(
        IsEntityDead({ped})
        IsPedRagdoll({ped})
        SetPedToRagdoll({ped}, 10000, 15000, 0, 1, 1, 1)
        RefreshPedRagdoll({ped})
        RandomIntInRange(9, 12)
        PlayPedPain({ped}, 10, 1, 0, 0)
        IsEntityDead({player})
        GetGameTimer()
    )"),
                            {{"{player}", Z(PlayerPedHandle())}, {"{ped}", Z(ped)}}));
    EXPECT_EQ(roster[0].downedChecks, 1);
    EXPECT_EQ(roster[0].nextUpdateTime, World().gameTimer + 5000);
    EXPECT_EQ(PedOf(ped).lastPainVariant, 10);

    // Still down on the ground: no new knock-down, and the next check comes 5000 ms later.
    const std::int32_t first = World().gameTimer;
    const std::size_t second = RunToNextCheck(ped);
    EXPECT_GT(World().gameTimer - first, 5000);
    EXPECT_LE(World().gameTimer - first, 5000 + World().frameMs);
    EXPECT_TRUE(CallsOn(second, "SetPedToRagdoll", ped).empty());
    EXPECT_EQ(roster[0].downedChecks, 2);
}

TEST_F(Combat, AStayingBodyguardThatGoesDownIsCheckedAtOnce) {
    StartAndSettle();
    const std::int32_t ped = PlaceBodyguard(0);
    roster[0].staying = true;
    standin::RunFrame();
    PedOf(ped).health = 300;
    standin::RunFrame();
    EXPECT_TRUE(roster[0].downed);
    EXPECT_EQ(roster[0].downedChecks, 1);
    EXPECT_EQ(PedOf(ped).painCount, 1);
}

TEST_F(Combat, TheFiftyFirstCheckKills) {
    StartAndSettle();
    World().frameMs = 250;  // fewer frames for the 250 s of bleeding
    const std::int32_t ped = PlaceBodyguard(0, 1000, 8.0f);
    standin::RunFrame();
    PedOf(ped).health = 499;
    const std::size_t start = Log().Mark();
    ASSERT_TRUE(RunUntilDownedChecks(0, 50));
    EXPECT_FALSE(PedOf(ped).dead);
    EXPECT_EQ(roster[0].ped, ped);
    EXPECT_EQ(PlayerDeathQuestions(start), 50u);  // asked at every check up to the 50th

    const std::size_t mark = RunToNextCheck(ped);
    EXPECT_EQ(PedOf(ped).painCount, 51);
    EXPECT_EQ(PlayerDeathQuestions(mark), 0u);  // not asked once the count is past 50
    EXPECT_EQ(CallsOn(mark, "SetEntityHealth", ped), Transcript{"SetEntityHealth(" + Z(ped) + ", 0, 0)"});
    EXPECT_TRUE(PedOf(ped).dead);
    EXPECT_EQ(roster[0].ped, 0);
    EXPECT_TRUE(PedOf(ped).released);
}

TEST_F(Combat, TheHelpPromptShowsOnlyForADownedBodyguardCloseToTheCrouchingPlayer) {
    StartAndSettle();
    World().PlayerPed().crouching = true;
    const std::int32_t ped = PlaceBodyguard(0, 1000, 1.4f);
    const std::int32_t help = roster[0].helpPrompt;
    standin::RunFrames(2);
    EXPECT_FALSE(PromptActive(help));  // close, but not down

    PedOf(ped).health = 499;
    standin::RunFrame();
    ASSERT_TRUE(roster[0].downed);
    const std::size_t mark = Log().Mark();
    standin::RunFrame();
    EXPECT_TRUE(PromptActive(help));

    // The distance is asked from the player's point to the bodyguard's.
    const int first = IndexOf(mark, "GetPlayerPed");
    ASSERT_GE(first, 0);
    std::vector<std::string> lines = GameCallsSince(mark, first);
    lines.resize(std::min<std::size_t>(lines.size(), 5));
    const standin::Vec3 p = World().PlayerPed().pos, b = PedOf(ped).pos;
    EXPECT_EQ(lines, ExpectedCalls(R"(
        GetPlayerPed()
        IsPedOnFoot({player})
        GetEntityCoords({ped}, 1, 0)
        GetEntityCoords({player}, 1, 0)
        GetDistanceBetweenCoords({p}, {b})
    )",
                                   {{"{player}", Z(PlayerPedHandle())},
                                    {"{ped}", Z(ped)},
                                    {"{p}", Floats({p.x, p.y, p.z})},
                                    {"{b}", Floats({b.x, b.y, b.z})}}));

    MoveTo(ped, 1.5f);  // not closer than 1.5
    standin::RunFrame();
    EXPECT_FALSE(PromptActive(help));
    MoveTo(ped, 1.49f);
    standin::RunFrame();
    EXPECT_TRUE(PromptActive(help));
    MoveTo(ped, 10.0f);
    standin::RunFrame();
    EXPECT_FALSE(PromptActive(help));
    MoveTo(ped, 1.0f);
    standin::RunFrame();
    EXPECT_TRUE(PromptActive(help));

    // Standing, even right beside it: no prompt, and no distance asked.
    World().PlayerPed().crouching = false;
    const std::size_t standing = Log().Mark();
    standin::RunFrame();
    EXPECT_FALSE(PromptActive(help));
    EXPECT_TRUE(GameCalls(standing, "GetDistanceBetweenCoords").empty());
    World().PlayerPed().crouching = true;
    standin::RunFrame();
    EXPECT_TRUE(PromptActive(help));
}

TEST_F(Combat, HelpRevivesAndASecondDowningHasTheFullFiftyChecks) {
    StartAndSettle();
    World().PlayerPed().crouching = true;
    World().frameMs = 250;
    const std::int32_t ped = PlaceBodyguard(0, 1000, 1.0f);
    const std::int32_t help = roster[0].helpPrompt;
    standin::RunFrame();
    PedOf(ped).health = 499;
    ASSERT_TRUE(RunUntilDownedChecks(0, 49));

    ASSERT_TRUE(World().CompletePrompt(help));
    std::size_t mark = Log().Mark();
    standin::RunFrame();
    EXPECT_FALSE(roster[0].downed);
    EXPECT_EQ(roster[0].downedChecks, 0);
    EXPECT_EQ(PedOf(ped).health, 1000);
    EXPECT_FALSE(PromptActive(help));
    EXPECT_EQ(CallsNamed(mark, {"GetEntityMaxHealth", "SetEntityHealth", "ClearPedTasks"}),
              ExpectedCalls(
                  "GetEntityMaxHealth({ped}, 0); SetEntityHealth({ped}, 1000, 0); ClearPedTasks({ped}, 1, 1)",
                  {{"{ped}", Z(ped)}}));
    EXPECT_FALSE(PedOf(ped).ragdoll);

    // Down again: the count starts from nothing.
    PedOf(ped).health = 450;
    ASSERT_TRUE(RunUntilDownedChecks(0, 50));
    EXPECT_FALSE(PedOf(ped).dead);
    EXPECT_EQ(roster[0].ped, ped);
    mark = RunToNextCheck(ped);
    EXPECT_TRUE(PedOf(ped).dead);
    EXPECT_EQ(roster[0].ped, 0);
}

TEST_F(Combat, ThePlayersDeathKillsDownedBodyguardsAtTheirNextCheck) {
    StartAndSettle();
    const std::int32_t a = PlaceBodyguard(0, 1000, 8.0f);
    const std::int32_t b = PlaceBodyguard(1, 1000, -8.0f);
    const std::int32_t up = PlaceBodyguard(2, 1000, 5.0f);
    standin::RunFrame();
    PedOf(a).health = 499;
    PedOf(b).health = 100;
    ASSERT_TRUE(RunUntilDownedChecks(1, 2, 400));

    World().Kill(PlayerPedHandle());
    const std::size_t mark = Log().Mark();
    standin::RunMs(5100);
    for (std::int32_t h : {a, b}) {
        EXPECT_EQ(CallsOn(mark, "SetEntityHealth", h), Transcript{"SetEntityHealth(" + Z(h) + ", 0, 0)"});
        EXPECT_TRUE(PedOf(h).dead);
        EXPECT_TRUE(PedOf(h).released);
    }
    EXPECT_EQ(roster[0].ped, 0);
    EXPECT_EQ(roster[1].ped, 0);
    EXPECT_EQ(roster[2].ped, up);
    EXPECT_FALSE(PedOf(up).dead);
}

TEST_F(Combat, ADownedBodyguardFoundDeadIsDismissedWithoutFurtherChecks) {
    StartAndSettle();
    const std::int32_t ped = PlaceBodyguard(0, 1000, 8.0f);
    standin::RunFrame();
    PedOf(ped).health = 499;
    ASSERT_TRUE(RunUntilDownedChecks(0, 1, 400));
    World().Kill(ped);
    const std::size_t mark = Log().Mark();
    standin::RunMs(5100);
    EXPECT_TRUE(CallsOn(mark, "PlayPedPain", ped).empty());
    EXPECT_TRUE(CallsOn(mark, "SetEntityHealth", ped).empty());
    EXPECT_EQ(roster[0].ped, 0);
    EXPECT_TRUE(PedOf(ped).released);
}

// Bleeding out takes the same number of checks, 5000 ms of game time apart,
// at any frame rate and across a 3 s frame.
class CombatAtPace : public Combat, public ::testing::WithParamInterface<FramePace> {};

TEST_P(CombatAtPace, DownedChecksComeEveryFiveSecondsAndTheFiftyFirstKills) {
    StartAndSettle();
    const std::int32_t ped = PlaceBodyguard(0, 1000, 8.0f);
    standin::RunFrame();
    PedOf(ped).health = 499;
    std::vector<std::int32_t> checks;
    std::int32_t frameStart = World().gameTimer;
    RunPaced(GetParam(), 262000, [&] {
        const int pains = PedOf(ped).painCount;
        ASSERT_LE(pains - static_cast<int>(checks.size()), 1) << "two checks in one frame";
        const std::int32_t now = World().gameTimer;
        if (pains > static_cast<int>(checks.size())) {
            if (!checks.empty())
                ExpectFirstFrameAfterPeriod(now - checks.back(), 5000, now - frameStart, "a check");
            checks.push_back(now);
        }
        frameStart = now;
    });
    EXPECT_EQ(checks.size(), 51u);
    EXPECT_TRUE(PedOf(ped).dead);
    EXPECT_EQ(roster[0].ped, 0);
}

INSTANTIATE_TEST_SUITE_P(Paces, CombatAtPace, ::testing::ValuesIn(FramePaces()), PaceName);
