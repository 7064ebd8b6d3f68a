#include "script_calls.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

#include "driver.h"
#include "natives.h"
#include "roster/roster.h"
#include "world.h"

namespace {

std::string Number(std::uint64_t slot) {
    return std::to_string(static_cast<std::int64_t>(slot));
}

std::string Float(std::uint64_t slot) {
    if (slot >> 32) return "bad-float:" + Number(slot);
    const std::uint32_t bits = static_cast<std::uint32_t>(slot);
    float f;
    std::memcpy(&f, &bits, 4);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", static_cast<double>(f));
    return buf;
}

std::string Render(const standin::Call& call, const std::map<std::uint64_t, std::string>& texts) {
    const standin::NativeInfo* info = call.hash ? standin::FindNative(call.hash) : nullptr;
    const char* signature = info ? info->signature : "";
    std::string out = std::string(call.name) + "(";
    bool fixed = true;
    for (std::size_t i = 0; i < call.args.size(); ++i) {
        if (i) out += ", ";
        char kind = 'i';
        if (fixed && signature[i] != '\0' && signature[i] != '*')
            kind = signature[i];
        else
            fixed = false;
        const bool hasText = i < call.strings.size() && !call.strings[i].empty();
        const std::uint64_t slot = call.args[i];
        if (kind == 's' || (!fixed && hasText)) {
            out += hasText ? "\"" + call.strings[i] + "\"" : std::string("null");
        } else if (kind == 'f') {
            out += Float(slot);
        } else if (kind == 'o' || kind == 'v') {
            out += slot ? "&" : "null";
        } else if (kind == 't') {
            auto it = texts.find(slot);
            out += it == texts.end() ? std::string("T?") : "T\"" + it->second + "\"";
        } else {
            out += Number(slot);
        }
    }
    return out + ")";
}

}  // namespace

std::string RenderCall(const standin::Call& call) {
    return Render(call, {});
}

std::vector<std::string> CallsSince(std::size_t mark) {
    std::map<std::uint64_t, std::string> texts;
    std::vector<std::string> out;
    for (const standin::Call* c : standin::GetCallLog().Since(mark)) {
        out.push_back(Render(*c, texts));
        if (c->Is("CreateVarString") && c->strings.size() > 2) texts[c->result[0]] = c->strings[2];
    }
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
