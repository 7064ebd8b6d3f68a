// A steady frame allocates nothing: in each of the six states, once every
// periodic step has run once, a whole window of frames goes by through the
// host's own frame loop without a single operator new. The stand-in runs in
// lean mode (no call log, no display list, no text copies), so any allocation
// in a frame is the plug-in's.
#define TAVROSSIMER_DEFINE_ALLOCATION_COUNTER
#include <memory>
#include <string>

#include "allocation_counter.h"
#include "frame_states.h"
#include "game_test.h"
#include "lean.h"

using frame_states::FrameState;

TEST(AllocationCounterTest, SeesEveryFormOfNew) {
    ASSERT_TRUE(allocation_counter::AllocationCounting());
    const std::uint64_t before = allocation_counter::Allocations();
    {
        auto one = std::make_unique<int>(1);
        auto many = std::make_unique<int[]>(100);
        std::string text(64, 'x');
        struct alignas(64) Wide {
            char bytes[64];
        };
        auto wide = std::make_unique<Wide>();
        ASSERT_NE(wide.get(), nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(wide.get()) % 64, 0u);
    }
    EXPECT_EQ(allocation_counter::Allocations() - before, 4u);
}

class SteadyFrameTest : public GameTest, public ::testing::WithParamInterface<FrameState> {
  protected:
    void TearDown() override {
        standin::SetLeanMode(false);
        GameTest::TearDown();
    }
};

TEST_P(SteadyFrameTest, AllocatesNothing) {
    const FrameState state = GetParam();
    ASSERT_EQ(frame_states::SetUp(state), "");
    standin::SetLeanMode(true);
    const int window = frame_states::Required(state).windowFrames;

    // Warm-up: every periodic step (following, formation) runs at least once.
    for (int i = 0; i < window; ++i) {
        frame_states::BetweenFrames(state);
        standin::RunFrame();
    }

    int allocatingFrames = 0, firstAllocatingFrame = -1;
    std::uint64_t allocations = 0;
    for (int i = 0; i < window; ++i) {
        frame_states::BetweenFrames(state);
        const std::uint64_t before = allocation_counter::Allocations();
        standin::RunFrame();
        const std::uint64_t made = allocation_counter::Allocations() - before;
        if (made != 0) {
            if (firstAllocatingFrame < 0) firstAllocatingFrame = i;
            ++allocatingFrames;
            allocations += made;
        }
    }
    EXPECT_EQ(allocatingFrames, 0) << allocations << " allocations, the first in frame "
                                   << firstAllocatingFrame << " of the window";
    // The frames did run through the plug-in.
    EXPECT_GT(standin::GetLeanCounters().calls, static_cast<std::uint64_t>(window));
}

INSTANTIATE_TEST_SUITE_P(States, SteadyFrameTest, ::testing::ValuesIn(frame_states::ALL_STATES),
                         [](const ::testing::TestParamInfo<FrameState>& info) {
                             return std::string(frame_states::StateName(info.param));
                         });
