// Fuzz target: the whole plug-in played by the input. The first eight bytes
// seed the game (settings, custom list, world quirks); every later pair of
// bytes is one action of the soak engine (key presses, frontend controls,
// targeting, prompt completions, damage, deaths, mounts, vehicles, restarts...),
// its kind and its detail. Every frame is checked for everything the soak test
// checks (tests/support/soak_engine.h).
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "persist/save_file.h"
#include "soak_engine.h"

namespace {
constexpr std::size_t MAX_ACTIONS = 96;
constexpr long MAX_FRAMES = 1500;  // keeps an execution short: some actions wait for minutes of game time
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::EnterPrivateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint64_t seed = 0;
    const std::size_t seedBytes = size < 8 ? size : 8;
    std::memcpy(&seed, data, seedBytes);
    // Every input starts from an empty game folder.
    fuzzsupport::Remove(SAVE_FILE_NAME);

    soak::Engine engine(seed);
    std::string fault = engine.Begin();
    for (std::size_t i = seedBytes, actions = 0; fault.empty() && i + 1 < size && actions < MAX_ACTIONS;
         i += 2, ++actions) {
        if (engine.GetStats().frames > MAX_FRAMES) break;
        // The detail byte is spread over the bits the actions read.
        const unsigned arg = data[i + 1] * 0x01010101u;
        fault = engine.Act(data[i], arg);
    }
    if (!fault.empty()) fuzzsupport::Fail(fault);
    engine.End();
    return 0;
}
