// An independent reading and writing of the roster save file's text, and of the
// startup checks a loaded record must pass, for the tests and fuzz targets that
// check the plug-in's own reader and writer against it. Header only: the fuzz
// targets include it without the GoogleTest support library.
#pragma once

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <string>

namespace savetext {

constexpr int SLOTS = 7;
constexpr int FIELDS = 6;
constexpr int VALUES = SLOTS * FIELDS + 1;  // 43: six per slot, then the formation

// The 43 values in file order: per slot category, index, sidearm, second
// sidearm, longarm, outfit; then the formation.
using Values = std::array<std::int32_t, VALUES>;

// What the roster holds before anything is loaded: every slot cleared, formation 11.
inline Values StartupValues() {
    Values v{};
    for (int s = 0; s < SLOTS; ++s) {
        v[s * FIELDS + 0] = -1;
        v[s * FIELDS + 1] = -1;
    }
    v[VALUES - 1] = 11;
    return v;
}

// The file's text for `v`: each value as a space and its decimal number.
inline std::string Format(const Values& v) {
    std::string out;
    for (std::int32_t x : v) out += " " + std::to_string(x);
    return out;
}

// Reads `text` over `v` as the game's reader does: whitespace skipped, an
// optional sign and the longest digit run; the first value that cannot be read
// stops the reading (end of text: that field keeps its value; no digit: 0; out of
// the 32-bit range: the nearest limit). A Ctrl-Z byte ends the text, as in a
// Windows text-mode read. Returns how many fields were written.
inline int Read(const std::string& text, Values& v) {
    std::size_t i = 0;
    const std::size_t n = std::min(text.size(), text.find('\x1A'));
    auto space = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (int field = 0; field < VALUES; ++field) {
        while (i < n && space(text[i])) ++i;
        if (i == n) return field;
        bool negative = false;
        if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
        if (i == n || !digit(text[i])) {
            v[field] = 0;
            return field + 1;
        }
        // Leading zeros do not count towards the range.
        while (i < n && text[i] == '0') ++i;
        std::string digits;
        while (i < n && digit(text[i])) digits += text[i++];
        const bool tooLong = digits.size() > 10;
        const long long magnitude = tooLong ? 0 : (digits.empty() ? 0 : std::stoll(digits));
        if (negative && (tooLong || magnitude > 2147483648LL)) {
            v[field] = INT32_MIN;
            return field + 1;
        }
        if (!negative && (tooLong || magnitude > 2147483647LL)) {
            v[field] = INT32_MAX;
            return field + 1;
        }
        v[field] = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    }
    return VALUES;
}

// One slot's six values.
struct Record {
    std::int32_t category, index, sidearm, secondSidearm, longarm, outfit;
};
inline Record RecordOf(const Values& v, int slot) {
    const std::int32_t* f = &v[static_cast<std::size_t>(slot * FIELDS)];
    return Record{f[0], f[1], f[2], f[3], f[4], f[5]};
}
inline bool IsCleared(const Record& r) {
    return r.category == -1 && r.index == -1 && r.sidearm == 0 && r.secondSidearm == 0 && r.longarm == 0 &&
           r.outfit == 0;
}

// The startup checks on a loaded record, without the game's model tests:
// category 0..4, a row inside its list (of `listCounts[category]` names), sidearm
// 0..23 and longarm 0..18, each compared as unsigned. A row past the end of its
// list (with usable weapons) is told apart: for the custom list, which a later
// start may find longer, such a record waits rather than being dropped.
enum class Verdict { Usable, RowMissing, Broken };
inline Verdict Check(const Record& r, const int listCounts[5]) {
    if (static_cast<std::uint32_t>(r.category) > 4u) return Verdict::Broken;
    const bool weapons =
        static_cast<std::uint32_t>(r.sidearm) <= 23u && static_cast<std::uint32_t>(r.longarm) <= 18u;
    if (r.index < 0) return Verdict::Broken;
    // Past the end of its list: only the custom list can grow again later.
    if (r.index >= listCounts[r.category]) return weapons ? Verdict::RowMissing : Verdict::Broken;
    return weapons ? Verdict::Usable : Verdict::Broken;
}

}  // namespace savetext
