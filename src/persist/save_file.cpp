#include "persist/save_file.h"

#include <cstdint>
#include <cstdio>

#include "host/platform.h"
#include "persist/text_read.h"

namespace {

// The new content is written here first, in the same folder, so the final
// replacement is a rename within one file system.
constexpr const char* SAVE_TEMP_FILE_NAME = "Tavrossimer.dat.tmp";

// " -2147483648" is the longest value: 12 characters.
constexpr int SAVE_TEXT_CAPACITY = SAVE_FILE_VALUE_COUNT * 12 + 1;

// Formats the 43 values, each as a space and the decimal number. Returns the
// length, or -1 if the text did not fit (it always does).
int FormatSaveText(const SaveFileContent& content, char* text, int capacity) {
    int length = 0;
    auto append = [&](std::int32_t value) {
        if (length < 0) return;
        const int written = std::snprintf(text + length, static_cast<std::size_t>(capacity - length), " %d",
                                          static_cast<int>(value));
        length = (written < 0 || written >= capacity - length) ? -1 : length + written;
    };
    for (const SavedLoadout& slot : content.slots) {
        append(slot.modelCategory);
        append(slot.modelIndex);
        append(slot.sidearm);
        append(slot.secondSidearm);
        append(slot.longarm);
        append(slot.outfit);
    }
    append(content.formationMode);
    return length;
}

// Reading the file: one value at a time, as a decimal number after any
// whitespace.

bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

SaveValueRead ReadValue(std::FILE* file, std::int32_t* out) {
    int c = ReadTextChar(file);
    while (c != EOF && IsSpace(c)) c = ReadTextChar(file);
    if (c == EOF) return SaveValueRead::EndOfFile;

    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = ReadTextChar(file);
    }
    if (!IsDigit(c)) {
        *out = 0;
        return SaveValueRead::NotANumber;
    }

    // The whole digit run is consumed; the magnitude stops growing once it is
    // past every 32-bit value.
    constexpr std::int64_t LIMIT = std::int64_t{INT32_MAX} + 1;
    std::int64_t magnitude = 0;
    while (IsDigit(c)) {
        if (magnitude <= LIMIT) magnitude = magnitude * 10 + (c - '0');
        c = ReadTextChar(file);
    }
    if (c != EOF) std::ungetc(c, file);

    if (negative) {
        if (magnitude > LIMIT) {
            *out = INT32_MIN;
            return SaveValueRead::OutOfRange;
        }
        *out = static_cast<std::int32_t>(-magnitude);
        return SaveValueRead::Value;
    }
    if (magnitude > INT32_MAX) {
        *out = INT32_MAX;
        return SaveValueRead::OutOfRange;
    }
    *out = static_cast<std::int32_t>(magnitude);
    return SaveValueRead::Value;
}

}  // namespace

std::int32_t& SaveFileValue(SaveFileContent& content, int position) {
    if (position >= SAVED_SLOT_COUNT * SAVED_FIELDS_PER_SLOT) return content.formationMode;
    SavedLoadout& slot = content.slots[position / SAVED_FIELDS_PER_SLOT];
    switch (position % SAVED_FIELDS_PER_SLOT) {
        case 0: return slot.modelCategory;
        case 1: return slot.modelIndex;
        case 2: return slot.sidearm;
        case 3: return slot.secondSidearm;
        case 4: return slot.longarm;
        default: return slot.outfit;
    }
}

void WriteSaveFile(const SaveFileContent& content) {
    char text[SAVE_TEXT_CAPACITY];
    const int length = FormatSaveText(content, text, SAVE_TEXT_CAPACITY);
    if (length < 0) return;

    // A save file the player made read-only (or that something else holds)
    // is left exactly as it is: the save does not go round it by renaming.
    if (!ExistingFileOpensForWriting(SAVE_FILE_NAME)) return;

    // The old file is replaced only by a complete new one, on the disk before
    // the rename; on a failed write or rename it stays as it was and the
    // partial new file is removed.
    FileWrite written = WriteWholeFileToDisk(SAVE_TEMP_FILE_NAME, text, length);
    // A temporary file that cannot even be opened is a stale one (read-only,
    // say) left by an earlier run or another tool: it goes, and the write is
    // tried once more. A folder of that name is not ours and stays.
    if (written == FileWrite::NotCreated && RemoveFileEvenIfReadOnly(SAVE_TEMP_FILE_NAME)) {
        written = WriteWholeFileToDisk(SAVE_TEMP_FILE_NAME, text, length);
    }
    switch (written) {
        case FileWrite::Written:
            if (!ReplaceFileAtomically(SAVE_TEMP_FILE_NAME, SAVE_FILE_NAME)) std::remove(SAVE_TEMP_FILE_NAME);
            return;
        case FileWrite::Failed: std::remove(SAVE_TEMP_FILE_NAME); return;
        case FileWrite::NotCreated:
            // No temporary file can be made here (a folder holds its name, or
            // the folder refuses new files): rather than lose the save, the
            // file is rewritten in place, the last resort.
            WriteWholeFileToDisk(SAVE_FILE_NAME, text, length);
            return;
    }
}

SaveFileReading ReadSaveFile(SaveFileContent& content) {
    SaveFileReading reading;
    // A file that cannot be opened reads like an empty one: nothing changes.
    std::FILE* file = std::fopen(SAVE_FILE_NAME, "rb");
    if (file == nullptr) return reading;
    for (int position = 0; position < SAVE_FILE_VALUE_COUNT; ++position) {
        std::int32_t value = 0;
        reading.last = ReadValue(file, &value);
        if (reading.last == SaveValueRead::EndOfFile) break;
        SaveFileValue(content, position) = value;
        reading.valuesSet = position + 1;
        if (reading.last != SaveValueRead::Value) break;  // the reading stops for good
    }
    std::fclose(file);
    return reading;
}
