// The plug-in's boundary with the script host: the native-call contract, the
// module's registration and the script's life up to its frame loop.
#include <algorithm>
#include <cstring>

#include "game/natives.h"
#include "game_test.h"
#include "script/lifecycle.h"
#include "script_calls.h"

using standin::Call;

namespace {

const Call& Last(standin::CallLog& log) {
    return log.calls.back();
}

}  // namespace

class NativeContract : public GameTest {};

TEST_F(NativeContract, ArgumentsReachTheHostAsTheirKindSays) {
    // A handle and floats: -2.0f arrives as its bit pattern in the low half.
    GetOffsetPosition(1, 0.0f, -2.0f, 0.5f);
    const Call& offset = Last(Log());
    ASSERT_STREQ(offset.name, "GetOffsetPosition");
    EXPECT_EQ(offset.args[0], 0x1ull);
    EXPECT_EQ(offset.args[1], 0x0ull);
    EXPECT_EQ(offset.args[2], 0x00000000C0000000ull);
    EXPECT_EQ(offset.args[3], 0x000000003F000000ull);

    // Negative ints and bools sit in the low 32 bits, upper bits zero.
    SetPedConfigFlag(-5, 130, true);
    const Call& flag = Last(Log());
    EXPECT_EQ(flag.args[0], 0x00000000FFFFFFFBull);
    EXPECT_EQ(flag.args[1], 130ull);
    EXPECT_EQ(flag.args[2], 1ull);

    // A string is the address of a NUL-terminated copy of the text.
    const char* name = "Tavrossimer";
    IsNamedSetRegistered(name, 3);
    const Call& set = Last(Log());
    EXPECT_EQ(set.args[0], reinterpret_cast<std::uintptr_t>(name));
    EXPECT_EQ(set.S(0), "Tavrossimer");
    EXPECT_EQ(set.args[1], 3ull);
}

TEST_F(NativeContract, SignExtendedSitesFillTheWholeSlot) {
    PromptSetGroup(9001, -7, 0);
    const Call& c = Last(Log());
    EXPECT_EQ(c.args[1], 0xFFFFFFFFFFFFFFF9ull);
    EXPECT_EQ(c.args[2], 0ull);
}

TEST_F(NativeContract, OutParametersAreWrittenThroughTheirAddress) {
    World().player.target = 4242;
    std::int32_t target = 0;
    GetPlayerTargetEntity(0, &target, 1, 1);
    EXPECT_EQ(Last(Log()).args[1], reinterpret_cast<std::uintptr_t>(&target));
    EXPECT_EQ(target, 4242);

    Vector3 safe{};
    FindSafePosition(1.5f, -2.25f, 3.0f, 0, &safe, 16);
    EXPECT_FLOAT_EQ(safe.x, 1.5f);
    EXPECT_FLOAT_EQ(safe.y, -2.25f);
    EXPECT_FLOAT_EQ(safe.z, 3.0f);
}

TEST_F(NativeContract, VectorResultsAreReadFromThreeSlots) {
    World().PlayerPed().pos = {10.0f, 20.0f, 30.0f};
    const Vector3 v = GetOffsetPosition(1, 0.0f, -2.0f, 1.0f);
    EXPECT_FLOAT_EQ(v.x, 10.0f);
    EXPECT_FLOAT_EQ(v.y, 18.0f);
    EXPECT_FLOAT_EQ(v.z, 31.0f);
    const Call& c = Last(Log());
    float y;
    std::memcpy(&y, &c.result[1], 4);
    EXPECT_FLOAT_EQ(y, 18.0f);
}

TEST_F(NativeContract, ResultsAreSigned32BitAndTextHandlesWhole64Bits) {
    // The game's name hash, read back as a signed int.
    const std::int32_t h = HashOfName("INPUT_FRONTEND_ACCEPT");
    EXPECT_EQ(static_cast<std::uint32_t>(h), standin::GameHash("input_frontend_accept"));
    const TextHandle t = CreateVarString(10, "LITERAL_STRING", "Help");
    EXPECT_GT(t, 0xFFFFFFFFull);
    EXPECT_EQ(World().texts[t], "Help");
}

class Lifecycle : public GameTest {};

TEST_F(Lifecycle, AttachRegistersScriptThenKeyboardAndDetachUnregistersBoth) {
    standin::StartGame();
    EXPECT_EQ(Log().NamesSince(0), (Transcript{"scriptRegister", "keyboardHandlerRegister"}));
    EXPECT_EQ(standin::GetHost().module, standin::PluginModule());
    EXPECT_NE(standin::GetHost().scriptEntry, nullptr);

    const std::size_t mark = Log().Mark();
    standin::EndGame();
    EXPECT_EQ(Log().NamesSince(mark), (Transcript{"scriptUnregister", "keyboardHandlerUnregister"}));
    EXPECT_EQ(DllMain(standin::PluginModule(), 2, nullptr), TRUE);
    EXPECT_EQ(DllMain(standin::PluginModule(), 3, nullptr), TRUE);
}

TEST_F(Lifecycle, WaitsForThePlayerThenRunsOneFramePerWait) {
    World().player.pedExists = false;
    standin::StartGame();
    const std::size_t registered = Log().Mark();
    // Three polls find no ped; the ped appears before the fourth.
    int polls = 0;
    for (int frame = 0; frame < 200 && polls < 3; ++frame) {
        standin::RunFrame();
        polls = static_cast<int>(Log().Named("EntityExists").size());
    }
    ASSERT_EQ(polls, 3);
    World().player.pedExists = true;
    standin::RunMs(600);
    standin::RunFrames(5);

    // The named set first; then, before the ped exists, GetPlayerPed, EntityExists
    // and a 500 ms wait, three times over.
    Transcript start = CallsSince(registered);
    start.resize(std::min<std::size_t>(start.size(), 13));
    EXPECT_EQ(start, ExpectedCalls(R"(
        IsNamedSetRegistered("Tavrossimer", 3)
        RegisterNamedSet("Tavrossimer", 3)
        GetPlayerPed(); EntityExists({player}); scriptWait(500)
        GetPlayerPed(); EntityExists({player}); scriptWait(500)
        GetPlayerPed(); EntityExists({player}); scriptWait(500)
        GetPlayerPed(); EntityExists({player})
    )",
                                   {{"{player}", Z(World().player.ped)}}));
    EXPECT_EQ(Log().Named("IsNamedSetRegistered").size(), 1u);
    EXPECT_EQ(Log().Named("RegisterNamedSet").size(), 1u);

    // In the frame loop, one scriptWait(0) per frame.
    const auto waits = Log().Named("scriptWait");
    std::size_t zeroWaits = 0;
    int lastFrame = -1;
    for (const Call* w : waits) {
        if (w->args[0] != 0) continue;
        ++zeroWaits;
        EXPECT_GT(w->frame, lastFrame) << "two waits in one frame";
        lastFrame = w->frame;
    }
    EXPECT_GE(zeroWaits, 5u);
    EXPECT_EQ(Log().Named("EntityExists").size(), 4u);
}

TEST_F(Lifecycle, NamedSetIsRegisteredOnlyWhenTheGameDoesNotKnowIt) {
    World().namedSets.insert("Tavrossimer");
    StartAndSettle();
    EXPECT_EQ(Log().Named("IsNamedSetRegistered").size(), 1u);
    EXPECT_TRUE(Log().Named("RegisterNamedSet").empty());
}
