#include "game_test.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

void GameTest::SetUp() {
    previousFolder_ = fs::current_path().string();
    std::string pattern = (fs::temp_directory_path() / "tavrossimer-test-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    ASSERT_NE(mkdtemp(buf.data()), nullptr);
    folder_ = buf.data();
    fs::current_path(folder_);
    standin::ResetWorld();
    standin::GetCallLog().Clear();
}

void GameTest::TearDown() {
    standin::EndGame();
    fs::current_path(previousFolder_);
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

void GameTest::WriteFile(const std::string& name, const std::string& content) {
    std::ofstream out(name, std::ios::binary);
    out << content;
}

std::string GameTest::ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool GameTest::FileExists(const std::string& name) {
    return fs::exists(name);
}

std::vector<std::string> GameTest::FolderEntries() {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder_)) out.push_back(e.path().filename().string());
    return out;
}

void GameTest::WriteSettings(const std::string& lines) {
    WriteFile("Tavrossimer.ini", "[SETTINGS]\n" + lines);
}

void GameTest::StartAndSettle(int frames) {
    standin::StartGame();
    standin::RunFrames(frames);
}

void GameTest::Press(int vk) {
    standin::TapKey(vk);
    standin::RunFrame();
    WaitGate();
}

void GameTest::WaitGate() {
    standin::RunMs(160);
}

void GameTest::Arrow(int vk) {
    standin::KeyDown(vk);
    standin::RunFrame();
    standin::KeyUp(vk);
    standin::RunFrame();
    WaitGate();
}

void GameTest::MoveTo(const int& item, int target) {
    for (int i = 0; i < 12 && item != target; ++i) Arrow(VK_DOWN_KEY);
    ASSERT_EQ(item, target);
}

const std::vector<FramePace>& FramePaces() {
    static const std::vector<FramePace> paces = {{4, false},  {7, false}, {16, false}, {33, false},
                                                 {50, false}, {4, true},  {7, true},   {16, true},
                                                 {33, true},  {50, true}};
    return paces;
}

void PrintTo(const FramePace& pace, std::ostream* out) {
    *out << pace.frameMs << " ms frames" << (pace.hitch ? " with one 3000 ms frame" : "");
}

std::string PaceName(const ::testing::TestParamInfo<FramePace>& info) {
    return std::to_string(info.param.frameMs) + "ms" + (info.param.hitch ? "WithAHitch" : "");
}

int PacedFrameMs(const FramePace& pace, std::int64_t elapsed, std::int64_t hitchAt, bool& hitchDone) {
    if (!pace.hitch || hitchDone || elapsed < hitchAt) return pace.frameMs;
    hitchDone = true;
    return HITCH_MS;
}

void ExpectFirstFrameAfterPeriod(std::int64_t interval, std::int64_t period, std::int64_t frameMs,
                                 const std::string& what) {
    EXPECT_GT(interval, period) << what;
    EXPECT_LE(interval, period + frameMs) << what << " later than its first frame";
}

void RunPaced(const FramePace& pace, int ms, const std::function<void()>& afterFrame) {
    standin::World& w = standin::GetWorld();
    const std::int64_t start = w.timeMs;
    bool hitchDone = false;
    while (w.timeMs - start < ms) {
        w.frameMs = PacedFrameMs(pace, w.timeMs - start, ms / 2, hitchDone);
        standin::RunFrame();
        afterFrame();
    }
    w.frameMs = pace.frameMs;
}
