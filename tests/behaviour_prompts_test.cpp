// The order prompts of a targeted bodyguard: collapsed, expanded while
// following, expanded while staying, and what each completed prompt does.
#include <algorithm>
#include <cstdint>

#include "behaviour/behaviour.h"
#include "bodyguard_fixture.h"

namespace {

struct PromptView {
    bool show, hide, stay, follow, dismiss;
};

}  // namespace

class CommandPrompts : public BodyguardTest {
  protected:
    PromptView View(int slot) {
        const BodyguardRecord& r = roster[slot];
        return {PromptActive(r.showCommandsPrompt), PromptActive(r.hideCommandsPrompt),
                PromptActive(r.stayPrompt), PromptActive(r.followPrompt), PromptActive(r.dismissPrompt)};
    }
    void ExpectCollapsed(int slot) {
        const PromptView v = View(slot);
        EXPECT_TRUE(v.show);
        EXPECT_FALSE(v.hide);
        EXPECT_FALSE(v.stay);
        EXPECT_FALSE(v.follow);
        EXPECT_FALSE(v.dismiss);
    }
    void ExpectExpanded(int slot, bool staying) {
        const PromptView v = View(slot);
        EXPECT_FALSE(v.show);
        EXPECT_TRUE(v.hide);
        EXPECT_EQ(v.stay, !staying);
        EXPECT_EQ(v.follow, staying);
        EXPECT_TRUE(v.dismiss);
    }
    // Completes a prompt that is on screen and runs the frame that sees it.
    void Complete(std::int32_t prompt) {
        ASSERT_TRUE(World().CompletePrompt(prompt)) << "prompt " << prompt << " is not shown";
        standin::RunFrame();
    }
    // Targets the bodyguard of `slot` and opens its commands.
    void Expand(int slot) {
        World().player.target = roster[slot].ped;
        standin::RunFrame();
        Complete(roster[slot].showCommandsPrompt);
        standin::RunFrame();
    }
    // The bodyguard's config flag 130 as it was set since `mark`.
    Transcript Flag130(std::size_t mark, std::int32_t ped) {
        Transcript out;
        for (const std::string& line : CallsOn(mark, "SetPedConfigFlag", ped)) {
            if (line.find(", 130, ") != std::string::npos) out.push_back(line);
        }
        return out;
    }
    std::string Flag130Line(std::int32_t ped, bool value) {
        return "SetPedConfigFlag(" + Z(ped) + ", 130, " + (value ? "1)" : "0)");
    }
};

TEST_F(CommandPrompts, FirstTargetMakesFivePromptsAndShowsOnlyShowCommands) {
    StartAndSettle();
    const std::int32_t ped = PlaceBodyguard(0);
    standin::RunFrames(3);
    // Untargeted: no order prompts, and flag 130 is left alone.
    EXPECT_FALSE(roster[0].promptsCreated);
    EXPECT_EQ(roster[0].dismissPrompt, 0);
    EXPECT_TRUE(Flag130(0, ped).empty());

    World().player.target = ped;
    const std::size_t mark = Log().Mark();
    standin::RunFrame();
    const BodyguardRecord& r = roster[0];
    EXPECT_TRUE(r.promptsCreated);
    EXPECT_FALSE(r.commandsShown);

    // Made in the order Dismiss, Stay Here, Follow Me, Show Commands, Hide Commands.
    const std::int32_t order[] = {r.dismissPrompt, r.stayPrompt, r.followPrompt, r.showCommandsPrompt,
                                  r.hideCommandsPrompt};
    for (int i = 1; i < 5; ++i) EXPECT_LT(order[i - 1], order[i]);
    struct Expected {
        std::int32_t handle;
        const char* text;
        const char* control;
        int mode;
    } expected[] = {{r.dismissPrompt, "Dismiss", "INPUT_INTERACT_OPTION2", 15},
                    {r.stayPrompt, "Stay Here", "INPUT_INTERACT_OPTION1", 15},
                    {r.followPrompt, "Follow Me", "INPUT_INTERACT_OPTION1", 15},
                    {r.showCommandsPrompt, "Show Commands", "INPUT_CONTEXT_A", 24},
                    {r.hideCommandsPrompt, "Hide Commands", "INPUT_CONTEXT_A", 24}};
    for (const Expected& e : expected) {
        const standin::Prompt* p = World().FindPrompt(e.handle);
        ASSERT_NE(p, nullptr) << e.text;
        EXPECT_EQ(p->text, e.text);
        EXPECT_EQ(p->controlName, e.control);
        EXPECT_EQ(p->holdTimeMs, e.mode);
        EXPECT_TRUE(p->grouped);
        EXPECT_EQ(p->group, World().FindPed(ped)->promptGroup);
    }
    ExpectCollapsed(0);

    // Flag 130 goes false once, after the prompts are made.
    EXPECT_EQ(Flag130(mark, ped), Transcript{Flag130Line(ped, false)});
    const Transcript calls = GameCallsSince(mark);
    const auto flag = std::find(calls.begin(), calls.end(), Flag130Line(ped, false));
    EXPECT_EQ(std::count(calls.begin(), flag, "PromptRegisterBegin()"), 5);

    // Still targeted: nothing is made again.
    const std::size_t later = Log().Mark();
    standin::RunFrame();
    EXPECT_TRUE(GameCalls(later, "PromptRegisterBegin").empty());
    ExpectCollapsed(0);
}

