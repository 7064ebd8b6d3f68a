// The roster save file: 43 integers, each preceded by one space, no newline.
#pragma once

#include <cstdint>

constexpr const char* SAVE_FILE_NAME = "Tavrossimer.dat";
constexpr int SAVE_FILE_VALUE_COUNT = 43;
constexpr int SAVED_SLOT_COUNT = 7;
constexpr int SAVED_FIELDS_PER_SLOT = 6;
static_assert(SAVED_SLOT_COUNT * SAVED_FIELDS_PER_SLOT + 1 == SAVE_FILE_VALUE_COUNT,
              "six fields per slot and the formation");

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

// How reading one value went: a number, the end of the file, text that is no
// number (read as 0), or a number past 32 bits (read as the nearest 32-bit one).
enum class SaveValueRead { Value, EndOfFile, NotANumber, OutOfRange };

// How far a reading of the file went: how many values it set, and how the last
// value it tried went (Value when all of them were read as numbers). A
// NotANumber or OutOfRange value is set, and the reading stops after it.
struct SaveFileReading {
    int valuesSet = 0;
    SaveValueRead last = SaveValueRead::EndOfFile;
};

// Reads the file over `content`; a missing, short or damaged file loads as far
// as it goes, and the values it does not reach stay as they were.
SaveFileReading ReadSaveFile(SaveFileContent& content);
