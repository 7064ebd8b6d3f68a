// What a frame costs in game calls, and the lean stand-in the benchmarks
// measure it on. In each of the six steady states a window of frames makes
// exactly the game calls the frame routine's steps require (no call more, no
// call less); lean mode answers so that the plug-in makes the very same calls
// as on the full world; a replay of recorded calls touches nothing of the
// plug-in's.
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "behaviour/behaviour.h"
#include "frame_states.h"
#include "game_test.h"
#include "lean.h"
#include "natives.h"
#include "script/frame_tick.h"

using frame_states::FrameState;

namespace {

std::string NameOf(std::uint64_t hash) {
    const standin::NativeInfo* n = standin::FindNative(hash);
    return n ? n->name : "?";
}

// "GetGameTimer x2, ..." for the calls of one recorded frame.
std::string DescribeFrame(const standin::CallRecording& rec, std::size_t frame) {
    const std::uint32_t begin = frame == 0 ? 0 : rec.frameEnds[frame - 1];
    std::map<std::string, int> counts;
    for (std::uint32_t c = begin; c < rec.frameEnds[frame]; ++c) ++counts[NameOf(rec.calls[c].hash)];
    std::ostringstream out;
    for (const auto& [name, n] : counts) out << name << " x" << n << ", ";
    return out.str();
}

// The argument kinds whose values must be the same in two runs of the same
// frames: everything but addresses (strings, out-pointers) and text handles.
bool Comparable(char kind) {
    return kind == 'i' || kind == 'e' || kind == 'b' || kind == 'r' || kind == 'f';
}

}  // namespace

class FrameCostTest : public GameTest, public ::testing::WithParamInterface<FrameState> {
  protected:
    void TearDown() override {
        standin::SetLeanMode(false);
        GameTest::TearDown();
    }

    // Sets the state up, warms it up for a window in lean mode and keeps the
    // start of the next window.
    void Prepare() {
        ASSERT_EQ(frame_states::SetUp(GetParam()), "");
        window_ = frame_states::Required(GetParam()).windowFrames;
        standin::SetLeanMode(true);
        frame_states::RunDirectFrames(GetParam(), window_);
        frame_states::CaptureWindowStart(start_);
    }

    int window_ = 0;
    frame_states::WindowStart start_{};
};

TEST_P(FrameCostTest, WindowMakesExactlyTheRequiredCalls) {
    Prepare();
    const frame_states::RequiredCalls required = frame_states::Required(GetParam());
    frame_states::RestoreWindowStart(start_);
    standin::CallRecording rec;
    frame_states::RecordDirectFrames(GetParam(), window_, rec);

    ASSERT_EQ(rec.frameEnds.size(), static_cast<std::size_t>(window_));
    EXPECT_EQ(static_cast<long>(rec.calls.size()), required.windowCalls);
    std::size_t quietest = 0;
    for (std::size_t f = 1; f < rec.frameEnds.size(); ++f) {
        if (rec.CallsInFrame(f) < rec.CallsInFrame(quietest)) quietest = f;
    }
    EXPECT_EQ(static_cast<int>(rec.CallsInFrame(quietest)), required.quietestFrame)
        << "frame " << quietest << ": " << DescribeFrame(rec, quietest);
}

TEST_P(FrameCostTest, LeanModeLeadsThePlugInToTheSameCalls) {
    Prepare();
    standin::World& w = World();

    // A window on the full world, logged.
    standin::SetLeanMode(false);
    frame_states::RestoreWindowStart(start_);
    const std::size_t mark = Log().Mark();
    for (int i = 0; i < window_; ++i) {
        standin::AdvanceFrameClocks();
        w.display.clear();
        w.texts.clear();
        frame_states::BetweenFrames(GetParam());
        FrameTick();
    }
    const std::vector<const standin::Call*> full = Log().Since(mark);

    // The same window in lean mode, recorded.
    standin::SetLeanMode(true);
    frame_states::RestoreWindowStart(start_);
    standin::CallRecording lean;
    frame_states::RecordDirectFrames(GetParam(), window_, lean);

    ASSERT_EQ(lean.calls.size(), full.size());
    for (std::size_t c = 0; c < full.size(); ++c) {
        const standin::CallRecording::Entry& e = lean.calls[c];
        ASSERT_EQ(e.hash, full[c]->hash) << "call " << c << ": " << NameOf(e.hash) << " in lean mode, "
                                         << standin::CallLog::Describe(*full[c]) << " on the full world";
        const char* sig = standin::FindNative(e.hash)->signature;
        for (std::uint32_t a = 0; a < e.argCount && sig[a] != '\0' && sig[a] != '*'; ++a) {
            if (!Comparable(sig[a])) continue;
            ASSERT_EQ(lean.args[e.firstArg + a], full[c]->args[a])
                << "argument " << a << " of " << standin::CallLog::Describe(*full[c]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(States, FrameCostTest, ::testing::ValuesIn(frame_states::ALL_STATES),
                         [](const ::testing::TestParamInfo<FrameState>& info) {
                             return std::string(frame_states::StateName(info.param));
                         });

class LeanModeTest : public GameTest {
  protected:
    void TearDown() override {
        standin::SetLeanMode(false);
        GameTest::TearDown();
    }
};

// The replay's out-pointers go to a scratch area: replaying a target query
// recorded while nobody was targeted leaves what the plug-in last asked alone.
TEST_F(LeanModeTest, ReplayWritesNothingIntoThePlugIn) {
    ASSERT_EQ(frame_states::SetUp(FrameState::SevenFollowing), "");
    standin::SetLeanMode(true);
    standin::CallRecording rec;
    frame_states::RecordDirectFrames(FrameState::SevenFollowing, 3, rec);
    ASSERT_EQ(behaviour.targetEntity, 0);

    World().player.target = roster[2].ped;
    const std::uint64_t before = standin::GetLeanCounters().calls;
    standin::Replay(rec);
    EXPECT_EQ(standin::GetLeanCounters().calls - before, rec.calls.size());
    EXPECT_EQ(behaviour.targetEntity, 0);
    EXPECT_FALSE(roster[2].promptsCreated);
}

// The handle index belongs to its world: after a fresh world, in lean mode,
// its peds (not the old world's) answer.
TEST_F(LeanModeTest, TablesFollowAFreshWorld) {
    ASSERT_EQ(frame_states::SetUp(FrameState::SevenFollowing), "");
    standin::SetLeanMode(true);
    standin::RunFrames(3);
    standin::EndGame();

    standin::ResetWorld();
    ASSERT_EQ(frame_states::SetUp(FrameState::SevenFollowing), "");
    // Hiring ran in lean mode on the new world; its bodyguards answer from it.
    World().Damage(roster[0].ped, 700);  // 1000 - 700: below 500, so the bodyguard goes down
    standin::RunFrame();
    EXPECT_TRUE(roster[0].downed);
    EXPECT_TRUE(World().FindPed(roster[0].ped)->ragdoll);
}