TEST_F(CommandPrompts, ShowStayFollowAndHideMoveBetweenTheStates) {
    StartAndSettle();
    const std::int32_t ped = PlaceBodyguard(0);
    World().player.target = ped;
    standin::RunFrame();
    const BodyguardRecord& r = roster[0];

    // Show Commands: the flag goes true at once, the expanded prompts come next frame.
    std::size_t mark = Log().Mark();
    Complete(r.showCommandsPrompt);
    EXPECT_TRUE(r.commandsShown);
    EXPECT_EQ(Flag130(mark, ped), Transcript{Flag130Line(ped, true)});
    ExpectCollapsed(0);
    standin::RunFrame();
    ExpectExpanded(0, false);

    // Stay Here: the bodyguard stays and smokes; Follow Me is offered from the next frame.
    const std::int32_t smoke = static_cast<std::int32_t>(standin::GameHash("WORLD_HUMAN_SMOKE"));
    mark = Log().Mark();
    Complete(r.stayPrompt);
    EXPECT_TRUE(r.staying);
    EXPECT_EQ(CallsOn(mark, "TaskStartScenarioInPlace", ped),
              Transcript{"TaskStartScenarioInPlace(" + Z(ped) + ", " + Z(smoke) + ", 0, 0, 0, 1, 0)"});
    EXPECT_EQ(World().FindPed(ped)->scenario, smoke);
    EXPECT_FALSE(View(0).stay);
    EXPECT_FALSE(View(0).follow);
    standin::RunFrame();
    ExpectExpanded(0, true);

    // Follow Me: smoking stops at once.
    mark = Log().Mark();
    Complete(r.followPrompt);
    EXPECT_FALSE(r.staying);
    const Transcript clears = CallsOn(mark, "ClearPedTasks", ped);
    ASSERT_GE(clears.size(), 1u);
    EXPECT_EQ(clears.front(), "ClearPedTasks(" + Z(ped) + ", 1, 1)");
    EXPECT_EQ(World().FindPed(ped)->scenario, 0);
    standin::RunFrame();
    ExpectExpanded(0, false);

    // Hide Commands: the flag goes false at once, collapsed from the next frame.
    mark = Log().Mark();
    Complete(r.hideCommandsPrompt);
    EXPECT_FALSE(r.commandsShown);
    EXPECT_EQ(Flag130(mark, ped), Transcript{Flag130Line(ped, false)});
    standin::RunFrame();
    ExpectCollapsed(0);
}

TEST_F(CommandPrompts, StayHereOnASmokingBodyguardGivesNoNewTask) {
    StartAndSettle();
    const std::int32_t ped = PlaceBodyguard(0);
    Expand(0);
    const std::int32_t smoke = static_cast<std::int32_t>(standin::GameHash("WORLD_HUMAN_SMOKE"));
    World().FindPed(ped)->scenario = smoke;
    const std::size_t mark = Log().Mark();
    Complete(roster[0].stayPrompt);
    EXPECT_TRUE(roster[0].staying);
    const Transcript asked = CallsOn(mark, "IsPedUsingScenario", ped);
    ASSERT_GE(asked.size(), 1u);
    EXPECT_EQ(asked.front(), "IsPedUsingScenario(" + Z(ped) + ", " + Z(smoke) + ")");
    EXPECT_TRUE(GameCalls(mark, "TaskStartScenarioInPlace").empty());
}

