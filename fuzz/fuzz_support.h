// What every fuzz target shares: a private working folder (the plug-in opens
// its files by bare name in the current folder), writing an input into a file
// there, and a loud failure that libFuzzer and the replay both report.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fuzzsupport {

// Moves into a fresh folder under the system's temporary folder, removed again
// when the process exits normally. Call once, before the first input.
inline void EnterPrivateFolder() {
    static std::string folder;
    if (!folder.empty()) return;
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrossimer-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    folder = pattern;
    std::filesystem::current_path(folder);
    std::atexit([] {
        std::error_code ec;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
        std::filesystem::remove_all(folder, ec);
    });
}

inline void WriteFile(const char* name, const std::string& content) {
    std::FILE* f = std::fopen(name, "wb");
    if (f == nullptr) {
        std::perror(name);
        std::abort();
    }
    if (!content.empty() && std::fwrite(content.data(), 1, content.size(), f) != content.size()) std::abort();
    std::fclose(f);
}

inline std::string ReadFile(const char* name) {
    std::string out;
    std::FILE* f = std::fopen(name, "rb");
    if (f == nullptr) return out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return out;
}

inline bool Exists(const char* name) {
    return std::filesystem::exists(name);
}

inline void Remove(const char* name) {
    std::remove(name);
}

// A broken property: printed, then abort, which libFuzzer saves as a crash.
[[noreturn]] inline void Fail(const std::string& what) {
    std::fprintf(stderr, "FUZZ PROPERTY BROKEN: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

inline void Expect(bool ok, const std::string& what) {
    if (!ok) Fail(what);
}

// The names a custom ped list holds, read independently of the plug-in: lines end
// at LF (a CR right before it is dropped), line 1 is a header, empty lines are
// skipped and a line of exactly "END_LIST" ends the list. A Ctrl-Z byte ends the
// text, as in a Windows text-mode read.
inline std::vector<std::string> CustomListNames(const std::string& whole) {
    const std::string text = whole.substr(0, whole.find('\x1A'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            if (start < text.size()) lines.push_back(text.substr(start));
            break;
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    std::vector<std::string> names;
    if (lines.empty() || lines[0] == "END_LIST") return names;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i] == "END_LIST") break;
        if (!lines[i].empty()) names.push_back(lines[i]);
    }
    return names;
}

}  // namespace fuzzsupport
