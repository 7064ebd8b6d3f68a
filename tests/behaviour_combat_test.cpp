// The attack key, going down below 500 health, the "Help" prompt and revive,
// bleeding out, and the deaths that end in dismissal.
#include <cstdint>

#include "behaviour/behaviour.h"
#include "bodyguard_fixture.h"

using standin::Call;

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

    const auto aim = GameCalls(mark, "GetPlayerAimedEntity");
    ASSERT_EQ(aim.size(), 1u);
    EXPECT_EQ(aim[0]->I(0), World().player.id);
    const auto isPed = GameCalls(mark, "IsEntityAPed");
    ASSERT_EQ(isPed.size(), 1u);
    EXPECT_EQ(isPed[0]->I(0), enemy);

    std::vector<const Call*> orders;
    for (const Call* c : GameCalls(mark)) {
        if (c->Is("AddPedTarget") || c->Is("TaskCombatPed")) orders.push_back(c);
    }
    const std::int32_t expected[] = {p0, p3, p6};
    ASSERT_EQ(orders.size(), 6u);
    for (int i = 0; i < 3; ++i) {
        const Call* add = orders[2 * i];
        const Call* combat = orders[2 * i + 1];
        ASSERT_TRUE(add->Is("AddPedTarget"));
        ASSERT_TRUE(combat->Is("TaskCombatPed"));
        EXPECT_EQ(add->I(0), expected[i]);
        EXPECT_EQ(add->args[1], 0xFFFFFFFFFFFFFED4ull);  // -300, sign-extended
        EXPECT_EQ(add->args[2], 1u);
        EXPECT_EQ(combat->I(0), expected[i]);
        EXPECT_EQ(combat->args[1], 0x00000000FFFFFED4ull);
        EXPECT_EQ(combat->args[2], 0u);
        EXPECT_EQ(combat->args[3], 0u);
    }
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
    const auto isPed = GameCalls(mark, "IsEntityAPed");
    ASSERT_EQ(isPed.size(), 1u);
    EXPECT_EQ(isPed[0]->I(0), 0);
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
    const auto combat = GameCalls(mark, "TaskCombatPed");
    ASSERT_EQ(combat.size(), 2u);
    EXPECT_EQ(combat[0]->I(0), a);
    EXPECT_EQ(combat[1]->I(0), b);
    EXPECT_EQ(combat[1]->I(1), b);
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
    const auto ragdoll = CallsOn(mark, "SetPedToRagdoll", ped);
    ASSERT_EQ(ragdoll.size(), 1u);
    const std::uint64_t args[] = {10000, 15000, 0, 1, 1, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(ragdoll[0]->args[i + 1], args[i]) << "argument " << i + 1;
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
    std::vector<std::string> names = GameCallNames(mark);
    const int start =
        IndexOf(mark, "GetPlayerPed", IndexOfOn(mark, "PromptHasCompleted", roster[0].helpPrompt));
    ASSERT_GE(start, 0);
    names.erase(names.begin(), names.begin() + start);
    const std::vector<std::string> expected = {
        "GetPlayerPed",     "GetPlayerId",  "GetPlayerGroup",  "GetPedRelationshipGroupHash",
        "IsEntityDead",     "IsPedRagdoll", "SetPedToRagdoll", "RefreshPedRagdoll",
        "RandomIntInRange", "PlayPedPain",  "IsEntityDead",    "GetGameTimer"};
    EXPECT_EQ(names, expected);
    const auto calls = GameCalls(mark);
    const Call* const* step = &calls[start];
    EXPECT_EQ(step[4]->I(0), ped);
    EXPECT_EQ(step[8]->I(0), 9);
    EXPECT_EQ(step[8]->I(1), 12);
    EXPECT_EQ(step[9]->I(0), ped);
    EXPECT_EQ(step[9]->I(1), 10);
    EXPECT_EQ(step[9]->args[2], 0x3f800000u);
    EXPECT_EQ(step[9]->args[3], 0u);
    EXPECT_EQ(step[9]->args[4], 0u);
    EXPECT_EQ(step[10]->I(0), PlayerPedHandle());
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
    const auto kill = CallsOn(mark, "SetEntityHealth", ped);
    ASSERT_EQ(kill.size(), 1u);
    EXPECT_EQ(kill[0]->I(1), 0);
    EXPECT_EQ(kill[0]->I(2), 0);
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
    const std::vector<std::string> names = GameCallNames(mark);
    ASSERT_GE(names.size(), static_cast<std::size_t>(first + 5));
    EXPECT_EQ(std::vector<std::string>(names.begin() + first, names.begin() + first + 5),
              (std::vector<std::string>{"GetPlayerPed", "IsPedOnFoot", "GetEntityCoords", "GetEntityCoords",
                                        "GetDistanceBetweenCoords"}));
    const auto calls = GameCalls(mark);
    EXPECT_EQ(calls[first + 1]->I(0), PlayerPedHandle());
    EXPECT_EQ(calls[first + 2]->I(0), ped);
    EXPECT_EQ(calls[first + 2]->args[1], 1u);
    EXPECT_EQ(calls[first + 2]->args[2], 0u);
    EXPECT_EQ(calls[first + 3]->I(0), PlayerPedHandle());
    const Call* distance = calls[first + 4];
    const standin::Vec3 p = World().PlayerPed().pos, b = PedOf(ped).pos;
    const float expected[] = {p.x, p.y, p.z, b.x, b.y, b.z};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(distance->F(i), expected[i]) << "argument " << i;

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
    const auto max = CallsOn(mark, "GetEntityMaxHealth", ped);
    ASSERT_EQ(max.size(), 1u);
    EXPECT_EQ(max[0]->I(1), 0);
    const auto set = CallsOn(mark, "SetEntityHealth", ped);
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(set[0]->I(1), 1000);
    EXPECT_EQ(set[0]->I(2), 0);
    const auto clear = CallsOn(mark, "ClearPedTasks", ped);
    ASSERT_EQ(clear.size(), 1u);
    EXPECT_EQ(clear[0]->I(1), 1);
    EXPECT_EQ(clear[0]->I(2), 1);
    EXPECT_LT(IndexOfOn(mark, "SetEntityHealth", ped), IndexOfOn(mark, "ClearPedTasks", ped));
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
        const auto kill = CallsOn(mark, "SetEntityHealth", h);
        ASSERT_EQ(kill.size(), 1u);
        EXPECT_EQ(kill[0]->I(1), 0);
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