TEST_F(CommandPrompts, LosingTheTargetDeletesThePromptsAndForgetsTheirHandles) {
    StartAndSettle();
    const std::int32_t ped = PlaceBodyguard(0);
    Expand(0);
    BodyguardRecord& r = roster[0];
    const std::int32_t old[] = {r.followPrompt, r.stayPrompt, r.dismissPrompt, r.showCommandsPrompt,
                                r.hideCommandsPrompt};

    World().player.target = 0;
    std::size_t mark = Log().Mark();
    standin::RunFrame();
    Transcript deletes;
    for (std::int32_t prompt : old) {
        deletes.push_back("PromptDelete(" + Z(prompt) + ")");
        EXPECT_TRUE(World().FindPrompt(prompt)->deleted);
    }
    EXPECT_EQ(CallsNamed(mark, {"PromptDelete"}), deletes);
    EXPECT_EQ(Flag130(mark, ped), Transcript{Flag130Line(ped, true)});
    EXPECT_FALSE(r.promptsCreated);
    EXPECT_TRUE(r.commandsShown);
    EXPECT_EQ(r.followPrompt, 0);
    EXPECT_EQ(r.stayPrompt, 0);
    EXPECT_EQ(r.dismissPrompt, 0);
    EXPECT_EQ(r.showCommandsPrompt, 0);
    EXPECT_EQ(r.hideCommandsPrompt, 0);

    // Untargeted frames delete nothing more.
    mark = Log().Mark();
    standin::RunFrames(3);
    EXPECT_TRUE(GameCalls(mark, "PromptDelete").empty());

    // Targeted again: new prompts, expanded in the same frame, flag 130 untouched.
    World().player.target = ped;
    mark = Log().Mark();
    standin::RunFrame();
    EXPECT_EQ(GameCalls(mark, "PromptRegisterBegin").size(), 5u);
    EXPECT_TRUE(Flag130(mark, ped).empty());
    ExpectExpanded(0, false);
    EXPECT_TRUE(World().staleUses.empty());
}

TEST_F(CommandPrompts, DismissalAfterTheTargetWasLostPassesZeroForTheDeletedPrompts) {
    StartAndSettle();
    PlaceBodyguard(0);
    Expand(0);
    const std::int32_t help = roster[0].helpPrompt;
    World().player.target = 0;
    standin::RunFrame();

    const std::size_t mark = Log().Mark();
    DismissBodyguard(roster[0]);
    EXPECT_EQ(CallsNamed(mark, {"PromptDelete"}),
              ExpectedCalls("PromptDelete({help}); PromptDelete(0); PromptDelete(0); PromptDelete(0); "
                            "PromptDelete(0); PromptDelete(0)",
                            {{"{help}", Z(help)}}));
    EXPECT_TRUE(World().staleUses.empty());
}

TEST_F(CommandPrompts, DismissFreesTheRecordAndThePassGoesOnWithTheNext) {
    StartAndSettle();
    const std::int32_t first = PlaceBodyguard(0);
    PlaceBodyguard(1, 1000, -3.0f);
    Expand(0);
    const std::int32_t help0 = roster[0].helpPrompt;
    const std::int32_t help1 = roster[1].helpPrompt;

    const std::size_t mark = Log().Mark();
    Complete(roster[0].dismissPrompt);
    // Nothing more for the dismissed record in that frame; the next record has its turn.
    EXPECT_TRUE(CallsOn(mark, "PromptHasCompleted", help0).empty());
    EXPECT_FALSE(CallsOn(mark, "PromptHasCompleted", help1).empty());
    EXPECT_EQ(roster[0].ped, 0);
    EXPECT_TRUE(World().FindPed(first)->released);
    EXPECT_NE(roster[1].ped, 0);
}

TEST_F(CommandPrompts, OnlyTheTargetedBodyguardHasPrompts) {
    StartAndSettle();
    const std::int32_t a = PlaceBodyguard(0);
    const std::int32_t b = PlaceBodyguard(1, 1000, -3.0f);
    World().player.target = a;
    standin::RunFrame();
    EXPECT_TRUE(roster[0].promptsCreated);
    EXPECT_FALSE(roster[1].promptsCreated);
    const std::int32_t aShow = roster[0].showCommandsPrompt;

    World().player.target = b;
    standin::RunFrame();
    EXPECT_FALSE(roster[0].promptsCreated);
    EXPECT_TRUE(World().FindPrompt(aShow)->deleted);
    EXPECT_TRUE(roster[1].promptsCreated);
    ExpectCollapsed(1);
}
