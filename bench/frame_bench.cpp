// The plug-in's cost per frame in six steady states, against its floor: the
// same frames' game calls replayed on their own through the same host
// functions. Both run on the stand-in in lean mode (no log, no display list)
// and are timed alternately, window after window, in the same run.
//
// Per state the counters are, per frame: plugin_ns (the frame routine with its
// game calls) and replay_ns (the calls alone), each the median over the
// windows of this thread's CPU time, ratio (plugin_ns / replay_ns),
// calls and req_calls (game calls measured and required, window average),
// quiet and req_quiet (the calls of the quietest frame), allocs (heap
// allocations counted by the global operator new; the library's memory report,
// allocs_per_iter in its JSON output, counts the same per window). The reported Time is the
// plug-in's per window of frames. A table of all states follows the run (on
// stderr, so that --benchmark_format=json stays valid JSON), and then the start-up: DllMain to the end of the
// first frame with seven saved bodyguards, model loads answered at once.
#define TAVROSSIMER_DEFINE_ALLOCATION_COUNTER
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "call_log.h"
#include "driver.h"
#include "frame_states.h"
#include "lean.h"
#include "roster/roster.h"
#include "world.h"

namespace fs = std::filesystem;
using frame_states::FrameState;
using Clock = std::chrono::steady_clock;

namespace {

// The time this thread has run: what the machine's other work took from it
// while a window ran does not count (the build machines are shared and busy).
struct ThreadClock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<ThreadClock, duration>;
    static time_point now() {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return time_point(duration(static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec));
    }
};

// ---- a folder of the bench's own for each game start -----------------------------------

std::string benchFolder;

void FreshFolder() {
    if (benchFolder.empty()) {
        std::string pattern = (fs::temp_directory_path() / "tavrossimer-bench-XXXXXX").string();
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        if (mkdtemp(buf.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        benchFolder = buf.data();
    }
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(benchFolder, ec)) fs::remove_all(entry.path(), ec);
    fs::current_path(benchFolder);
}

// ---- one prepared state at a time --------------------------------------------------------

struct Prepared {
    bool valid = false;
    FrameState state = FrameState::Idle;
    std::string error;
    frame_states::RequiredCalls required{};
    frame_states::WindowStart start{};
    standin::CallRecording recording;
    std::uint32_t quietest = 0;
};
Prepared prepared;

std::uint32_t QuietestFrame(const standin::CallRecording& rec) {
    std::uint32_t least = UINT32_MAX;
    for (std::size_t f = 0; f < rec.frameEnds.size(); ++f) {
        if (rec.CallsInFrame(f) < least) least = rec.CallsInFrame(f);
    }
    return least;
}

// Plays a fresh game into the state, warms it up for a window in lean mode and
// records one window of its game calls.
const Prepared& Prepare(FrameState state) {
    if (prepared.valid && prepared.state == state) return prepared;
    standin::SetLeanMode(false);
    standin::EndGame();
    FreshFolder();
    standin::ResetWorld();
    standin::GetCallLog().enabled = false;

    prepared = Prepared();
    prepared.valid = true;
    prepared.state = state;
    prepared.required = frame_states::Required(state);
    prepared.error = frame_states::SetUp(state);
    if (!prepared.error.empty()) return prepared;

    const int window = prepared.required.windowFrames;
    standin::SetLeanMode(true);
    frame_states::RunDirectFrames(state, window);
    frame_states::CaptureWindowStart(prepared.start);
    frame_states::RestoreWindowStart(prepared.start);
    prepared.recording.calls.reserve(static_cast<std::size_t>(prepared.required.windowCalls) * 2);
    frame_states::RecordDirectFrames(state, window, prepared.recording);
    prepared.quietest = QuietestFrame(prepared.recording);
    return prepared;
}

// Heap allocations made inside the measured windows (the plug-in's frames and
// the replays), for the library's memory report; the harness's bookkeeping
// between windows is left out.
std::uint64_t measuredAllocations = 0, measuredBytes = 0;

// ---- results kept for the closing table -------------------------------------------------

struct Row {
    double iterations = 0;
    double pluginNs = 0, replayNs = 0, calls = 0, requiredCalls = 0, allocs = 0;
    std::uint32_t quiet = 0, requiredQuiet = 0;
};
std::map<int, Row> rows;

template <typename D>
double Ns(D d) {
    return static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(d).count());
}

