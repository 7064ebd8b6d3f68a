// The whole plug-in played for a long time by a seeded random player, with its
// promises checked after every frame (see support/soak_engine.h). The normal
// suite plays a short game; the "soak" label runs the long one:
//   ctest -L soak            (200,000 frames; TAVROSSIMER_SOAK_FRAMES changes it)
// TAVROSSIMER_SOAK_SEED replays another game.
#include <chrono>
#include <cstdlib>
#include <string>

#include "game_test.h"
#include "soak_engine.h"

namespace {

long long FromEnvironment(const char* name, long long fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atoll(value) : fallback;
}

class Soak : public GameTest {
  protected:
    void Play(std::uint64_t seed, long frames) {
        const auto start = std::chrono::steady_clock::now();
        soak::Engine engine(seed);
        std::string fault = engine.Begin();
        while (fault.empty() && engine.GetStats().frames < frames) fault = engine.Step();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("soak seed %llu: %s; %.1f s\n", static_cast<unsigned long long>(seed),
                    engine.Summary().c_str(), seconds);
        RecordProperty("frames", std::to_string(engine.GetStats().frames));
        ASSERT_EQ(fault, "") << "seed " << seed;
        // The game reached what it is meant to exercise.
        EXPECT_GT(engine.GetStats().hires, 0);
        EXPECT_GT(engine.GetStats().leaves, 0);
        EXPECT_GT(engine.GetStats().framesWithMenuOpen, 0);
        engine.End();
    }
};

}  // namespace

TEST_F(Soak, RandomPlay) {
    const auto seed = static_cast<std::uint64_t>(FromEnvironment("TAVROSSIMER_SOAK_SEED", 20240611));
    Play(seed, static_cast<long>(FromEnvironment("TAVROSSIMER_SOAK_FRAMES", 6000)));
}

// A second short game from another seed, with a restart early on, so the
// normal suite always sees saved bodyguards come back.
TEST_F(Soak, RandomPlayWithRestarts) {
    soak::Engine engine(7);
    std::string fault = engine.Begin();
    for (int round = 0; fault.empty() && round < 3; ++round) {
        for (int i = 0; fault.empty() && i < 21; ++i) fault = engine.Act(21, 0);  // hire
        while (fault.empty() && engine.GetStats().frames < 1500L * (round + 1)) fault = engine.Step();
        if (fault.empty()) fault = engine.Act(25, 0);  // restart
    }
    std::printf("soak with restarts: %s\n", engine.Summary().c_str());
    ASSERT_EQ(fault, "");
    EXPECT_EQ(engine.GetStats().restarts >= 3, true);
    EXPECT_GT(engine.GetStats().respawned, 0);
    engine.End();
}
