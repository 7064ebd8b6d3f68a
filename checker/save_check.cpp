// The save file: what the next start brings back, slot by slot, and every
// saved bodyguard it leaves out, with the value that makes it so. The values,
// and where and why the reading stopped, are the plug-in's own reading
// (ReadSaveFile, LoadRoster); the file's text is looked at only to quote it.
#include <cstdint>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "persist/save_file.h"
#include "report.h"
#include "roster/loadout.h"
#include "roster/roster.h"

namespace {

const char* const FIELD_NAMES[SAVED_FIELDS_PER_SLOT] = {"model list",     "model row", "sidearm",
                                                        "second sidearm", "longarm",   "outfit"};
const char* const LIST_NAMES[CATEGORY_COUNT] = {"Male", "Female", "Gang Member", "ALL", "Custom list"};

// What the plug-in holds at startup, then the file read into it.
void LoadAsAtStartup() {
    for (BodyguardRecord& record : roster) ClearRecord(record);
    formationMode = FORMATION_AUTO;
    LoadRoster();
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The file's text piece by piece, one piece per value, to quote it: a number,
// or the text that stands where a number should be.
std::vector<std::string> Pieces(const std::string& content) {
    std::vector<std::string> pieces;
    std::size_t i = 0;
    const std::size_t end = content.find('\x1A') == std::string::npos ? content.size() : content.find('\x1A');
    while (i < end) {
        while (i < end && IsSpace(content[i])) ++i;
        if (i == end) break;
        std::size_t j = i;
        if (content[j] == '+' || content[j] == '-') ++j;
        if (j < end && IsDigit(content[j])) {
            while (j < end && IsDigit(content[j])) ++j;
        } else {
            while (j < end && !IsSpace(content[j])) ++j;
        }
        pieces.push_back(content.substr(i, j - i));
        i = j;
    }
    return pieces;
}

std::string Where(int position) {
    const std::string value = "value " + std::to_string(position + 1);
    if (position == SAVE_FILE_VALUE_COUNT - 1) return value + " (the formation)";
    return value + " (slot " + std::to_string(position / SAVED_FIELDS_PER_SLOT) + ", " +
           FIELD_NAMES[position % SAVED_FIELDS_PER_SLOT] + ")";
}

void CheckReading(Report& report, const std::string& content) {
    SaveFileContent values;
    const SaveFileReading reading = ReadSaveFile(values);
    LoadAsAtStartup();
    const std::string count = std::to_string(SAVE_FILE_VALUE_COUNT);
    const int last = reading.valuesSet - 1;
    const std::vector<std::string> pieces = Pieces(content);
    switch (reading.last) {
        case SaveValueRead::EndOfFile:
            if (reading.valuesSet == 0) {
                Warning(report, "the file is empty: no bodyguards come back");
            } else {
                Problem(report, "the file holds only " + std::to_string(reading.valuesSet) + " of the " +
                                    count + " values: from " + Where(reading.valuesSet) +
                                    " on, everything reads as empty (free slots, formation Auto)");
            }
            return;
        case SaveValueRead::NotANumber:
        case SaveValueRead::OutOfRange: {
            // The reading stopped at the last value it set.
            const std::string piece = last < static_cast<int>(pieces.size()) ? pieces[last] : "";
            std::string text = Where(last) + " is " + Quote(piece) + ", " +
                               (reading.last == SaveValueRead::OutOfRange ? "a number too large for 32 bits"
                                                                          : "not a number") +
                               ": it reads as " + std::to_string(SaveFileValue(values, last));
            if (reading.valuesSet < SAVE_FILE_VALUE_COUNT) {
                text +=
                    ", and nothing after it is read: the later values stay empty (free slots, formation "
                    "Auto)";
            }
            Problem(report, text);
            return;
        }
        case SaveValueRead::Value:
            if (static_cast<int>(pieces.size()) > SAVE_FILE_VALUE_COUNT) {
                Warning(report, "the text after the " + count + "rd value is not read, from " +
                                    Quote(pieces[SAVE_FILE_VALUE_COUNT]) + " on");
            }
            return;
    }
}

void CheckSlot(Report& report, int slot) {
    const BodyguardRecord& r = roster[slot];
    const std::string at = "slot " + std::to_string(slot) + ": ";
    const std::string values = " [" + std::to_string(r.modelCategory) + " " + std::to_string(r.modelIndex) +
                               " " + std::to_string(r.sidearm) + " " + std::to_string(r.secondSidearm) + " " +
                               std::to_string(r.longarm) + " " + std::to_string(r.outfit) + "]";
    if (r.modelCategory == -1) {
        const bool plain =
            r.modelIndex == -1 && r.sidearm == 0 && r.secondSidearm == 0 && r.longarm == 0 && r.outfit == 0;
        Line(report,
             at + "free" + (plain ? "" : values + " (an empty slot: the values after -1 do not matter)"));
        return;
    }
    if (static_cast<unsigned>(r.modelCategory) > static_cast<unsigned>(CATEGORY_CUSTOM)) {
        Problem(report, at + "model list " + std::to_string(r.modelCategory) + values +
                            " does not exist (0 Male, 1 Female, 2 Gang Member, 3 ALL, 4 Custom list): this "
                            "bodyguard does not come back and the slot is free");
        return;
    }
    const ModelList& list = modelCatalogue[r.modelCategory];
    const std::string listName = LIST_NAMES[r.modelCategory];
    const bool sidearmOk = IsSidearmRow(r.sidearm);
    const bool longarmOk = IsLongarmRow(r.longarm);
    if (r.modelIndex < 0 || r.modelIndex >= list.count) {
        const std::string rows =
            list.count == 0 ? "which is empty" : "rows 0 to " + std::to_string(list.count - 1);
        const std::string what = at + "model row " + std::to_string(r.modelIndex) + values +
                                 " is not on the " + listName +
                                 (r.modelCategory == CATEGORY_CUSTOM ? "" : " list") + " (" + rows + ")";
        if (CheckSavedRanges(r) == RecordCheck::ModelUnusableNow) {
            Warning(report, what +
                                ": this bodyguard waits in the save file and comes back once the custom "
                                "list has that row again");
        } else {
            Problem(report, what + ": this bodyguard does not come back and the slot is free");
        }
        return;
    }
    if (!sidearmOk || !longarmOk) {
        const std::string what =
            !sidearmOk
                ? "sidearm " + std::to_string(r.sidearm) + values +
                      " is not a row of the sidearm list (0 to " + std::to_string(SIDEARM_COUNT - 1) + ")"
                : "longarm " + std::to_string(r.longarm) + values +
                      " is not a row of the longarm list (0 to " + std::to_string(LONGARM_COUNT - 1) + ")";
        Problem(report, at + what + ": this bodyguard does not come back and the slot is free");
        return;
    }
    const std::string name = list.names[r.modelIndex];
    std::string text = at + name + " (" + listName + " row " + std::to_string(r.modelIndex) + "), " +
                       sidearmNames[r.sidearm] + ", " + longarmNames[r.longarm] + ", outfit " +
                       std::to_string(r.outfit);
    if (r.modelCategory == CATEGORY_CUSTOM && !InCatalogue(name)) {
        Warning(report,
                text + ": comes back if the game knows this model; if not, it waits in the save file");
        return;
    }
    Line(report, text + ": comes back");
}

}  // namespace

void CheckSaveFile(Report& report) {
    Heading(report, std::string(SAVE_FILE_NAME) + " (your saved bodyguards)");
    std::string content;
    if (ReadForCheck(report, SAVE_FILE_NAME, content,
                     "not found: nobody comes back at the next start (the first save makes the file)") !=
        FileState::Read)
        return;
    CheckReading(report, content);
    for (int slot = 0; slot < ROSTER_SIZE; ++slot) CheckSlot(report, slot);
    if (static_cast<unsigned>(formationMode) > static_cast<unsigned>(FORMATION_AUTO)) {
        Warning(report, "formation " + std::to_string(formationMode) + " is not one of 0 to " +
                            std::to_string(FORMATION_AUTO) + ": it becomes " +
                            std::to_string(FORMATION_AUTO) + " (Auto)");
    } else if (formationMode == FORMATION_AUTO) {
        Line(report, "formation: Auto");
    } else {
        Line(report, "formation: " + std::to_string(formationMode));
    }
}
