#include "script_calls.h"

#include <algorithm>
#include <cstdlib>

#include "driver.h"
#include "natives.h"
#include "roster/roster.h"
#include "world.h"

std::vector<std::string> CallsSince(std::size_t mark) {
    return standin::GetCallLog().DescribeSince(mark);
}

std::vector<std::string> CallsNamed(std::size_t mark, const std::vector<std::string>& names) {
    std::vector<std::string> out;
    for (const std::string& line : CallsSince(mark)) {
        if (std::find(names.begin(), names.end(), line.substr(0, line.find('('))) != names.end())
            out.push_back(line);
    }
    return out;
}

std::vector<std::string> CallsOn(std::size_t mark, const std::string& name, std::int32_t handle) {
    std::vector<std::string> out;
    for (const std::string& line : CallsNamed(mark, {name})) {
        // The first argument: from the '(' to the first ',' or the ')'.
        const std::size_t begin = line.find('(') + 1;
        const std::string first = line.substr(begin, line.find_first_of(",)", begin) - begin);
        char* end = nullptr;
        const long long value = std::strtoll(first.c_str(), &end, 10);
        if (!first.empty() && *end == '\0' &&
            static_cast<std::int32_t>(static_cast<std::uint32_t>(value)) == handle)
            out.push_back(line);
    }
    return out;
}

std::vector<std::string> GameCallsSince(std::size_t mark, int from) {
    const std::vector<standin::Call>& calls = standin::GetCallLog().calls;
    const std::vector<std::string> lines = CallsSince(mark);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (calls[mark + i].hash != 0) out.push_back(lines[i]);
    }
    out.erase(out.begin(), out.begin() + std::min(static_cast<std::size_t>(std::max(from, 0)), out.size()));
    return out;
}

std::vector<std::string> ExpectedCalls(const std::string& text,
                                       const std::vector<std::pair<std::string, std::string>>& values) {
    std::string all = text;
    for (const auto& [key, value] : values) {
        for (std::size_t at = all.find(key); at != std::string::npos; at = all.find(key, at + value.size()))
            all.replace(at, key.size(), value);
    }
    std::vector<std::string> out;
    std::size_t begin = 0;
    while (begin <= all.size()) {
        std::size_t end = std::min(all.find("; ", begin), all.find('\n', begin));
        if (end == std::string::npos) end = all.size();
        const std::size_t first = all.find_first_not_of(" \t", begin);
        if (first < end) out.push_back(all.substr(first, all.find_last_not_of(" \t", end - 1) - first + 1));
        begin = end + (all.compare(end, 2, "; ") == 0 ? 2 : 1);
    }
    return out;
}

std::string Z(std::uint32_t value) {
    return std::to_string(value);
}
std::string Floats(std::initializer_list<float> values) {
    std::string out;
    for (float f : values) out += (out.empty() ? "" : ", ") + standin::FloatText(f);
    return out;
}
std::string ZHash(const char* name) {
    return Z(standin::GameHash(name));
}

int HireOnScript(int category, int modelIndex, int outfit, int sidearm, int secondSidearm, int longarm,
                 float x, float y, float z) {
    int slot = -2;
    standin::RunOnScript([&] {
        slot = HireBodyguard(category, modelIndex, outfit, sidearm, secondSidearm, longarm, x, y, z);
    });
    return slot;
}
