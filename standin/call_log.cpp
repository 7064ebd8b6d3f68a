#include "call_log.h"

#include <cstdio>
#include <cstdlib>

#include "natives.h"

namespace standin {

CallLog& GetCallLog() {
    // Never destroyed: the script thread may still log while the process exits.
    static CallLog* log = new CallLog();
    return *log;
}

std::vector<const Call*> CallLog::Since(std::size_t mark, const char* name) const {
    std::vector<const Call*> out;
    for (std::size_t i = mark; i < calls.size(); ++i) {
        if (!name || calls[i].Is(name)) out.push_back(&calls[i]);
    }
    return out;
}

std::vector<std::string> CallLog::NamesSince(std::size_t mark) const {
    std::vector<std::string> out;
    for (std::size_t i = mark; i < calls.size(); ++i) out.push_back(calls[i].name);
    return out;
}

namespace {

std::string Number(std::uint64_t slot) {
    return std::to_string(static_cast<std::int64_t>(slot));
}

}  // namespace

std::string FloatText(float f) {
    char buf[32];
    for (int digits = 6; digits <= 9; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*g", digits, static_cast<double>(f));
        if (std::strtof(buf, nullptr) == f) break;
    }
    return buf;
}

std::string CallLog::Describe(const Call& call, const std::map<std::uint64_t, std::string>& texts) {
    const NativeInfo* info = call.hash ? FindNative(call.hash) : nullptr;
    std::string out = std::string(call.name) + "(";
    for (std::size_t i = 0; i < call.args.size(); ++i) {
        if (i) out += ", ";
        const bool fixed = info && i < static_cast<std::size_t>(info->fixedArgs);
        const char kind = fixed ? info->signature[i] : 'i';
        const bool hasText = i < call.strings.size() && !call.strings[i].empty();
        const std::uint64_t slot = call.args[i];
        const auto text = texts.find(slot);
        if (!fixed && !hasText && text != texts.end()) {
            out += "T\"" + text->second + "\"";
        } else if (kind == 's' || (!fixed && hasText)) {
            out += hasText ? "\"" + call.strings[i] + "\"" : std::string("null");
        } else if (kind == 'f') {
            out += slot >> 32 ? "bad-float:" + Number(slot) : FloatText(SlotFloat(slot));
        } else if (kind == 'o' || kind == 'v') {
            out += slot ? "&" : "null";
        } else if (kind == 't') {
            out += text == texts.end() ? std::string("T?") : "T\"" + text->second + "\"";
        } else {
            out += Number(slot);
        }
    }
    return out + ")";
}

std::vector<std::string> CallLog::DescribeSince(std::size_t mark) const {
    std::map<std::uint64_t, std::string> texts;
    std::vector<std::string> out;
    for (std::size_t i = mark; i < calls.size(); ++i) {
        const Call& c = calls[i];
        out.push_back(Describe(c, texts));
        // A text made from another one reads as its kind around that one, e.g. COLOR_STRING(text).
        if (c.Is("CreateVarString") && c.strings.size() > 2) {
            texts[c.result[0]] = !c.strings[2].empty() || c.args.size() < 4
                                     ? c.strings[2]
                                     : c.strings[1] + "(" + texts[c.args[3]] + ")";
        }
    }
    return out;
}

}  // namespace standin
