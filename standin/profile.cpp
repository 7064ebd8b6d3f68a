#include "profile.h"

#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>

#if !defined(_WIN32)
#include "host/platform.h"
#endif

namespace standin {

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

bool SameName(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

namespace {

unsigned int ParseValue(const std::string& raw) {
    std::string v = raw;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    std::size_t i = 0;
    bool negative = false;
    if (i < v.size() && (v[i] == '+' || v[i] == '-')) negative = v[i++] == '-';
    std::uint32_t n = 0;
    for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i)
        n = n * 10u + static_cast<std::uint32_t>(v[i] - '0');
    return negative ? 0u - n : n;
}

}  // namespace

std::vector<std::string> IniLines(const std::string& content) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

unsigned int ProfileInt(const std::string& content, const char* section, const char* key, int defaultValue) {
    const unsigned int fallback = static_cast<unsigned int>(defaultValue);
    bool inSection = false, sectionSeen = false;
    for (const std::string& rawLine : IniLines(content)) {
        const std::string line = Trim(rawLine);
        if (!line.empty() && line[0] == '[') {
            if (inSection) break;  // only the first matching section is read
            const std::size_t close = line.find(']');
            const std::string name =
                Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            inSection = !sectionSeen && SameName(name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection || line.empty() || line[0] == ';') continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (!SameName(Trim(line.substr(0, eq)), key)) continue;
        const std::string value = Trim(line.substr(eq + 1));
        return value.empty() ? fallback : ParseValue(value);
    }
    return fallback;
}

unsigned int ProfileIntFromFile(const char* fileName, const char* section, const char* key,
                                int defaultValue) {
    std::string path = fileName ? fileName : "";
    if (path.size() >= 2 && path[0] == '.' && path[1] == '\\') path = "./" + path.substr(2);
    std::ifstream in(path, std::ios::binary);
    if (!in) return static_cast<unsigned int>(defaultValue);
    const std::string content{std::istreambuf_iterator<char>(in), {}};
    return ProfileInt(content, section, key, defaultValue);
}

}  // namespace standin

#if !defined(_WIN32)
// The Windows function, for the Linux builds of the plug-in and the file checker.
UINT GetPrivateProfileIntA(const char* section, const char* key, int defaultValue, const char* fileName) {
    return standin::ProfileIntFromFile(fileName, section, key, defaultValue);
}
#endif
