#include "call_log.h"

#include <algorithm>
#include <cstdio>

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

std::vector<const Call*> CallLog::SinceExcept(std::size_t mark, const std::vector<std::string>& names) const {
    std::vector<const Call*> out;
    for (std::size_t i = mark; i < calls.size(); ++i) {
        if (std::find(names.begin(), names.end(), calls[i].name) == names.end()) out.push_back(&calls[i]);
    }
    return out;
}

std::string CallLog::Describe(const Call& call) {
    std::string s = "[" + std::to_string(call.frame) + "] " + call.name + "(";
    for (std::size_t i = 0; i < call.args.size(); ++i) {
        if (i) s += ", ";
        if (i < call.strings.size() && !call.strings[i].empty()) {
            s += "\"" + call.strings[i] + "\"";
        } else {
            char buf[32];
            std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(call.args[i]));
            s += buf;
        }
    }
    char buf[48];
    std::snprintf(buf, sizeof buf, ") -> 0x%llx", static_cast<unsigned long long>(call.result[0]));
    return s + buf;
}

}  // namespace standin
