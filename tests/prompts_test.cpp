// The prompt routines: registering a prompt and switching it on and off.
#include "behaviour/behaviour.h"
#include "game_test.h"
#include "script_calls.h"

class Prompts : public GameTest {};

TEST_F(Prompts, AnUngroupedPromptMakesNoGroupCallsAndStartsOffWithItsHandleStored) {
    std::int32_t field = 0;
    const std::size_t mark = Log().Mark();
    CreateBodyguardPrompt(&field, "INPUT_CONTEXT_A", false, 0, "Help", 20);
    EXPECT_EQ(CallsSince(mark),
              ExpectedCalls(R"(
        PromptRegisterBegin()
        HashOfName("INPUT_CONTEXT_A"); PromptSetControlAction({H}, {control})
        CreateVarString(10, "LITERAL_STRING", "Help"); PromptSetText({H}, T"Help")
        PromptSetMode({H}, 24)
        PromptRegisterEnd({H})
        PromptSetEnabled({H}, 0); PromptSetVisible({H}, 0)
    )",
                            {{"{H}", std::to_string(field)}, {"{control}", ZHash("INPUT_CONTEXT_A")}}));
    const standin::Prompt* p = World().FindPrompt(field);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->controlName, "INPUT_CONTEXT_A");
    EXPECT_EQ(p->text, "Help");
    EXPECT_FALSE(p->grouped);
    EXPECT_TRUE(p->registrationEnded);
    EXPECT_FALSE(p->enabled || p->visible);
}

TEST_F(Prompts, AGroupedPromptJoinsThePedsGroupSignExtended) {
    const std::int32_t ped = World().SpawnPed(standin::GameHash("CS_dutch"), {});
    const std::int32_t group = World().FindPed(ped)->promptGroup;
    ASSERT_LT(group, 0);  // the game's prompt groups have the top bit set
    std::int32_t field = 0;
    const std::size_t mark = Log().Mark();
    CreateBodyguardPrompt(&field, "INPUT_INTERACT_OPTION1", true, ped, "Stay Here", 11);
    EXPECT_EQ(CallsSince(mark), ExpectedCalls(R"(
        PromptRegisterBegin()
        HashOfName("INPUT_INTERACT_OPTION1"); PromptSetControlAction({H}, {control})
        CreateVarString(10, "LITERAL_STRING", "Stay Here"); PromptSetText({H}, T"Stay Here")
        PromptSetMode({H}, 15)
        GetPedPromptGroup({ped}); PromptSetGroup({H}, {group}, 0)
        PromptRegisterEnd({H})
        PromptSetEnabled({H}, 0); PromptSetVisible({H}, 0)
    )",
                                              {{"{H}", std::to_string(field)},
                                               {"{control}", ZHash("INPUT_INTERACT_OPTION1")},
                                               {"{ped}", std::to_string(ped)},
                                               {"{group}", std::to_string(group)}}));
    EXPECT_EQ(World().FindPrompt(field)->group, group);
    EXPECT_EQ(World().FindPrompt(field)->text, "Stay Here");
}

TEST_F(Prompts, SetPromptActiveSetsEnabledThenVisible) {
    std::int32_t field = 0;
    CreateBodyguardPrompt(&field, "INPUT_INTERACT_OPTION2", false, 0, "Dismiss", 11);
    const std::string H = std::to_string(field);
    std::size_t mark = Log().Mark();
    SetPromptActive(field, true, true);
    EXPECT_EQ(CallsSince(mark),
              (std::vector<std::string>{"PromptSetEnabled(" + H + ", 1)", "PromptSetVisible(" + H + ", 1)"}));
    EXPECT_TRUE(World().FindPrompt(field)->enabled && World().FindPrompt(field)->visible);
    SetPromptActive(field, false, false);
    EXPECT_FALSE(World().FindPrompt(field)->enabled || World().FindPrompt(field)->visible);
}
