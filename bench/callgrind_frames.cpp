// Runs windows of frames of one steady state for callgrind to count: either the
// plug-in's frames or the replay of their recorded game calls. bench/callgrind.sh
// collects only inside the two functions below and divides by the frame count
// printed at the end.
//
//     tavrossimer_callgrind_frames <state> plugin|replay [windows]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "call_log.h"
#include "driver.h"
#include "frame_states.h"
#include "lean.h"
#include "world.h"

namespace fs = std::filesystem;
using frame_states::FrameState;

// The measured regions, by name for callgrind's --toggle-collect.
extern "C" __attribute__((noinline)) void tavrossimer_plugin_frames(int state, int frames) {
    frame_states::RunDirectFrames(static_cast<FrameState>(state), frames);
}
extern "C" __attribute__((noinline)) void tavrossimer_replay_frames(const standin::CallRecording* recording) {
    standin::Replay(*recording);
}

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <state> plugin|replay [windows]\nstates:", argv[0]);
        for (FrameState s : frame_states::ALL_STATES) std::fprintf(stderr, " %s", frame_states::StateName(s));
        std::fprintf(stderr, "\n");
        return 2;
    }
    FrameState state{};
    bool found = false;
    for (FrameState s : frame_states::ALL_STATES) {
        if (std::strcmp(argv[1], frame_states::StateName(s)) == 0) {
            state = s;
            found = true;
        }
    }
    const bool plugin = std::strcmp(argv[2], "plugin") == 0;
    if (!found || (!plugin && std::strcmp(argv[2], "replay") != 0)) {
        std::fprintf(stderr, "unknown state or mode\n");
        return 2;
    }
    const int windows = argc > 3 ? std::atoi(argv[3]) : 3;

    std::string pattern = (fs::temp_directory_path() / "tavrossimer-callgrind-XXXXXX").string();
    std::vector<char> folder(pattern.begin(), pattern.end());
    folder.push_back('\0');
    if (mkdtemp(folder.data()) == nullptr) return 1;
    fs::current_path(folder.data());

    standin::ResetWorld();
    standin::GetCallLog().enabled = false;
    const std::string error = frame_states::SetUp(state);
    if (!error.empty()) {
        std::fprintf(stderr, "%s: %s\n", frame_states::StateName(state), error.c_str());
        return 1;
    }
    const int window = frame_states::Required(state).windowFrames;
    standin::SetLeanMode(true);
    frame_states::RunDirectFrames(state, window);
    frame_states::WindowStart start;
    frame_states::CaptureWindowStart(start);
    frame_states::RestoreWindowStart(start);
    standin::CallRecording recording;
    frame_states::RecordDirectFrames(state, window, recording);

    for (int i = 0; i < windows; ++i) {
        frame_states::RestoreWindowStart(start);
        if (plugin)
            tavrossimer_plugin_frames(static_cast<int>(state), window);
        else
            tavrossimer_replay_frames(&recording);
    }
    std::printf("frames=%d calls=%zu\n", windows * window,
                static_cast<std::size_t>(windows) * recording.calls.size());

    standin::SetLeanMode(false);
    standin::EndGame();
    std::error_code ec;
    fs::current_path(fs::temp_directory_path(), ec);
    fs::remove_all(folder.data(), ec);
    return 0;
}
