#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "keys.h"
#include "scenario.h"
#include "workdir.h"

namespace sim {

namespace {

using Words = std::vector<std::string>;

// How many words from `at` one pattern word takes (0: it does not fit).
std::size_t MatchWord(const std::string& p, const Words& w, std::size_t at, std::string* error) {
    if (p == "CONDITION") {
        std::size_t end = at;
        while (end < w.size() && w[end] != "within") ++end;
        return CheckCondition(Words(w.begin(), w.begin() + static_cast<std::ptrdiff_t>(end)), at, error)
                   ? end - at
                   : 0;
    }
    if (at >= w.size()) return 0;
    const std::string& s = w[at];
    std::size_t used = 0;
    if (p[0] == '@') {
        // A slot or a stranger always, the others where the pattern lists them.
        static const char* const kListed[] = {"|none", "", "", "|player", "|horse"};
        Who who;
        return ParseWho(w, at, &who, &used) && p.find(kListed[who.kind]) != std::string::npos ? used : 0;
    }
    if (p.find('|') != std::string::npos) {
        std::istringstream choices(p);
        for (std::string choice; std::getline(choices, choice, '|');) {
            if (MatchWord(choice, w, at, error)) return 1;
        }
        return 0;
    }
    if (std::string(" N ROW ID METRES AMOUNT CENTS ").find(" " + p + " ") != std::string::npos)
        return IsInteger(s) ? 1 : 0;
    if (p == "KEY") return IsKeyName(s) ? 1 : Fail(error, "unknown key \"" + s + "\"");
    if (p == "DURATION") {
        Duration d;
        return ParseDuration(w, at, &d, &used) ? used : 0;
    }
    long long cents = 0;
    if (p == "DOLLARS") return ParseDollars(s, &cents) ? 1 : 0;
    std::string key, value;
    if (p == "KEY=VALUE") return SplitAssignment(s, &key, &value) ? 1 : 0;
    if (std::islower(static_cast<unsigned char>(p[0]))) return SameText(p, s) ? 1 : 0;
    return 1;
}

// The pattern's words from `i` to `end` against the words from `at` on,
// greedily: a bracketed part (not nested) may be left out, and a part ending
// in "..." is taken as often as it fits.
bool MatchParts(const Words& p, std::size_t i, std::size_t end, const Words& w, std::size_t& at,
                std::string* error) {
    while (i < end) {
        const bool optional = p[i] == "[";
        std::size_t close = i;
        while (optional && p[close][0] != ']') ++close;
        std::string word = p[i];
        const bool repeat =
            optional ? p[close] == "]..." : word.size() > 3 && word.compare(word.size() - 3, 3, "...") == 0;
        if (repeat && !optional) word.resize(word.size() - 3);
        bool matched = false;
        for (std::size_t next = at;; next = at) {
            if (optional ? !MatchParts(p, i + 1, close, w, next, error)
                         : (next += MatchWord(word, w, at, error)) == at)
                break;
            if (next == at) break;
            at = next;
            matched = true;
            if (!repeat) break;
        }
        if (!matched && !optional) return false;
        i = close + 1;
    }
    return true;
}

}  // namespace

std::string NameOf(const char* usage) {
    const std::string u = usage;
    return u.substr(0, u.find(' '));
}

// The pattern is the words after a command's or a condition's name as its help
// shows them:
//   N, ROW, ID, METRES, AMOUNT, CENTS   a whole number
//   KEY  a key name        DURATION  "2 s", "500 ms", "10 frames"
//   DOLLARS  "995", "$12.50"          KEY=VALUE  a settings line
//   CONDITION  a condition (up to a "within")
//   slot N|stranger N|none|player|horse  a ped ("none", "player", "horse" where listed)
//   a|b|N  one of these words (N: or a number)   lower-case  that very word
//   [...]  optional        X...  once or more    anything else  any one word
bool CheckUsage(const char* usage, const std::vector<std::string>& words, std::size_t at,
                std::string* error) {
    const std::string u = usage;
    std::string spaced;
    for (char c : u.substr(NameOf(usage).size()))
        spaced += c == '[' ? std::string("[ ") : c == ']' ? std::string(" ]") : std::string(1, c);
    std::istringstream in(spaced);
    Words p;
    for (std::string t; in >> t;) {
        // "slot N|stranger N|none": a ped, with the extra choices after the second N.
        if (!p.empty() && p.back() == "slot" && t.compare(0, 10, "N|stranger") == 0 && in >> t) {
            p.back() = "@" + t.substr(1);
            continue;
        }
        p.push_back(t);
    }
    error->clear();
    if (MatchParts(p, 0, p.size(), words, at, error) && at == words.size()) return true;
    if (error->empty()) *error = "usage: " + u;
    return false;
}

bool SplitWords(const std::string& line, std::vector<std::string>* words, std::string* error,
                std::size_t* commentAt) {
    words->clear();
    std::size_t i = 0;
    const std::size_t n = line.size();
    if (commentAt) *commentAt = n;
    while (i < n) {
        while (i < n && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        if (i < n && line[i] == '#' && commentAt) *commentAt = i;
        if (i >= n || line[i] == '#') break;
        std::string word;
        if (line[i] == '"') {
            for (++i; i < n && line[i] != '"'; ++i) {
                const bool escaped = line[i] == '\\' && i + 1 < n;
                const char c = escaped ? line[++i] : line[i];
                word += !escaped ? c : c == 'n' ? '\n' : c == 't' ? '\t' : c;
            }
            if (i++ >= n) return Fail(error, "a quote is not closed");
        } else {
            while (i < n && !std::isspace(static_cast<unsigned char>(line[i]))) word += line[i++];
        }
        words->push_back(word);
    }
    return true;
}

bool ParseDuration(const std::vector<std::string>& words, std::size_t at, Duration* out, std::size_t* used) {
    if (at >= words.size()) return false;
    // "500ms" or "500 ms".
    const std::string& first = words[at];
    const std::size_t split = first.find_first_not_of("0123456789.");
    if (first.empty() || split == 0 || (split == std::string::npos && at + 1 >= words.size())) return false;
    const std::string unit = split == std::string::npos ? words[at + 1] : first.substr(split);
    const std::size_t count = split == std::string::npos ? 2 : 1;
    // Each unit's words and its milliseconds (0: frames).
    static const struct {
        const char* words;
        double ms;
    } kUnits[] = {{" frames frame f ", 0},
                  {" ms ", 1},
                  {" s sec second seconds ", 1000},
                  {" min minute minutes ", 60000}};
    const double value = std::atof(first.substr(0, split).c_str());
    for (const auto& u : kUnits) {
        if (std::string(u.words).find(" " + Lower(unit) + " ") == std::string::npos) continue;
        out->frames = u.ms == 0;
        out->amount = static_cast<long long>(u.ms == 0 ? value : value * u.ms + (u.ms > 1 ? 0.5 : 0.0));
        *used = count;
        return out->amount >= 0;
    }
    return false;
}

bool ParseWho(const std::vector<std::string>& words, std::size_t at, Who* out, std::size_t* used) {
    if (at >= words.size()) return false;
    const std::string w = Lower(words[at]);
    const bool none = w == "none" || w == "nobody" || w == "nothing";
    *used = 1;
    out->kind = none            ? Who::None
                : w == "player" ? Who::Player
                : w == "horse"  ? Who::Horse
                : w == "slot"   ? Who::Slot
                                : Who::Stranger;
    if (none || w == "player" || w == "horse") return true;
    if ((w != "slot" && w != "stranger") || at + 1 >= words.size() || !IsInteger(words[at + 1])) return false;
    out->number = std::atoi(words[at + 1].c_str());
    *used = 2;
    return out->kind == Who::Slot ? out->number >= 0 && out->number <= 6 : out->number >= 1;
}

bool ParseScenario(const std::string& text, const std::string& name, Scenario* out, std::string* error) {
    out->name = name;
    out->commands.clear();
    out->description.clear();
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string trimmed = Trim(raw);
        if (trimmed.empty()) continue;
        if (trimmed[0] == '#') {
            if (out->description.empty() && out->commands.empty()) out->description = Trim(trimmed.substr(1));
            continue;
        }
        std::vector<std::string> words;
        std::string message;
        std::size_t commentAt = 0;
        if (!SplitWords(trimmed, &words, &message, &commentAt))
            return Fail(error, std::to_string(line) + ": " + message);
        // The source without a trailing comment, for the transcript.
        const Command c{line, Trim(trimmed.substr(0, commentAt)), Lower(words[0]),
                        Words(words.begin() + 1, words.end())};
        if (!CheckCommand(c, &message)) return Fail(error, std::to_string(line) + ": " + message);
        out->commands.push_back(c);
    }
    return true;
}

bool LoadScenarioFile(const std::string& path, Scenario* out, std::string* error) {
    std::string text;
    if (!ReadTextFile(path, &text)) return Fail(error, "cannot read " + path);
    std::string message;
    if (!ParseScenario(text, std::filesystem::path(path).stem().string(), out, &message))
        return Fail(error, path + ":" + message);
    out->path = path;
    return true;
}

}  // namespace sim
