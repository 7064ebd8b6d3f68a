#include "session.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <utility>

#include "driver.h"
#include "keys.h"
#include "menu/state.h"
#include "world_view.h"

namespace sim {

namespace {
constexpr int kMenuGateMs = 150;        // the menu takes input once its timer is above this
constexpr int kNavigationHoldMs = 500;  // an arrow nobody acts on is let go after this
constexpr int kChordHoldMs = 100;       // how long the menu chord's two buttons stay down
constexpr int kSettleFrameLimit = 60;

// The calls described for the transcript, leaving out those that every frame
// makes in numbers and that say little on their own.
void DescribeCalls(const std::vector<standin::Call>& calls, std::vector<std::string>* sink) {
    static const char* const kRoutine[] = {"DrawRect",        "DrawSprite",    "DisplayText",
                                           "SetTextScale",    "SetTextColor",  "CreateVarString",
                                           "GetMenuTimer",    "IsControlHeld", "IsControlTriggered",
                                           "IsUsingKeyboard", "HashOfName"};
    for (const standin::Call& c : calls) {
        const auto same = [&c](const char* n) { return c.Is(n); };
        if (c.hash == 0 || std::any_of(std::begin(kRoutine), std::end(kRoutine), same)) continue;
        sink->push_back("[" + std::to_string(c.frame) + "] " + standin::CallLog::Describe(c) + " -> " +
                        std::to_string(c.result[0]));
    }
}

// A key or a pad's control held down, or let go.
void Hold(int vk, bool down) {
    if (const char* control = PadControl(vk)) return standin::HoldControl(control, down);
    down ? standin::KeyDown(vk) : standin::KeyUp(vk);
}

// The controller's way into the menu: d-pad up and cancel held together.
void HoldChord(bool down) {
    for (int pad : {PAD_UP, PAD_CANCEL}) standin::HoldControl(PadControl(pad), down);
}

}  // namespace

void Session::Start() {
    Launch(true, "Game started in " + std::filesystem::current_path().string());
}

void Session::Restart(bool freshWorld) {
    if (!started_) return Start();
    Launch(freshWorld, freshWorld ? "Game restarted: the plug-in reads its files again"
                                  : "Game restarted in the same world: the plug-in reads its files again");
}

// A game start after the previous one (if any) has ended: a fresh world when
// asked, the plug-in loaded again, and frames until it is in its frame loop.
void Session::Launch(bool freshWorld, const std::string& message) {
    if (started_) standin::EndGame();
    if (freshWorld) {
        standin::ResetWorld();
        ForgetExtras();
        standin::World& w = standin::GetWorld();
        w.frameMs = setup_.frameMs;
        w.rng.seed(setup_.seed);
        w.modelLoadFrames = setup_.modelLoadFrames;
        for (const std::string& m : setup_.unavailableModels) w.unavailableModels.insert(w.HashName(m));
        for (const std::string& m : setup_.invalidModels) w.invalidModels.insert(w.HashName(m));
        w.extraModels.insert(setup_.knownModels.begin(), setup_.knownModels.end());
        w.scriptedRandom = std::exchange(setup_.pendingRandom, {});
    }
    keyQueue_.clear();
    current_ = PendingKey();
    shownDisplay_.clear();
    standin::StartGame();
    sawFrameLoop_ = lastFrameTicked_ = false;
    started_ = true;
    ++starts_;
    log_.Add(EventKind::Action, message);
    Settle();
}

void Session::End() {
    if (!started_) return;
    standin::EndGame();
    started_ = false;
}

// The plug-in is in its frame loop once its bodyguard section asks for the
// player's target, which it does every frame.
void Session::Settle() {
    for (int i = 0; i < kSettleFrameLimit; ++i) {
        Frame();
        if (LastFrameCalled("GetPlayerTargetEntity")) return;
    }
}

bool Session::LastFrameCalled(const char* name) const {
    return std::any_of(lastCalls_.begin(), lastCalls_.end(),
                       [name](const standin::Call& c) { return c.Is(name); });
}

// A key is best given when the script starts a new frame of its loop next:
// inside a hire (a model loading) or a pause the menu reads no keys, and a
// release older than 100 ms is lost when it comes back.
bool Session::ScriptTakesKeysNextFrame() const {
    if (sawFrameLoop_ && !lastFrameTicked_) return false;
    const standin::World& w = standin::GetWorld();
    return w.timeMs + w.frameMs >= standin::GetHost().wakeAtMs;
}

bool Session::MenuGateOpenNextFrame() const {
    const standin::World& w = standin::GetWorld();
    return static_cast<std::int64_t>(w.menuTimer) + w.frameMs > kMenuGateMs;
}

void Session::DeliverKeys() {
    if (current_.vk >= 0 || keyQueue_.empty() || !ScriptTakesKeysNextFrame()) return;
    const int vk = keyQueue_.front();
    const bool menuKey = vk == VK_RETURN || vk == VK_BACK || PadControl(vk) || IsNavigationKey(vk);
    if (menuKey && menu.menuPage != PAGE_CLOSED && !MenuGateOpenNextFrame()) return;
    keyQueue_.pop_front();
    const standin::World& w = standin::GetWorld();
    const bool chord = vk == PAD_MENU_CHORD;
    current_ = {vk, IsNavigationKey(vk), w.timeMs + w.frameMs + (chord ? kChordHoldMs : kNavigationHoldMs)};
    if (chord)
        HoldChord(true);
    else if (current_.navigation)
        Hold(vk, true);
    else if (const char* control = PadControl(vk))
        standin::TriggerControl(control);
    else
        standin::TapKey(vk);
}

void Session::ReleaseKeys() {
    if (current_.vk < 0) return;
    if (current_.vk == PAD_MENU_CHORD) {
        if (standin::GetWorld().timeMs < current_.deadlineMs) return;
        HoldChord(false);
        standin::TriggerControl(PadControl(PAD_CANCEL));  // the game reports cancel's release
    } else if (current_.navigation) {
        if (!LastFrameCalled("SetMenuTimer") && standin::GetWorld().timeMs < current_.deadlineMs) return;
        Hold(current_.vk, false);
    }
    current_ = PendingKey();
}

void Session::Frame() {
    if (!started_) return;
    DeliverKeys();
    const WorldSnapshot before = TakeSnapshot();
    standin::CallLog& calls = standin::GetCallLog();
    calls.Clear();
    standin::RunFrame();
    lastCalls_.swap(calls.calls);
    calls.Clear();
    if (callSink_) DescribeCalls(lastCalls_, callSink_);
    ++totalFrames_;
    totalMs_ += standin::GetWorld().frameMs;
    lastFrameTicked_ = LastFrameCalled("GetPlayerTargetEntity");
    sawFrameLoop_ = sawFrameLoop_ || lastFrameTicked_;
    const standin::World& w = standin::GetWorld();
    if (!w.display.empty() || menu.menuPage == PAGE_CLOSED) shownDisplay_ = w.display;
    NoteFrameEvents(before, TakeSnapshot(), lastCalls_, log_);
    ReleaseKeys();
}

void Session::RunMs(int ms) {
    const std::int64_t until = standin::GetWorld().timeMs + ms;
    while (started_ && standin::GetWorld().timeMs < until) Frame();
}

void Session::QueueKey(int vk) {
    // Auto-repeat of a key already waiting adds nothing beyond a short type-ahead.
    const auto same = (current_.vk == vk) + std::count(keyQueue_.begin(), keyQueue_.end(), vk);
    if (IsNavigationKey(vk) && same >= 2) return;
    keyQueue_.push_back(vk);
}

bool Session::KeysIdle() const {
    if (current_.vk >= 0 || !keyQueue_.empty() || !ScriptTakesKeysNextFrame()) return false;
    return menu.menuPage == PAGE_CLOSED || MenuGateOpenNextFrame();
}

}  // namespace sim
