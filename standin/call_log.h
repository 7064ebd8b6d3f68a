// Every call the plug-in makes into the host: game functions with their hash,
// name, raw 64-bit argument slots, copies of their string arguments and their
// result, and the host's own functions (scriptWait, registration).
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace standin {

// A 64-bit argument or result slot as the game reads an int or a float: from its low four bytes.
inline std::int32_t SlotInt(std::uint64_t slot) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(slot));
}
inline float SlotFloat(std::uint64_t slot) {
    const std::uint32_t bits = static_cast<std::uint32_t>(slot);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

struct Call {
    int frame = 0;
    std::uint64_t hash = 0;  // 0 for a host function
    const char* name = "";
    std::vector<std::uint64_t> args;
    std::vector<std::string> strings;  // per argument: a copy of the text for string arguments
    std::uint64_t result[3] = {0, 0, 0};

    std::int32_t I(std::size_t i) const { return SlotInt(args.at(i)); }
    float F(std::size_t i) const { return SlotFloat(args.at(i)); }
    const std::string& S(std::size_t i) const { return strings.at(i); }
    std::int32_t ResultInt() const { return SlotInt(result[0]); }
    bool Is(const char* n) const { return std::strcmp(name, n) == 0; }
};

struct CallLog {
    bool enabled = true;  // off in the lean mode the benchmarks use
    std::vector<Call> calls;

    std::size_t Mark() const { return calls.size(); }
    void Clear() { calls.clear(); }
    // Calls since `mark`, optionally only those named `name`.
    std::vector<const Call*> Since(std::size_t mark, const char* name = nullptr) const;
    std::vector<const Call*> Named(const char* name) const { return Since(0, name); }
    std::vector<std::string> NamesSince(std::size_t mark) const;
    // One line per call since `mark`, as Describe writes it; a text handle reads
    // T"text" when a CreateVarString in the same range made it (a colour string
    // of it reads T"COLOR_STRING(text)").
    std::vector<std::string> DescribeSince(std::size_t mark) const;
    // A readable line for one call: the name and the arguments as the game saw
    // them: ints as their 64-bit slot (so a zero-extended -1 reads 4294967295
    // and a sign-extended one -1), floats as the shortest text that reads back
    // to the same float, strings quoted, out-pointers "&", text handles as
    // T"text" when `texts` knows them. Host calls show too, e.g. "scriptWait(0)".
    static std::string Describe(const Call& call, const std::map<std::uint64_t, std::string>& texts = {});
};

CallLog& GetCallLog();

// A float as Describe writes it: the shortest text that reads back to it.
std::string FloatText(float f);

}  // namespace standin
