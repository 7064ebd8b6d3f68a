#include "frame_states.h"

#include <cstring>

#include "behaviour/behaviour.h"
#include "catalog/catalog.h"
#include "driver.h"
#include "menu/pages.h"
#include "script/frame_tick.h"
#include "vk_codes.h"
#include "world.h"

namespace frame_states {

namespace {

// ---- the calls a frame must make --------------------------------------------------------
//
// Frames are 33 ms (the stand-in's default frame). Counting from the steps of
// the frame routine, with the default settings (ALLOW_REVIVE on, formation
// "Auto"), the player crouching (SetUp crouches him, and IsPedOnFoot answers
// crouching, so a following step puts the on-foot settings on) and otherwise
// idle (no key, no control, no target unless the state has one):
//
// Bodyguard section, every frame: the target query, GetPlayerId and
// GetPlayerTargetEntity; the attack and FOLLOW_ALL keys are not released, so
// they call nothing; the formation refresh reads GetGameTimer.
constexpr int SECTION = 3;
// The formation refresh when due: GetMount (the "Auto" formation asks whether
// the player rides), SetGroupFormation, GetGameTimer for the next deadline.
constexpr int FORMATION_DUE = 3;
// Per occupied record, every frame, untargeted, neither downed nor staying: the
// prompt step calls nothing (no order prompts exist); the Help prompt step
// deactivates the prompt (PromptSetEnabled, PromptSetVisible) and asks
// PromptHasCompleted; the downed detection asks GetEntityHealth; the deadline
// test reads GetGameTimer.
constexpr int RECORD = 5;
// The periodic step of a following bodyguard whose group, relationship group
// and scenario are already right: GetPlayerPed, GetPlayerId, GetPlayerGroup,
// GetPedRelationshipGroupHash (the player's); HashOfName and IsPedUsingScenario;
// GetPedRelationshipGroupHash (its own); IsPedGroupMember;
// SetGroupSeparationRange; IsEntityDead; IsPedInAnyVehicle twice; IsPedOnFoot;
// the on-foot settings SetPedConfigFlag, SetPedFollowSettingA,
// SetPedFollowSettingB; GetGameTimer for the next deadline.
constexpr int FOLLOWING_STEP = 17;
// The targeted bodyguard's expanded prompts, following, nothing completed:
// PromptHasCompleted(hide); deactivate show, activate hide (2 calls each);
// activate stay, deactivate follow; PromptHasCompleted(stay);
// PromptHasCompleted(dismiss); activate dismiss.
constexpr int EXPANDED_PROMPTS = 1 + 2 + 2 + 2 + 2 + 1 + 1 + 2;
// Menu pieces: the panel is one DrawSprite, the highlight two DrawRects, a line
// SetTextScale, two CreateVarStrings and DisplayText (a dimmed one also
// SetTextColor).
constexpr int BACKGROUND = 1, HIGHLIGHT = 2, LINE = 4, DIMMED_LINE = 5;
// Input with the gate open and nothing pressed: GetMenuTimer, then for each of
// the two directions (or accept and cancel) HashOfName of its control and
// IsControlHeld (IsControlTriggered). With the gate shut: GetMenuTimer only.
constexpr int INPUT_IDLE = 5, INPUT_SHUT = 1;
// MenuLeftRight stepping on the held right arrow: GetMenuTimer, SetMenuTimer,
// PlayFrontendSound.
constexpr int INPUT_STEP = 3;

// Deadlines in frames: a step runs in the first frame whose game time is past
// its deadline (strict compare), so 2000 ms is 61 frames (2013 > 2000, 1980 is
// not) and 5000 ms is 152 frames (5016 > 5000, 4983 is not). An input action
// restarts the menu timer at 0; it reads more than 150 again five frames
// later (165; four frames give 132).
constexpr int FOLLOWING_PERIOD = 61;
constexpr int FORMATION_PERIOD = 152;
constexpr int GATE_PERIOD = 5;

// A window starts with every deadline due, so a periodic step runs in frames
// 0, period, 2 x period... of the window.
constexpr int DueIn(int windowFrames, int period) {
    return (windowFrames + period - 1) / period;
}

// A window of ten following periods; the ALL page's window steps through all
// of its names once, so it ends on the name it started on.
constexpr int BODYGUARD_WINDOW = 10 * FOLLOWING_PERIOD;
constexpr int ALL_WINDOW = ALL_MODEL_COUNT * GATE_PERIOD;

// The main page on "Custom Bodyguard": panel, highlight, up/down, accept/cancel
// (item 0 has no value to step), five lines.
constexpr int MAIN_PAGE = BACKGROUND + HIGHLIGHT + INPUT_IDLE + INPUT_IDLE + 5 * LINE;
// The builder on "Choose Model" with Dutch prepared: panel, up/down, highlight,
// accept/cancel, then "Choose Model", "Dutch", "- Choose Outfit -", the fixed
// sidearm's "- Choose Sidearm -" dimmed with "Dutch's Dual Schofields" below,
// "- Choose Longarm -" (his longarm is open), "Confirm", "Cancel".
constexpr int BUILDER_PAGE = BACKGROUND + INPUT_IDLE + HIGHLIGHT + INPUT_IDLE + 7 * LINE + DIMMED_LINE;
// The ALL page on its selector: panel, up/down, highlight, left/right,
// accept/cancel, then label, name, "Spawn", "Exit". In a stepping frame
// up/down sees the gate open, left/right steps and shuts it for accept/cancel;
// in the four frames after, all three see it shut.
constexpr int ALL_PAGE_STEP = BACKGROUND + INPUT_IDLE + HIGHLIGHT + INPUT_STEP + INPUT_SHUT + 4 * LINE;
constexpr int ALL_PAGE_SHUT = BACKGROUND + INPUT_SHUT + HIGHLIGHT + INPUT_SHUT + INPUT_SHUT + 4 * LINE;

// A window of frames with `records` following bodyguards and `extra` calls
// every frame on top of the section and the records.
constexpr RequiredCalls BodyguardWindow(int records, int extra) {
    const int frame = SECTION + records * RECORD + extra;
    const long calls =
        static_cast<long>(BODYGUARD_WINDOW) * frame +
        static_cast<long>(records) * DueIn(BODYGUARD_WINDOW, FOLLOWING_PERIOD) * FOLLOWING_STEP +
        DueIn(BODYGUARD_WINDOW, FORMATION_PERIOD) * FORMATION_DUE;
    return {BODYGUARD_WINDOW, calls, frame};
}

constexpr RequiredCalls AllPageWindow() {
    const int steps = ALL_WINDOW / GATE_PERIOD;
    const long calls = static_cast<long>(steps) * (SECTION + ALL_PAGE_STEP) +
                       static_cast<long>(ALL_WINDOW - steps) * (SECTION + ALL_PAGE_SHUT) +
                       DueIn(ALL_WINDOW, FORMATION_PERIOD) * FORMATION_DUE;
    return {ALL_WINDOW, calls, SECTION + ALL_PAGE_SHUT};
}

// ---- playing the game into a state -------------------------------------------------------

// A released key, then long enough for the menu's input gate to open again.
void Tap(int vk) {
    standin::TapKey(vk);
    standin::RunFrame();
    standin::RunMs(200);
}

// An arrow pressed for one frame (arrows act while held), then released.
void Hold(int vk) {
    standin::KeyDown(vk);
    standin::RunFrame();
    standin::KeyUp(vk);
    standin::RunFrame();
    standin::RunMs(200);
}

std::string HireSeven() {
    standin::RunOnScript([] {
        const standin::Vec3 at = standin::GetWorld().PlayerPed().pos;
        for (int i = 0; i < ROSTER_SIZE; ++i) {
            HireBodyguard(CATEGORY_MALE, i, 0, 1, -1, 1, at.x, at.y - 2.0f + static_cast<float>(i), at.z);
        }
    });
    for (const BodyguardRecord& r : roster) {
        if (r.ped == 0) return "a hire did not fill its slot";
    }
    standin::RunFrames(5);
    return {};
}

std::string OpenCategoryPage() {
    Tap(VK_HOME_KEY);   // main page, on "Custom Bodyguard"
    Tap(VK_ENTER_KEY);  // the builder, on "Choose Model"
    Tap(VK_ENTER_KEY);  // the category page
    if (menu.menuPage != PAGE_CATEGORY) return "the category page did not open";
    return {};
}

}  // namespace

const char* StateName(FrameState state) {
    switch (state) {
        case FrameState::Idle: return "idle";
        case FrameState::SevenFollowing: return "seven_following";
        case FrameState::TargetedExpanded: return "targeted_expanded";
        case FrameState::MainPageSeven: return "main_page_seven";
        case FrameState::BuilderGangMember: return "builder_gang_member";
        case FrameState::AllModelsStepping: return "all_models_stepping";
    }
    return "?";
}

RequiredCalls Required(FrameState state) {
    switch (state) {
        case FrameState::Idle: return BodyguardWindow(0, 0);
        case FrameState::SevenFollowing: return BodyguardWindow(7, 0);
        case FrameState::TargetedExpanded: return BodyguardWindow(7, EXPANDED_PROMPTS);
        case FrameState::MainPageSeven: return BodyguardWindow(7, MAIN_PAGE);
        case FrameState::BuilderGangMember: return BodyguardWindow(1, BUILDER_PAGE);
        case FrameState::AllModelsStepping: return AllPageWindow();
    }
    return {};
}

std::string SetUp(FrameState state) {
    standin::World& w = standin::GetWorld();
    w.modelLoadFrames = 0;
    w.PlayerPed().crouching = true;  // so each following step puts the on-foot settings on
    standin::StartGame();
    standin::RunFrames(3);
    if (!standin::GetHost().scriptRunning) return "the script is not running";

    switch (state) {
        case FrameState::Idle: break;

        case FrameState::SevenFollowing: return HireSeven();

        case FrameState::TargetedExpanded: {
            if (std::string e = HireSeven(); !e.empty()) return e;
            BodyguardRecord& r = roster[3];
            w.player.target = r.ped;
            standin::RunFrame();  // the prompts appear, collapsed
            if (!r.promptsCreated || !w.CompletePrompt(r.showCommandsPrompt))
                return "no \"Show Commands\" prompt";
            standin::RunFrames(3);
            if (!r.commandsShown) return "the prompts did not expand";
            break;
        }

        case FrameState::MainPageSeven: {
            if (std::string e = HireSeven(); !e.empty()) return e;
            Tap(VK_HOME_KEY);
            if (menu.menuPage != PAGE_MAIN) return "the main page did not open";
            break;
        }

        case FrameState::BuilderGangMember: {
            if (std::string e = OpenCategoryPage(); !e.empty()) return e;
            Hold(VK_DOWN_KEY);
            Hold(VK_DOWN_KEY);  // "Gang Member"
            Tap(VK_ENTER_KEY);
            if (menu.menuPage != PAGE_MODELS_GANG) return "the gang member page did not open";
            Hold(VK_RIGHT_KEY);  // row 1, CS_dutch
            Hold(VK_DOWN_KEY);   // "Spawn"
            Tap(VK_ENTER_KEY);
            standin::RunMs(500);  // the page waits 300 ms after the hire
            if (menu.menuPage != PAGE_BUILDER || builder.lastSpawnCategory != CATEGORY_GANG ||
                builder.lastSpawnModelIndex != 1)
                return "the builder did not take the gang member";
            if (builder.builderOutfitMax != gangLoadouts[1].outfitLimit)
                return "the builder did not prepare the gang member";
            if (menu.builderItem != 0) return "the builder is not on \"Choose Model\"";
            break;
        }

        case FrameState::AllModelsStepping: {
            if (std::string e = OpenCategoryPage(); !e.empty()) return e;
            for (int i = 0; i < 4; ++i) Hold(VK_DOWN_KEY);  // "ALL"
            Tap(VK_ENTER_KEY);
            if (menu.menuPage != PAGE_MODELS_ALL || menu.allItem != 0)
                return "the ALL page did not open on its selector";
            for (int i = 0; i < 20; ++i) {
                BetweenFrames(state);
                standin::RunFrame();
            }
            if (menu.allModelIndex == 0) return "the ALL page does not step";
            break;
        }
    }
    standin::RunFrames(3);
    return {};
}

void BetweenFrames(FrameState state) {
    if (state == FrameState::AllModelsStepping) standin::SendKeyEvent(VK_RIGHT_KEY, false);
}

void CaptureWindowStart(WindowStart& s) {
    const standin::World& w = standin::GetWorld();
    s.frame = w.frame;
    s.timeMs = w.timeMs;
    s.gameTimer = w.gameTimer;
    s.tickCount = w.tickCount;
    std::memcpy(s.roster, roster, sizeof roster);
    s.behaviour = behaviour;
    std::memcpy(s.keys, keyStates, sizeof keyStates);
    s.menu = menu;
    s.builder = builder;
    s.formationMode = formationMode;
}

void RestoreWindowStart(const WindowStart& s) {
    standin::World& w = standin::GetWorld();
    w.frame = s.frame;
    w.timeMs = s.timeMs;
    w.gameTimer = s.gameTimer;
    w.tickCount = s.tickCount;
    std::memcpy(roster, s.roster, sizeof roster);
    behaviour = s.behaviour;
    std::memcpy(keyStates, s.keys, sizeof keyStates);
    menu = s.menu;
    builder = s.builder;
    formationMode = s.formationMode;

    // Every deadline falls due in the next frame and the input gate is open.
    for (BodyguardRecord& r : roster) {
        if (r.ped != 0) r.nextUpdateTime = w.gameTimer;
    }
    behaviour.nextFormationTime = w.gameTimer;
    w.menuTimer = 1000;
}

void RunDirectFrames(FrameState state, int frames) {
    for (int i = 0; i < frames; ++i) {
        standin::AdvanceFrameClocks();
        BetweenFrames(state);
        FrameTick();
    }
}

void RecordDirectFrames(FrameState state, int frames, standin::CallRecording& into) {
    standin::StartRecording(&into);
    for (int i = 0; i < frames; ++i) {
        standin::AdvanceFrameClocks();
        BetweenFrames(state);
        FrameTick();
        into.EndFrame();
    }
    standin::StopRecording();
}

}  // namespace frame_states
