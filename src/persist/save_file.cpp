#include "persist/save_file.h"

#include <cstdint>
#include <cstdio>

#include "host/platform.h"

namespace {

// The new content is written here first, in the same folder, so the final
// replacement is a rename within one file system.
constexpr const char* SAVE_TEMP_FILE_NAME = "Tavrossimer.dat.tmp";

constexpr int FIELDS_PER_SLOT = 6;
static_assert(SAVED_SLOT_COUNT * FIELDS_PER_SLOT + 1 == SAVE_FILE_VALUE_COUNT,
              "six fields per slot and the formation");

// " -2147483648" is the longest value: 12 characters.
constexpr int SAVE_TEXT_CAPACITY = SAVE_FILE_VALUE_COUNT * 12 + 1;

// The value stored at a position of the file (0 to 42).
std::int32_t& FieldAt(SaveFileContent& content, int position) {
    if (position >= SAVED_SLOT_COUNT * FIELDS_PER_SLOT) return content.formationMode;
    SavedLoadout& slot = content.slots[position / FIELDS_PER_SLOT];
    switch (position % FIELDS_PER_SLOT) {
        case 0:
            return slot.modelCategory;
        case 1:
            return slot.modelIndex;
        case 2:
            return slot.sidearm;
        case 3:
            return slot.secondSidearm;
        case 4:
            return slot.longarm;
        default:
            return slot.outfit;
    }
}

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

// Writes the whole text to a new file and closes it, checking every step.
enum class WriteOutcome { Written, NotOpened, Failed };

WriteOutcome WriteWholeFile(const char* name, const char* text, int length) {
    std::FILE* file = std::fopen(name, "wb");
    if (file == nullptr) return WriteOutcome::NotOpened;
    bool ok =
        std::fwrite(text, 1, static_cast<std::size_t>(length), file) == static_cast<std::size_t>(length);
    ok = std::fflush(file) == 0 && ok;
    ok = std::ferror(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    return ok ? WriteOutcome::Written : WriteOutcome::Failed;
}

// Reading the file: one value at a time, as a decimal number after any
// whitespace.
enum class ReadOutcome { Value, EndOfFile, NotANumber, OutOfRange };

bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

// Read in Windows text mode, a file ends at a Ctrl-Z byte (old editors put one
// at the end). The file is opened in binary mode so both builds read alike, and
// the Ctrl-Z is honoured here: it is put back, so every later read meets it too.
constexpr int CTRL_Z = 0x1A;
int ReadChar(std::FILE* file) {
    const int c = std::fgetc(file);
    if (c != CTRL_Z) return c;
    std::ungetc(c, file);
    return EOF;
}

ReadOutcome ReadValue(std::FILE* file, std::int32_t* out) {
    int c = ReadChar(file);
    while (c != EOF && IsSpace(c)) c = ReadChar(file);
    if (c == EOF) return ReadOutcome::EndOfFile;

    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = ReadChar(file);
    }
    if (!IsDigit(c)) {
        *out = 0;
        return ReadOutcome::NotANumber;
    }

    // The whole digit run is consumed; the magnitude stops growing once it is
    // past every 32-bit value.
    constexpr std::int64_t LIMIT = std::int64_t{INT32_MAX} + 1;
    std::int64_t magnitude = 0;
    while (IsDigit(c)) {
        if (magnitude <= LIMIT) magnitude = magnitude * 10 + (c - '0');
        c = ReadChar(file);
    }
    if (c != EOF) std::ungetc(c, file);

    if (negative) {
        if (magnitude > LIMIT) {
            *out = INT32_MIN;
            return ReadOutcome::OutOfRange;
        }
        *out = static_cast<std::int32_t>(-magnitude);
        return ReadOutcome::Value;
    }
    if (magnitude > INT32_MAX) {
        *out = INT32_MAX;
        return ReadOutcome::OutOfRange;
    }
    *out = static_cast<std::int32_t>(magnitude);
    return ReadOutcome::Value;
}

}  // namespace

void WriteSaveFile(const SaveFileContent& content) {
    char text[SAVE_TEXT_CAPACITY];
    const int length = FormatSaveText(content, text, SAVE_TEXT_CAPACITY);
    if (length < 0) return;

    // A save file the player made read-only (or that something else holds)
    // is left exactly as it is: the save does not go round it by renaming.
    if (!ExistingFileOpensForWriting(SAVE_FILE_NAME)) return;

    // The old file is replaced only by a complete new one; on any failure it
    // stays as it was and the partial new file is removed. A temporary name
    // that could not even be opened (something else holds that name) is left
    // alone: it is not ours.
    switch (WriteWholeFile(SAVE_TEMP_FILE_NAME, text, length)) {
        case WriteOutcome::NotOpened:
            return;
        case WriteOutcome::Failed:
            std::remove(SAVE_TEMP_FILE_NAME);
            return;
        case WriteOutcome::Written:
            break;
    }
    if (!ReplaceFileAtomically(SAVE_TEMP_FILE_NAME, SAVE_FILE_NAME)) std::remove(SAVE_TEMP_FILE_NAME);
}

void ReadSaveFile(SaveFileContent& content) {
    // A file that cannot be opened reads like an empty one: nothing changes.
    std::FILE* file = std::fopen(SAVE_FILE_NAME, "rb");
    if (file == nullptr) return;
    for (int position = 0; position < SAVE_FILE_VALUE_COUNT; ++position) {
        std::int32_t value = 0;
        const ReadOutcome outcome = ReadValue(file, &value);
        if (outcome == ReadOutcome::EndOfFile) break;
        FieldAt(content, position) = value;
        if (outcome != ReadOutcome::Value) break;  // the reading stops for good
    }
    std::fclose(file);
}
