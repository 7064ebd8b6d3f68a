// Fuzz target: a whole game start on hostile files. The input holds up to three
// files separated by NUL bytes: the save file, the custom ped list and the
// settings file (a missing part means no such file). The plug-in starts on the
// stand-in and runs until its frame loop; then:
// - every saved record that passes the startup checks (against the custom list
//   as read) has its bodyguard back in its own slot with its loadout, and no
//   other slot holds one; the plug-in's live peds are exactly those, each once;
// - no game call got a handle the plug-in had given back;
// - starting wrote nothing, and the next save writes back what was loaded: the
//   same records for the bodyguards and for those waiting for a custom row, the
//   cleared record for the rest.
// No settings file makes bodyguards dead on arrival: the health they get is
// kept at 1 or more, so a saved roster always survives the start.
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "call_log.h"
#include "catalog/catalog.h"
#include "config/settings.h"
#include "driver.h"
#include "fuzz_support.h"
#include "menu/state.h"
#include "persist/custom_peds.h"
#include "persist/save_file.h"
#include "roster/roster.h"
#include "save_text.h"
#include "world.h"

namespace {

using fuzzsupport::Expect;

constexpr const char* SETTINGS_FILE_NAME = "Tavrossimer.ini";
constexpr int MAX_START_FRAMES = 4000;

void PutFile(const char* name, const std::vector<std::string>& parts, std::size_t index) {
    if (index < parts.size()) {
        fuzzsupport::WriteFile(name, parts[index]);
    } else {
        fuzzsupport::Remove(name);
    }
}

bool ReachedFrameLoop(std::size_t mark) {
    return !standin::GetCallLog().Since(mark, "GetPlayerTargetEntity").empty();
}

void CheckStart(const std::string& savedText, const std::vector<std::string>& customNames) {
    standin::World& w = standin::GetWorld();
    Expect(w.staleUses.empty(), "a game call got a handle the plug-in had given back");
    Expect(modelCatalogue[CATEGORY_CUSTOM].count == static_cast<int>(customNames.size()),
           "the custom list is not the file's names");

    savetext::Values saved = savetext::StartupValues();
    savetext::Read(savedText, saved);
    const std::int32_t formation =
        static_cast<std::uint32_t>(saved[savetext::VALUES - 1]) > 11u ? 11 : saved[savetext::VALUES - 1];
    Expect(formationMode == formation, "the formation is not the saved one, clamped");

    const int counts[5] = {modelCatalogue[0].count, modelCatalogue[1].count, modelCatalogue[2].count,
                           modelCatalogue[3].count, static_cast<int>(customNames.size())};
    savetext::Values expectedSave = saved;
    expectedSave[savetext::VALUES - 1] = formation;
    std::set<std::int32_t> peds;
    Expect(spawnHealth >= 1, "bodyguards would be dead on arrival");
    for (int s = 0; s < ROSTER_SIZE; ++s) {
        const savetext::Record rec = savetext::RecordOf(saved, s);
        const savetext::Verdict verdict = savetext::Check(rec, counts);
        const BodyguardRecord& r = roster[s];
        const std::string slot = "slot " + std::to_string(s);
        if (verdict == savetext::Verdict::Usable) {
            Expect(r.ped != 0, "saved " + slot + " did not come back into its slot");
            Expect(r.modelCategory == rec.category && r.modelIndex == rec.index && r.sidearm == rec.sidearm &&
                       r.secondSidearm == rec.secondSidearm && r.longarm == rec.longarm &&
                       r.outfit == rec.outfit,
                   "saved " + slot + " came back with another loadout");
            const standin::Ped* p = w.FindPed(r.ped);
            Expect(p != nullptr && p->exists && !p->released && !p->deleted,
                   slot + "'s ped is not in the world");
            Expect(p->model == standin::GameHash(modelCatalogue[rec.category].names[rec.index]),
                   slot + "'s ped has another model");
            Expect(peds.insert(r.ped).second, "one ped in two slots");
        } else {
            Expect(r.ped == 0, slot + " holds a bodyguard its saved record cannot give");
            const bool waits = verdict == savetext::Verdict::RowMissing && rec.category == CATEGORY_CUSTOM;
            if (!waits) {
                for (int f = 0; f < savetext::FIELDS; ++f) {
                    expectedSave[static_cast<std::size_t>(s * savetext::FIELDS + f)] = f < 2 ? -1 : 0;
                }
            }
        }
    }
    int live = 0;
    for (const auto& [h, p] : w.peds) {
        if (p.isPlayer || !p.exists || p.released || p.deleted) continue;
        ++live;
        Expect(peds.count(h) == 1, "a ped the plug-in created is in no slot");
    }
    Expect(live <= ROSTER_SIZE, "more than seven bodyguards");

    Expect(fuzzsupport::ReadFile(SAVE_FILE_NAME) == savedText, "starting the game rewrote the save file");
    SaveRoster();
    const std::string written = fuzzsupport::ReadFile(SAVE_FILE_NAME);
    Expect(written == savetext::Format(expectedSave),
           "the first save does not write back what was loaded: wrote \"" + written + "\", expected \"" +
               savetext::Format(expectedSave) + "\"");
    for (const auto& e : std::filesystem::directory_iterator(".")) {
        const std::string name = e.path().filename().string();
        Expect(name == SAVE_FILE_NAME || name == CUSTOM_PEDS_FILE_NAME || name == SETTINGS_FILE_NAME,
               "a stray file: " + name);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::EnterPrivateFolder();
    standin::GetCallLog().enabled = true;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> parts;
    const char* text = reinterpret_cast<const char*>(data);
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= size && parts.size() < 3; ++i) {
        if (i == size || text[i] == '\0') {
            parts.emplace_back(text + begin, i - begin);
            begin = i + 1;
        }
    }
    PutFile(SAVE_FILE_NAME, parts, 0);
    PutFile(CUSTOM_PEDS_FILE_NAME, parts, 1);
    PutFile(SETTINGS_FILE_NAME, parts, 2);
    const std::string savedText = parts.empty() ? std::string() : parts[0];
    const std::vector<std::string> customNames =
        parts.size() > 1 ? fuzzsupport::CustomListNames(parts[1]) : std::vector<std::string>();

    standin::ResetWorld();
    // The game knows every name of the list: what is checked is the plug-in's reading.
    standin::GetWorld().extraModels.insert(customNames.begin(), customNames.end());
    standin::StartGame();
    int frames = 0;
    while (!ReachedFrameLoop(0)) {
        Expect(++frames <= MAX_START_FRAMES, "the script never reached its frame loop");
        standin::RunFrame();
    }
    CheckStart(savedText, customNames);
    standin::EndGame();
    return 0;
}
