#include "soak_engine.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "call_log.h"
#include "catalog/catalog.h"
#include "driver.h"
#include "menu/pages.h"
#include "menu/state.h"
#include "natives.h"
#include "persist/custom_peds.h"
#include "persist/save_file.h"
#include "roster/roster.h"
#include "save_text.h"
#include "vk_codes.h"
#include "world.h"

namespace soak {

namespace {

constexpr const char* SETTINGS_FILE_NAME = "Tavrossimer.ini";

// The player's own list: names the game knows, and one it does not.
constexpr const char* CUSTOM_NAMES[] = {"a_m_m_soakone_01", "mp_soak_unknown_model", "cs_soaktwo",
                                        "a_f_m_soakthree_01", "u_m_m_soakfour_01"};
constexpr int CUSTOM_NAME_COUNT = 5;
constexpr const char* UNKNOWN_CUSTOM_NAME = "mp_soak_unknown_model";

constexpr std::int32_t SALOON_INTERIOR = 41218;
constexpr std::int32_t NOT_A_PED = 424242;  // an entity handle that is no ped (something aimed at)

std::string ReadText(const char* name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const char* name) {
    return std::filesystem::exists(name);
}

int ListCount(int category) {
    return modelCatalogue[category].count;
}

// Game calls whose very purpose is to ask whether a handle is (still) a ped.
bool AsksAboutAnyHandle(const char* name) {
    return std::strcmp(name, "IsEntityAPed") == 0 || std::strcmp(name, "EntityExists") == 0;
}

}  // namespace

Engine::Engine(std::uint64_t seed) : rng_(seed) {}

std::string Engine::Fail(const std::string& what) const {
    std::string out = "frame " + std::to_string(standin::GetWorld().frame) + " (soak frame " +
                      std::to_string(stats_.frames) + "): " + what + "\n  last actions:";
    for (const std::string& a : recent_) out += " " + a;
    return out;
}

void Engine::Note(const std::string& action) {
    ++stats_.actions;
    recent_.push_back(action);
    if (recent_.size() > 30) recent_.pop_front();
}

// ---- runs and restarts --------------------------------------------------------------------

void Engine::ConfigureRun(bool first) {
    // Settings: mostly ordinary, sometimes at the edges (a price whose cents
    // overflow 32 bits, revive with an odd value, low health).
    static constexpr int PRICES[] = {0, 0, 0, 5, 21474837, 2147483647, -3};
    static constexpr int REVIVES[] = {1, 1, 0, 7};
    static constexpr int HEALTHS[] = {500, 500, 150, 2000};
    const int price = PRICES[rng_() % 7];
    std::ostringstream ini;
    ini << "[SETTINGS]\r\nPRICE=" << price << "\r\nALLOW_REVIVE=" << REVIVES[rng_() % 4]
        << "\r\nBODYGUARD_HEALTH=" << HEALTHS[rng_() % 4] << "\r\nNO_HEADSHOT=" << (rng_() % 2)
        << "\r\nONLY_IN_SALOONS=" << (rng_() % 5 == 0 ? 1 : 0) << "\r\n";
    std::ofstream(SETTINGS_FILE_NAME, std::ios::binary) << ini.str();
    const long long cents = price <= 0 ? 0 : static_cast<long long>(price) * 100;
    chargeCents_ = cents > INT32_MAX ? INT32_MAX : static_cast<int>(cents);

    // The custom list: the first few names; a later start may find it shorter
    // (or gone), so saved bodyguards of the list wait for their model.
    if (first || rng_() % 3 == 0) {
        customCount_ = static_cast<int>(rng_() % (CUSTOM_NAME_COUNT + 1));
        if (customCount_ == 0 && rng_() % 2 == 0) {
            std::remove(CUSTOM_PEDS_FILE_NAME);
        } else {
            std::string text = "Custom peds\r\n";
            for (int i = 0; i < customCount_; ++i)
                text += std::string(CUSTOM_NAMES[i]) + (i % 2 ? "\n" : "\r\n") + "\n";
            text += "END_LIST\n";
            std::ofstream(CUSTOM_PEDS_FILE_NAME, std::ios::binary) << text;
        }
    }
}

void Engine::PrepareWorld() {
    standin::World& w = standin::GetWorld();
    strangers_.clear();
    const standin::Vec3 p = w.PlayerPed().pos;
    for (int i = 0; i < 3; ++i) {
        strangers_.push_back(
            w.SpawnPed(standin::GameHash("a_m_m_valtownfolk_01"), {p.x + 6.0f + i, p.y + 4.0f, p.z}));
    }
    horse_ = w.SpawnPed(standin::GameHash("a_c_horse_morgan_bay"), {p.x, p.y + 2.0f, p.z});

    unusableModels_.clear();
    unusableModels_.insert(standin::GameHash(UNKNOWN_CUSTOM_NAME));
    w.invalidModels.insert(standin::GameHash(UNKNOWN_CUSTOM_NAME));
    // Now and then the game does not offer one of the models at this start.
    if (rng_() % 4 == 0) {
        const std::uint32_t gone = standin::GameHash(maleModelNames[rng_() % MALE_MODEL_COUNT]);
        w.unavailableModels.insert(gone);
        unusableModels_.insert(gone);
    }
    modelsStall_ = false;

    // Now and then the game's clocks are about to wrap: the game timer past
    // the largest 32-bit value, the Windows tick count past zero (49.7 days).
    if (rng_() % 4 == 0) {
        w.gameTimer = INT32_MAX - static_cast<std::int32_t>(rng_() % 60000);
        w.tickCount = 0xFFFFFFFFu - static_cast<std::uint32_t>(rng_() % 60000);
    }
}

std::string Engine::Begin() {
    ConfigureRun(true);
    standin::ResetWorld();
    standin::GetCallLog().Clear();
    return StartAndRespawn();
}

std::string Engine::Restart() {
    Note("restart");
    ++stats_.restarts;
    ConfigureRun(false);
    standin::RestartGame(true);
    return StartAndRespawn();
}

std::string Engine::StartAndRespawn() {
    savedAtRestart_ = ReadText(SAVE_FILE_NAME);
    if (!standin::GetHost().scriptEntry) standin::StartGame();
    PrepareWorld();
    pluginPeds_.clear();
    goneAt_.clear();
    for (std::int32_t& h : occupiedBefore_) h = 0;
    inLoop_ = false;

    standin::World& w = standin::GetWorld();
    const bool playerLate = rng_() % 6 == 0;
    if (playerLate) w.player.pedExists = false;
    for (int i = 0; !inLoop_; ++i) {
        if (i == 40) w.player.pedExists = true;
        if (i > 5000) return Fail("the script never reached its frame loop");
        if (std::string e = Frame(); !e.empty()) return e;
    }
    return CheckRespawn();
}

// Right after a start: every saved bodyguard whose model the game offers is
// back in its own slot with its loadout, nobody else is, and the next save
// writes the same records back (those waiting for their model included).
std::string Engine::CheckRespawn() {
    savetext::Values saved = savetext::StartupValues();
    savetext::Read(savedAtRestart_, saved);
    const std::int32_t formation =
        static_cast<std::uint32_t>(saved[savetext::VALUES - 1]) > 11u ? 11 : saved[savetext::VALUES - 1];
    if (formationMode != formation) return Fail("the formation was not restored from the save file");
    if (ListCount(CATEGORY_CUSTOM) != customCount_) return Fail("the custom list has the wrong length");

    const int counts[5] = {ListCount(0), ListCount(1), ListCount(2), ListCount(3), customCount_};
    savetext::Values expectedSave = saved;
    expectedSave[savetext::VALUES - 1] = formation;
    for (int s = 0; s < ROSTER_SIZE; ++s) {
        const savetext::Record rec = savetext::RecordOf(saved, s);
        const savetext::Verdict verdict = savetext::Check(rec, counts);
        bool usable = verdict == savetext::Verdict::Usable;
        bool waits = verdict == savetext::Verdict::RowMissing && rec.category == CATEGORY_CUSTOM;
        if (usable &&
            unusableModels_.count(standin::GameHash(modelCatalogue[rec.category].names[rec.index]))) {
            usable = false;
            waits = true;
        }
        const BodyguardRecord& r = roster[s];
        const std::string slot = "slot " + std::to_string(s);
        if (usable) {
            if (r.ped == 0) return Fail("saved " + slot + " did not come back into its slot");
            if (r.modelCategory != rec.category || r.modelIndex != rec.index || r.sidearm != rec.sidearm ||
                r.secondSidearm != rec.secondSidearm || r.longarm != rec.longarm || r.outfit != rec.outfit) {
                return Fail("saved " + slot + " came back with another loadout");
            }
            ++stats_.respawned;
        } else {
            if (r.ped != 0)
                return Fail(slot + " holds a bodyguard although its saved record cannot come back");
            if (!waits) {
                for (int f = 0; f < savetext::FIELDS; ++f) {
                    expectedSave[static_cast<std::size_t>(s * savetext::FIELDS + f)] = f < 2 ? -1 : 0;
                }
            }
        }
    }

    SaveRoster();
    const std::string text = ReadText(SAVE_FILE_NAME);
    if (text != savetext::Format(expectedSave)) {
        return Fail("the save right after the start does not write back what was loaded:\n  before:" +
                    savedAtRestart_ + "\n  after: " + text + "\n  wanted:" + savetext::Format(expectedSave));
    }
    lastSaveText_ = text;
    return "";
}

void Engine::End() {
    standin::EndGame();
}

// ---- frames and their checks --------------------------------------------------------------

std::string Engine::Frame() {
    standin::RunFrame();
    ++stats_.frames;
    return Check();
}

std::string Engine::Frames(int count) {
    for (int i = 0; i < count; ++i) {
        if (std::string e = Frame(); !e.empty()) return e;
    }
    return "";
}

std::string Engine::Check() {
    if (std::string e = CheckCalls(); !e.empty()) return e;
    if (std::string e = CheckRoster(); !e.empty()) return e;
    if (std::string e = CheckMenuState(); !e.empty()) return e;
    if (std::string e = CheckFiles(); !e.empty()) return e;

    int occupied = 0;
    for (int s = 0; s < ROSTER_SIZE; ++s) {
        const std::int32_t now = roster[s].ped;
        if (now != occupiedBefore_[s]) {
            if (occupiedBefore_[s] != 0) ++stats_.leaves;
            if (now != 0) ++stats_.hires;
            occupiedBefore_[s] = now;
        }
        if (now != 0) ++occupied;
    }
    stats_.mostBodyguards = std::max(stats_.mostBodyguards, occupied);
    if (menu.menuPage != PAGE_CLOSED) ++stats_.framesWithMenuOpen;
    ++stats_.pagesSeen[menu.menuPage];
    return "";
}

// What counts as given back: a ped once ReleasePedHandle has handed it to the
// game or DeletePed has removed it, a prompt once PromptDelete ran on it, a blip
// once RemoveBlip ran on it. The world notes every later use of a released ped,
// a deleted prompt or a removed blip (world.staleUses). A deleted ped may still
// be named within the frame that deletes it: the builder's discard asks
// EntityExists to see whether the deletion worked and then dismisses the record,
// which names the ped in its release calls. From the next frame on, no call may
// name it. A handle the game never gave out is a fault anywhere.
std::string Engine::CheckCalls() {
    standin::World& w = standin::GetWorld();
    standin::CallLog& log = standin::GetCallLog();
    for (const standin::Call& c : log.calls) {
        if (c.hash == 0) continue;  // a host function
        const standin::NativeInfo* n = standin::FindNative(c.hash);
        if (n == nullptr) return Fail(std::string("an unknown game function ") + c.name);
        if (c.Is("CreatePed") && c.ResultInt() != 0) pluginPeds_.insert(c.ResultInt());
        if (c.Is("GetPlayerTargetEntity")) inLoop_ = true;
        if (c.Is("ChargePlayer")) {
            ++stats_.charges;
            if (chargeCents_ <= 0) return Fail("a hire was charged although the price is 0 or below");
            if (c.I(0) != chargeCents_) {
                return Fail("charged " + std::to_string(c.I(0)) + " cents instead of " +
                            std::to_string(chargeCents_));
            }
        }
        for (std::size_t i = 0; n->signature[i] != '\0' && n->signature[i] != '*' && i < c.args.size(); ++i) {
            const std::int32_t h = c.I(i);
            if (h == 0) continue;
            const std::string what = std::string(c.name) + " with handle " + std::to_string(h);
            switch (n->signature[i]) {
                case 'e': {
                    auto gone = goneAt_.find(h);
                    if (gone != goneAt_.end() && gone->second < c.frame) {
                        return Fail(what + ", a ped given back in frame " + std::to_string(gone->second));
                    }
                    if (w.FindPed(h) == nullptr && !AsksAboutAnyHandle(c.name)) {
                        return Fail(what + ", a ped the game never gave out");
                    }
                    break;
                }
                case 'r':
                    if (w.FindPrompt(h) == nullptr) return Fail(what + ", a prompt the game never gave out");
                    break;
                case 'b':
                    if (w.FindBlip(h) == nullptr) return Fail(what + ", a blip the game never gave out");
                    break;
                default: break;
            }
        }
    }
    log.Clear();
    if (!w.staleUses.empty()) {
        const standin::StaleUse& u = w.staleUses.front();
        return Fail(u.call + " got handle " + std::to_string(u.handle) +
                    " after the plug-in gave it back (frame " + std::to_string(u.frame) + ")");
    }
    for (std::int32_t h : pluginPeds_) {
        const standin::Ped* p = w.FindPed(h);
        if (p != nullptr && (p->deleted || p->released) && !goneAt_.count(h)) goneAt_[h] = w.frame;
    }
    return "";
}

std::string Engine::CheckRoster() {
    standin::World& w = standin::GetWorld();
    std::set<std::int32_t> peds;
    std::map<std::int32_t, int> promptOwners;  // live prompt -> slots holding it
    std::set<std::int32_t> blips;
    for (int s = 0; s < ROSTER_SIZE; ++s) {
        const BodyguardRecord& r = roster[s];
        const std::string slot = "slot " + std::to_string(s);
        const std::int32_t orderPrompts[] = {r.dismissPrompt, r.stayPrompt, r.followPrompt,
                                             r.showCommandsPrompt, r.hideCommandsPrompt};
        if (r.ped == 0) {
            if (r.blip != 0 || r.helpPrompt != 0 || r.promptsCreated)
                return Fail("free " + slot + " still holds handles");
            for (std::int32_t p : orderPrompts) {
                if (p != 0) return Fail("free " + slot + " still holds a prompt");
            }
            continue;
        }
        const standin::Ped* ped = w.FindPed(r.ped);
        if (ped == nullptr || !ped->exists || ped->released || ped->deleted) {
            return Fail(slot + "'s ped " + std::to_string(r.ped) + " is not in the world");
        }
        if (!pluginPeds_.count(r.ped)) return Fail(slot + " holds a ped the plug-in did not create");
        if (!peds.insert(r.ped).second) return Fail("the same ped is in two slots");

        if (static_cast<unsigned>(r.modelCategory) > 4u || r.modelIndex < 0 ||
            r.modelIndex >= ListCount(r.modelCategory)) {
            return Fail(slot + " has a model outside the catalogue");
        }
        if (static_cast<unsigned>(r.sidearm) >= SIDEARM_COUNT ||
            static_cast<unsigned>(r.secondSidearm) >= SIDEARM_COUNT ||
            static_cast<unsigned>(r.longarm) >= LONGARM_COUNT || r.outfit < -1) {
            return Fail(slot + " has a weapon or outfit outside its range");
        }

        const standin::Prompt* help = w.FindPrompt(r.helpPrompt);
        if (help == nullptr || help->deleted) return Fail(slot + " has no live Help prompt");
        ++promptOwners[r.helpPrompt];
        for (std::int32_t p : orderPrompts) {
            if (!r.promptsCreated) {
                if (p != 0) return Fail(slot + " holds an order prompt it has not created");
                continue;
            }
            const standin::Prompt* prompt = w.FindPrompt(p);
            if (prompt == nullptr || prompt->deleted)
                return Fail(slot + " holds an order prompt that is gone");
            ++promptOwners[p];
        }
        const standin::Blip* blip = w.FindBlip(r.blip);
        if (blip == nullptr || !blip->exists) return Fail(slot + " has no blip");
        if (!blips.insert(r.blip).second) return Fail("the same blip is in two slots");
    }

    int live = 0;
    for (std::int32_t h : pluginPeds_) {
        const standin::Ped* p = w.FindPed(h);
        if (p == nullptr || !p->exists || p->released || p->deleted) continue;
        ++live;
        if (!peds.count(h))
            return Fail("ped " + std::to_string(h) +
                        " was left behind: no slot holds it, yet it was not given back");
    }
    if (live > ROSTER_SIZE) return Fail("more than seven bodyguards");
    for (const auto& [h, prompt] : w.prompts) {
        if (prompt.deleted) continue;
        auto owner = promptOwners.find(h);
        if (owner == promptOwners.end())
            return Fail("prompt " + std::to_string(h) + " (\"" + prompt.text + "\") was left behind");
        if (owner->second != 1) return Fail("prompt " + std::to_string(h) + " is held twice");
    }
    for (const auto& [h, blip] : w.blips) {
        if (blip.exists && !blips.count(h)) return Fail("blip " + std::to_string(h) + " was left behind");
    }
    return "";
}

std::string Engine::CheckMenuState() {
    struct Range {
        const char* name;
        int value, low, high;
    };
    auto top = [](int category) { return std::max(0, ListCount(category) - 1); };
    const Range ranges[] = {
        {"menu.menuPage", menu.menuPage, PAGE_CLOSED, PAGE_INVALID_MODEL},
        {"menu.mainMenuItem", menu.mainMenuItem, 0, 4},
        {"menu.builderItem", menu.builderItem, 0, 5},
        {"menu.categoryItem", menu.categoryItem, 0, 5},
        {"menu.femaleItem", menu.femaleItem, 0, 2},
        {"menu.maleItem", menu.maleItem, 0, 2},
        {"menu.gangItem", menu.gangItem, 0, 2},
        {"menu.allItem", menu.allItem, 0, 2},
        {"menu.customItem", menu.customItem, 0, 2},
        {"menu.femaleModelIndex", menu.femaleModelIndex, 0, top(CATEGORY_FEMALE)},
        {"menu.maleModelIndex", menu.maleModelIndex, 0, top(CATEGORY_MALE)},
        {"menu.gangModelIndex", menu.gangModelIndex, 0, top(CATEGORY_GANG)},
        {"menu.allModelIndex", menu.allModelIndex, 0, top(CATEGORY_ALL)},
        {"menu.customModelIndex", menu.customModelIndex, 0, top(CATEGORY_CUSTOM)},
        {"formationMode", formationMode, 0, FORMATION_AUTO},
        {"builder.lastSpawnSlot", builder.lastSpawnSlot, -1, ROSTER_SIZE - 1},
        {"builder.lastSpawnCategory", builder.lastSpawnCategory, -1, CATEGORY_CUSTOM},
        {"builder.lastSpawnModelIndex", builder.lastSpawnModelIndex, -1,
         builder.lastSpawnCategory >= 0 && builder.lastSpawnCategory <= CATEGORY_CUSTOM
             ? ListCount(builder.lastSpawnCategory) - 1
             : -1},
        {"builder.builderOutfitMax", builder.builderOutfitMax, -1, INT_MAX},
        {"builder.builderOutfit", builder.builderOutfit, -1, std::max(0, builder.builderOutfitMax)},
        {"builder.builderSidearm", builder.builderSidearm, -1, SIDEARM_COUNT - 1},
        {"builder.builderSecondSidearm", builder.builderSecondSidearm, -1, SIDEARM_COUNT - 1},
        {"builder.builderLongarm", builder.builderLongarm, -1, LONGARM_COUNT - 1},
    };
    for (const Range& r : ranges) {
        if (r.value < r.low || r.value > r.high) {
            return Fail(std::string(r.name) + " is " + std::to_string(r.value) + ", outside " +
                        std::to_string(r.low) + ".." + std::to_string(r.high));
        }
    }
    return "";
}

// The folder holds the three files of the plug-in and nothing else, and the save
// file, whenever there is one, is complete. A changed save never names a
// bodyguard that could not come back from it.
std::string Engine::CheckFiles() {
    for (const auto& e : std::filesystem::directory_iterator(".")) {
        const std::string name = e.path().filename().string();
        if (name != SAVE_FILE_NAME && name != SETTINGS_FILE_NAME && name != CUSTOM_PEDS_FILE_NAME) {
            return Fail("a stray file in the game folder: " + name);
        }
    }
    if (!Exists(SAVE_FILE_NAME)) return lastSaveText_.empty() ? "" : Fail("the save file disappeared");
    const std::string text = ReadText(SAVE_FILE_NAME);
    if (text == lastSaveText_) return "";
    ++stats_.saves;
    savetext::Values v = savetext::StartupValues();
    if (savetext::Read(text, v) != savetext::VALUES || savetext::Format(v) != text) {
        return Fail("the save file is not a complete save: \"" + text + "\"");
    }
    const int counts[5] = {ListCount(0), ListCount(1), ListCount(2), ListCount(3), ListCount(4)};
    for (int s = 0; s < ROSTER_SIZE; ++s) {
        const savetext::Record rec = savetext::RecordOf(v, s);
        if (savetext::IsCleared(rec)) continue;
        const savetext::Verdict verdict = savetext::Check(rec, counts);
        const bool waitsForCustomRow =
            verdict == savetext::Verdict::RowMissing && rec.category == CATEGORY_CUSTOM;
        if (verdict != savetext::Verdict::Usable && !waitsForCustomRow) {
            return Fail("the save names a bodyguard in slot " + std::to_string(s) +
                        " that can never come back: " + text);
        }
        if (roster[s].ped != 0 && verdict != savetext::Verdict::Usable) {
            return Fail("the save holds an unusable record for the bodyguard in slot " + std::to_string(s));
        }
    }
    lastSaveText_ = text;
    return "";
}

// ---- actions ------------------------------------------------------------------------------

std::vector<std::int32_t> Engine::Bodyguards() const {
    std::vector<std::int32_t> out;
    for (const BodyguardRecord& r : roster) {
        if (r.ped != 0) out.push_back(r.ped);
    }
    return out;
}

std::int32_t Engine::PickBodyguard(unsigned arg) const {
    const std::vector<std::int32_t> b = Bodyguards();
    return b.empty() ? 0 : b[arg % b.size()];
}

std::int32_t Engine::PickPedOrNone(unsigned arg) const {
    switch (arg % 5) {
        case 0: return 0;
        case 1: return strangers_.empty() ? 0 : strangers_[(arg / 5) % strangers_.size()];
        default: return PickBodyguard(arg / 5);
    }
}

// A key pressed and released within one frame, then the menu's input gate is
// waited out (most of the time).
std::string Engine::Tap(int vk, unsigned arg) {
    standin::TapKey(vk);
    return Frames(arg % 4 == 0 ? 1 : 6);
}

// A key held for one frame.
std::string Engine::Hold(int vk, unsigned arg) {
    standin::KeyDown(vk);
    if (std::string e = Frame(); !e.empty()) return e;
    standin::KeyUp(vk);
    return Frames(arg % 4 == 0 ? 1 : 6);
}

std::string Engine::HireMacro() {
    if (menu.menuPage == PAGE_CLOSED) {
        if (std::string e = Tap(VK_HOME_KEY, 1); !e.empty()) return e;
    }
    if (menu.menuPage != PAGE_MAIN) return "";
    for (int i = 0; i < 6 && menu.mainMenuItem != 1; ++i) {
        if (std::string e = Hold(VK_DOWN_KEY, 1); !e.empty()) return e;
    }
    if (menu.mainMenuItem != 1 || menu.menuPage != PAGE_MAIN) return "";
    return Tap(VK_ENTER_KEY, 1);
}

std::string Engine::DismissMacro(unsigned arg) {
    const std::int32_t ped = PickBodyguard(arg);
    if (ped == 0) return "";
    standin::World& w = standin::GetWorld();
    w.player.target = ped;
    if (std::string e = Frames(2); !e.empty()) return e;
    for (const char* step : {"show", "dismiss"}) {
        const BodyguardRecord* r = nullptr;
        for (const BodyguardRecord& rec : roster) {
            if (rec.ped == ped) r = &rec;
        }
        if (r == nullptr) return "";
        const std::int32_t prompt = std::strcmp(step, "show") == 0 ? r->showCommandsPrompt : r->dismissPrompt;
        if (w.CompletePrompt(prompt)) ++stats_.promptsCompleted;
        if (std::string e = Frames(2); !e.empty()) return e;
    }
    return "";
}

std::string Engine::BuildMacro(unsigned arg) {
    if (menu.menuPage == PAGE_CLOSED) {
        if (std::string e = Tap(VK_HOME_KEY, 1); !e.empty()) return e;
    }
    if (menu.menuPage != PAGE_MAIN) return "";
    for (int i = 0; i < 6 && menu.mainMenuItem != 0; ++i) {
        if (std::string e = Hold(VK_DOWN_KEY, 1); !e.empty()) return e;
    }
    if (std::string e = Tap(VK_ENTER_KEY, 1); !e.empty()) return e;  // the builder
    if (menu.menuPage != PAGE_BUILDER) return "";
    for (int i = 0; i < 7 && menu.builderItem != 0; ++i) {
        if (std::string e = Hold(VK_DOWN_KEY, 1); !e.empty()) return e;
    }
    if (std::string e = Tap(VK_ENTER_KEY, 1); !e.empty()) return e;  // the category page
    if (menu.menuPage != PAGE_CATEGORY) return "";
    const int category = static_cast<int>(arg % 5);
    for (int i = 0; i < 7 && menu.categoryItem != category; ++i) {
        if (std::string e = Hold(VK_DOWN_KEY, 1); !e.empty()) return e;
    }
    if (std::string e = Tap(VK_ENTER_KEY, 1); !e.empty()) return e;  // a model page
    if (menu.menuPage < PAGE_MODELS_FEMALE || menu.menuPage > PAGE_MODELS_CUSTOM) return "";
    for (unsigned i = 0; i < (arg / 5) % 4; ++i) {
        if (std::string e = Hold(VK_RIGHT_KEY, 1); !e.empty()) return e;
    }
    if (std::string e = Hold(VK_DOWN_KEY, 1); !e.empty()) return e;  // "Spawn"
    if (std::string e = Tap(VK_ENTER_KEY, 1); !e.empty()) return e;
    if (std::string e = Frames(12); !e.empty()) return e;  // the model page's pause after the hire
    if (menu.menuPage != PAGE_BUILDER) return "";
    // Outfit, sidearm, longarm: a step or two each, then Confirm most times.
    for (int item = 1; item <= 3; ++item) {
        for (int i = 0; i < 7 && menu.builderItem != item; ++i) {
            if (std::string e = Hold(VK_DOWN_KEY, 1); !e.empty()) return e;
        }
        for (unsigned i = 0; i < 1 + (arg / 20 + item) % 3; ++i) {
            if (std::string e = Hold(VK_RIGHT_KEY, 1); !e.empty()) return e;
        }
    }
    const int last = (arg / 60) % 4 == 0 ? 5 : 4;  // Cancel now and then
    for (int i = 0; i < 7 && menu.builderItem != last; ++i) {
        if (std::string e = Hold(VK_DOWN_KEY, 1); !e.empty()) return e;
    }
    return Tap(VK_ENTER_KEY, 1);
}

std::string Engine::Act(unsigned kind, unsigned arg) {
    standin::World& w = standin::GetWorld();
    switch (kind % 26) {
        case 0: Note("menu-key"); return Tap(VK_HOME_KEY, arg);
        case 1: Note("up"); return Hold(VK_UP_KEY, arg);
        case 2: Note("down"); return Hold(VK_DOWN_KEY, arg);
        case 3: Note("left"); return Hold(VK_LEFT_KEY, arg);
        case 4: Note("right"); return Hold(VK_RIGHT_KEY, arg);
        case 5: Note("enter"); return Tap(VK_ENTER_KEY, arg);
        case 6: Note("backspace"); return Tap(VK_BACK_KEY, arg);
        case 7: {
            static const char* const HELD[] = {"INPUT_FRONTEND_UP", "INPUT_FRONTEND_DOWN",
                                               "INPUT_FRONTEND_LEFT", "INPUT_FRONTEND_RIGHT"};
            const unsigned which = arg % 7;
            if (which < 4) {
                Note(HELD[which]);
                standin::HoldControl(HELD[which], true);
                if (std::string e = Frame(); !e.empty()) return e;
                standin::HoldControl(HELD[which], false);
                return Frames(6);
            }
            if (which == 6) {
                Note("keyboard-toggle");
                w.usingKeyboard = !w.usingKeyboard;
                return Frame();
            }
            Note(which == 4 ? "pad-accept" : "pad-cancel");
            standin::TriggerControl(which == 4 ? "INPUT_FRONTEND_ACCEPT" : "INPUT_FRONTEND_CANCEL");
            return Frames(6);
        }
        case 8: {
            Note("attack");
            const unsigned aim = arg % 4;
            w.player.aimed = aim == 0 ? NOT_A_PED : PickPedOrNone(arg / 4);
            return Tap(VK_0_KEY, arg / 16);
        }
        case 9: Note("follow-all"); return Tap(VK_ALT_KEY, arg);
        case 10:
            Note("target");
            w.player.target = PickPedOrNone(arg);
            return Frames(1 + arg % 3);
        case 11: {
            Note("complete-prompt");
            std::vector<std::int32_t> shown;
            for (const auto& [h, p] : w.prompts) {
                if (!p.deleted && p.enabled && p.visible) shown.push_back(h);
            }
            if (shown.empty()) {
                w.player.target = PickBodyguard(arg);
                return Frame();
            }
            if (w.CompletePrompt(shown[arg % shown.size()])) ++stats_.promptsCompleted;
            return Frames(1 + arg % 3);
        }
        case 12: {
            Note("damage");
            if (std::int32_t ped = PickBodyguard(arg)) w.Damage(ped, 50 + static_cast<int>((arg / 8) % 600));
            return Frame();
        }
        case 13: {
            Note("kill");
            const std::int32_t ped = arg % 3 == 0 ? PickPedOrNone(arg / 3) : PickBodyguard(arg / 3);
            if (ped != 0) w.Kill(ped);
            return Frame();
        }
        case 14: {
            Note("crouch or mount");
            standin::Ped& p = w.PlayerPed();
            if (arg % 3 == 0) {
                p.crouching = !p.crouching;
            } else if (arg % 3 == 1) {
                p.mount = p.mount == 0 ? horse_ : 0;
            } else if (standin::Ped* b = w.FindPed(PickBodyguard(arg / 3))) {
                b->crouching = !b->crouching;
            }
            return Frame();
        }
        case 15: {
            Note("fight");
            const std::int32_t stranger = strangers_[arg % strangers_.size()];
            const std::int32_t target = (arg / 4) % 2 == 0 ? w.player.ped : PickBodyguard(arg / 8);
            const standin::Ped* s = w.FindPed(stranger);
            if (s != nullptr && s->combatTarget != 0) {
                w.EndFights(stranger);
            } else if (target != 0) {
                w.StartFight(stranger, target);
            }
            return Frame();
        }
        case 16: {
            Note("walk");
            standin::Ped& p = w.PlayerPed();
            if (const standin::Ped* b = w.FindPed(PickBodyguard(arg)); b != nullptr && arg % 4 != 0) {
                p.pos = {b->pos.x + 0.5f, b->pos.y, b->pos.z};
            } else {
                p.pos.x += 40.0f;
            }
            return Frame();
        }
        case 17: Note("wait"); return Frames(1 + static_cast<int>(arg % 60));
        case 18: Note("long-wait"); return Frames(150 + static_cast<int>(arg % 600));
        case 19: {
            switch (arg % 5) {
                case 0:
                    Note("models-stall");
                    modelsStall_ = !modelsStall_;
                    w.modelLoadFrames = modelsStall_ ? -1 : 1;
                    break;
                case 1:
                    Note("no-safe-position");
                    w.safePositionFails = !w.safePositionFails;
                    break;
                case 2:
                    Note("create-ped-fails");
                    w.createPedFails = !w.createPedFails;
                    break;
                case 3:
                    Note("undeletable");
                    if (standin::Ped* b = w.FindPed(PickBodyguard(arg / 5))) b->survivesDeletion = true;
                    break;
                default:
                    Note("slow-models");
                    if (!modelsStall_) w.modelLoadFrames = 1 + static_cast<int>((arg / 5) % 4);
                    break;
            }
            return Frame();
        }
        case 20: {
            Note("player-dies");
            standin::Ped& p = w.PlayerPed();
            p.dead = true;
            p.health = 0;
            if (std::string e = Frames(30 + static_cast<int>(arg % 300)); !e.empty()) return e;
            standin::Ped& again = w.PlayerPed();
            again.dead = false;
            again.health = again.maxHealth;
            return Frame();
        }
        case 21: Note("hire-macro"); return HireMacro();
        case 22: Note("dismiss-macro"); return DismissMacro(arg);
        case 23: Note("build-macro"); return BuildMacro(arg);
        case 24:
            Note("interior");
            w.player.interior = w.player.interior == 0 ? SALOON_INTERIOR : 0;
            return Frame();
        default: return Restart();
    }
}

std::string Engine::Step() {
    // Weights of the action kinds above (the last, a restart, is drawn apart).
    static constexpr int WEIGHTS[25] = {6, 6, 8, 4, 5, 9, 4, 4, 2, 2, 5, 7, 3,
                                        1, 1, 1, 2, 6, 1, 1, 1, 3, 2, 2, 1};
    if (rng_() % 1200 == 0) {
        // Half the time a few hires first, so that the restart has bodyguards
        // to bring back.
        if (rng_() % 2 == 0) {
            for (int i = static_cast<int>(rng_() % 4); i >= 0; --i) {
                Note("hire-macro");
                if (std::string e = HireMacro(); !e.empty()) return e;
            }
        }
        return Restart();
    }
    int total = 0;
    for (int w : WEIGHTS) total += w;
    int pick = static_cast<int>(rng_() % static_cast<unsigned>(total));
    unsigned kind = 0;
    while (pick >= WEIGHTS[kind]) pick -= WEIGHTS[kind++];
    return Act(kind, static_cast<unsigned>(rng_()));
}

std::string Engine::Summary() const {
    std::ostringstream s;
    s << stats_.frames << " frames, " << stats_.actions << " actions, " << stats_.restarts << " restarts, "
      << stats_.hires << " hires, " << stats_.leaves << " departures, " << stats_.respawned << " respawned, "
      << stats_.promptsCompleted << " prompts completed, " << stats_.charges << " charges, " << stats_.saves
      << " saves, at most " << stats_.mostBodyguards << " bodyguards, menu open in "
      << stats_.framesWithMenuOpen << " frames; frames per page:";
    for (const auto& [page, frames] : stats_.pagesSeen) s << " " << page << ":" << frames;
    return s.str();
}

}  // namespace soak
