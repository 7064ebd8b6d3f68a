// The roster save file: 43 integers, each preceded by one space, no newline.
#pragma once

#include <cstdint>

constexpr const char* SAVE_FILE_NAME = "Tavrossimer.dat";
constexpr int SAVE_FILE_VALUE_COUNT = 43;
constexpr int SAVED_SLOT_COUNT = 7;

// What the file keeps of one slot: the six values a bodyguard is built from.
struct SavedLoadout {
    std::int32_t modelCategory = -1;
    std::int32_t modelIndex = -1;
    std::int32_t sidearm = 0;
    std::int32_t secondSidearm = 0;
    std::int32_t longarm = 0;
    std::int32_t outfit = 0;
};

// The whole file: the seven slots in order, then the formation.
struct SaveFileContent {
    SavedLoadout slots[SAVED_SLOT_COUNT];
    std::int32_t formationMode = 0;
};

// The value at a position of the file, 0 to 42 (42 is the formation).
std::int32_t& SaveFileValue(SaveFileContent& content, int position);

// Writes the content. It goes to a temporary file, flushed to the disk, that
// then replaces the old one in one step, so a crash, a power cut or a full disk
// never leaves a short file behind. Where no temporary file can be made, the
// file is rewritten in place rather than the save being lost; a save file that
// cannot be opened for writing (read-only) is left as it is.
void WriteSaveFile(const SaveFileContent& content);

// Reads the file over `content`; a missing, short or damaged file loads as far
// as it goes, and the values it does not reach stay as they were.
void ReadSaveFile(SaveFileContent& content);
