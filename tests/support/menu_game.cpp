#include "menu_game.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>
#include <sstream>

#include "menu/state.h"

void MenuGameTest::TearDown() {
    if (watchFd_ >= 0) close(watchFd_);
    GameTest::TearDown();
}

void MenuGameTest::Pad(const char* control) {
    standin::HoldControl(control, true);
    standin::RunFrame();
    standin::HoldControl(control, false);
    WaitGate();
}

void MenuGameTest::OpenMenu() {
    Press(VK_HOME_KEY);
    ASSERT_EQ(menu.menuPage, PAGE_MAIN);
}

void MenuGameTest::MoveTo(int item) {
    GameTest::MoveTo(menu.mainMenuItem, item);
}

std::vector<int> MenuGameTest::SavedValues() {
    std::istringstream in(ReadFile("Tavrossimer.dat"));
    std::vector<int> values;
    for (int v; in >> v;) values.push_back(v);
    return values;
}

std::string MenuGameTest::AllFreeSave(int formation) {
    std::string text;
    for (int slot = 0; slot < 7; ++slot) text += " -1 -1 0 0 0 0";
    return text + " " + std::to_string(formation);
}

void MenuGameTest::StartCountingSaves() {
    watchFd_ = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watchFd_, 0);
    ASSERT_GE(inotify_add_watch(watchFd_, folder_.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE), 0);
    savesCounted_ = 0;
}

int MenuGameTest::SavesCounted() {
    alignas(inotify_event) char buffer[8192];
    for (;;) {
        const ssize_t got = read(watchFd_, buffer, sizeof buffer);
        if (got <= 0) break;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            // The new content arrives by rename (or, were it written in place, by a close).
            if (event->len > 0 && std::strcmp(event->name, "Tavrossimer.dat") == 0) ++savesCounted_;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return savesCounted_;
}
