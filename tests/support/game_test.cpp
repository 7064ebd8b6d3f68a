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

bool GameTest::FileExists(const std::string& name) { return fs::exists(name); }

std::vector<std::string> GameTest::FolderEntries() {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder_)) out.push_back(e.path().filename().string());
    return out;
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

void GameTest::WaitGate() { standin::RunMs(160); }