double Median(std::vector<double>& v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Each iteration is a window of frames of the plug-in, then the replay of the
// same window's calls. The medians of the per-window times give the figures,
// so a window the machine interrupted does not count.
void BM_Frame(benchmark::State& st, FrameState state) {
    const Prepared& p = Prepare(state);
    if (!p.error.empty()) {
        st.SkipWithError(p.error.c_str());
        return;
    }
    const int window = p.required.windowFrames;
    const std::uint64_t recorded = p.recording.calls.size();
    std::vector<double> pluginNs, replayNs;
    pluginNs.reserve(static_cast<std::size_t>(st.max_iterations));
    replayNs.reserve(static_cast<std::size_t>(st.max_iterations));
    std::uint64_t allocs = 0, calls = 0;

    for (auto _ : st) {
        frame_states::RestoreWindowStart(p.start);
        const std::uint64_t bytesBefore = allocation_counter::Bytes();
        const std::uint64_t allocsBefore = allocation_counter::Allocations();
        const std::uint64_t callsBefore = standin::GetLeanCounters().calls;
        const ThreadClock::time_point t0 = ThreadClock::now();
        frame_states::RunDirectFrames(state, window);
        const ThreadClock::time_point t1 = ThreadClock::now();
        allocs += allocation_counter::Allocations() - allocsBefore;
        measuredAllocations += allocation_counter::Allocations() - allocsBefore;
        calls += standin::GetLeanCounters().calls - callsBefore;

        frame_states::RestoreWindowStart(p.start);
        const std::uint64_t replayAllocsBefore = allocation_counter::Allocations();
        const ThreadClock::time_point t2 = ThreadClock::now();
        standin::Replay(p.recording);
        const ThreadClock::time_point t3 = ThreadClock::now();
        measuredAllocations += allocation_counter::Allocations() - replayAllocsBefore;
        measuredBytes += allocation_counter::Bytes() - bytesBefore;

        pluginNs.push_back(Ns(t1 - t0));
        replayNs.push_back(Ns(t3 - t2));
        st.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    const std::uint64_t windows = pluginNs.size();
    if (windows == 0) return;
    if (calls != windows * recorded) {
        st.SkipWithError("the plug-in's windows made other calls than the recorded one");
        return;
    }

    const double frames = static_cast<double>(windows) * window;
    Row row;
    row.iterations = static_cast<double>(windows);
    row.pluginNs = Median(pluginNs) / window;
    row.replayNs = Median(replayNs) / window;
    row.calls = static_cast<double>(calls) / frames;
    row.requiredCalls = static_cast<double>(p.required.windowCalls) / window;
    row.allocs = static_cast<double>(allocs) / frames;
    row.quiet = p.quietest;
    row.requiredQuiet = static_cast<std::uint32_t>(p.required.quietestFrame);

    st.counters["plugin_ns"] = row.pluginNs;
    st.counters["replay_ns"] = row.replayNs;
    st.counters["ratio"] = row.pluginNs / row.replayNs;
    st.counters["calls"] = row.calls;
    st.counters["req_calls"] = row.requiredCalls;
    st.counters["quiet"] = row.quiet;
    st.counters["req_quiet"] = row.requiredQuiet;
    st.counters["allocs"] = row.allocs;

    // The closing table shows the longest run of each state (the benchmark
    // library also runs short ones to size the iterations).
    Row& kept = rows[static_cast<int>(state)];
    if (row.iterations > kept.iterations) kept = row;
}

// ---- start-up -----------------------------------------------------------------------------

struct Startup {
    double loadMicros = -1;   // StartGame: the module's load state put back, DllMain(attach)
    double firstMicros = -1;  // the first frame: ScriptMain up to the end of the first FrameTick
    double wallMicros = -1;   // the same first frame in wall-clock time
    double calls = 0;         // game calls of the first frame
    std::size_t starts = 0;   // game starts measured
};
Startup startup;

double ProcessCpuNs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e9 + static_cast<double>(ts.tv_nsec);
}

// A save file naming seven bodyguards of the male list with a revolver and a
// repeater, and the "Auto" formation.
void WriteSevenSaved() {
    std::ofstream out("Tavrossimer.dat", std::ios::binary);
    for (int i = 0; i < ROSTER_SIZE; ++i) out << " 0 " << i << " 1 -1 1 0";
    out << " 11";
}

// From DllMain to the end of the first frame with seven saved bodyguards,
// model loads answered at once. The first frame is where the host starts the
// script: ScriptMain registers the named set, reads the custom list and the
// save file, finds the player, hires the seven again and runs the first
// FrameTick. Timed in CPU time of the whole process (both the driver's and the
// script's thread); the script thread's start is the stand-in host's share.
void BM_Startup(benchmark::State& st) {
    prepared.valid = false;
    standin::SetLeanMode(true);
    std::vector<double> load, first, wall, calls;
    for (auto _ : st) {
        standin::EndGame();
        FreshFolder();
        WriteSevenSaved();
        standin::ResetWorld();
        standin::GetWorld().modelLoadFrames = 0;

        const double c0 = ProcessCpuNs();
        standin::StartGame();
        const double c1 = ProcessCpuNs();
        const std::uint64_t callsBefore = standin::GetLeanCounters().calls;
        const Clock::time_point w0 = Clock::now();
        standin::RunFrame();
        const Clock::time_point w1 = Clock::now();
        const double c2 = ProcessCpuNs();

        for (const BodyguardRecord& r : roster) {
            if (r.ped == 0) {
                st.SkipWithError("the first frame came without the seven saved bodyguards");
                standin::SetLeanMode(false);
                return;
            }
        }
        load.push_back((c1 - c0) / 1000.0);
        first.push_back((c2 - c1) / 1000.0);
        wall.push_back(Ns(w1 - w0) / 1000.0);
        calls.push_back(static_cast<double>(standin::GetLeanCounters().calls - callsBefore));
        st.SetIterationTime((c2 - c0) / 1e9);
    }
    standin::SetLeanMode(false);
    if (first.empty()) return;
    Startup run;
    run.starts = first.size();
    run.loadMicros = Median(load);
    run.firstMicros = Median(first);
    run.wallMicros = Median(wall);
    run.calls = Median(calls);
    st.counters["load_us"] = run.loadMicros;
    st.counters["first_frame_us"] = run.firstMicros;
    st.counters["first_frame_wall_us"] = run.wallMicros;
    st.counters["calls"] = run.calls;
    if (run.starts > startup.starts) startup = run;  // the closing line shows the longest run
}

// ---- heap allocations for the library's memory report -----------------------------------

class CountingMemoryManager : public benchmark::MemoryManager {
  public:
    void Start() override {
        allocs_ = measuredAllocations;
        bytes_ = measuredBytes;
    }
    void Stop(Result* result) override { Stop(*result); }
    void Stop(Result& result) override {
        result.num_allocs = static_cast<std::int64_t>(measuredAllocations - allocs_);
        result.total_allocated_bytes = static_cast<std::int64_t>(measuredBytes - bytes_);
        result.max_bytes_used = 0;
    }

  private:
    std::uint64_t allocs_ = 0, bytes_ = 0;
};

void PrintTable() {
    if (!rows.empty()) {
        std::fprintf(stderr, "\n%-22s %12s %12s %7s %18s %14s %12s\n", "state", "plugin ns/f", "replay ns/f",
                     "ratio", "calls/f (req)", "quiet (req)", "allocs/f");
    }
    for (FrameState s : frame_states::ALL_STATES) {
        auto it = rows.find(static_cast<int>(s));
        if (it == rows.end()) continue;
        const Row& r = it->second;
        char calls[32], quiet[32];
        std::snprintf(calls, sizeof calls, "%.2f (%.2f)", r.calls, r.requiredCalls);
        std::snprintf(quiet, sizeof quiet, "%u (%u)", r.quiet, r.requiredQuiet);
        std::fprintf(stderr, "%-22s %12.1f %12.1f %7.2f %18s %14s %12.3f\n", frame_states::StateName(s),
                     r.pluginNs, r.replayNs, r.pluginNs / r.replayNs, calls, quiet, r.allocs);
    }
    if (startup.firstMicros >= 0) {
        std::fprintf(
            stderr,
            "\nstart-up with seven saved bodyguards (CPU time, medians): DllMain with the module's load "
            "state %.1f us, then the first frame (ScriptMain to the end of the first FrameTick) %.1f us "
            "(%.1f us wall clock, %.0f game calls)\n",
            startup.loadMicros, startup.firstMicros, startup.wallMicros, startup.calls);
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (FrameState s : frame_states::ALL_STATES) {
        benchmark::RegisterBenchmark((std::string("frame/") + frame_states::StateName(s)).c_str(),
                                     [s](benchmark::State& st) { BM_Frame(st, s); })
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("startup/seven_saved", BM_Startup)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    CountingMemoryManager memory;
    benchmark::RegisterMemoryManager(&memory);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::RegisterMemoryManager(nullptr);
    benchmark::Shutdown();

    standin::SetLeanMode(false);
    standin::EndGame();
    PrintTable();
    if (!benchFolder.empty()) {
        std::error_code ec;
        fs::current_path(fs::temp_directory_path(), ec);
        fs::remove_all(benchFolder, ec);
    }
    return 0;
}
