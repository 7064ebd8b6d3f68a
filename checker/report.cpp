#include "report.h"

#include <sys/stat.h>

#include <cstdio>

#include "catalog/catalog.h"
#include "profile.h"

void Heading(Report& report, const std::string& text) {
    std::fprintf(report.out, "\n%s\n", text.c_str());
}

void Line(Report& report, const std::string& text) {
    std::fprintf(report.out, "  %s\n", text.c_str());
}

void Warning(Report& report, const std::string& text) {
    ++report.warnings;
    std::fprintf(report.out, "  warning: %s\n", text.c_str());
}

void Problem(Report& report, const std::string& text) {
    ++report.problems;
    std::fprintf(report.out, "  PROBLEM: %s\n", text.c_str());
}

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

bool InCatalogue(const std::string& name) {
    // The game hashes a model name without regard to letter case.
    for (int category = 0; category < CATEGORY_CUSTOM; ++category) {
        const ModelList& list = modelCatalogue[category];
        for (int row = 0; row < list.count; ++row) {
            if (standin::SameName(name, list.names[row])) return true;
        }
    }
    return false;
}

static bool ReadWholeFile(const char* name, std::string& content, bool& unreadable) {
    unreadable = false;
    std::FILE* file = std::fopen(name, "rb");
    if (file == nullptr) {
        // Not there at all, or there but closed to us.
        struct stat info;
        unreadable = stat(name, &info) == 0;
        return false;
    }
    content.clear();
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, n);
    unreadable = std::ferror(file) != 0;
    std::fclose(file);
    return !unreadable;
}

FileState ReadForCheck(Report& report, const char* name, std::string& content, const char* missingLine) {
    bool unreadable = false;
    if (ReadWholeFile(name, content, unreadable)) return FileState::Read;
    content.clear();
    if (unreadable) {
        report.unreadable = true;
        Problem(report, "the file is there but cannot be read");
        return FileState::Unreadable;
    }
    Line(report, missingLine);
    return FileState::Missing;
}

int CheckGameFolder(Report& report) {
    CheckSettings(report);
    CheckCustomList(report);
    CheckSaveFile(report);

    std::fprintf(report.out, "\n");
    if (report.problems == 0 && report.warnings == 0 && !report.unreadable) {
        std::fprintf(report.out, "Nothing to report: the plug-in will read these files as they are meant.\n");
    } else {
        std::fprintf(report.out, "%d problem%s, %d warning%s.\n", report.problems,
                     report.problems == 1 ? "" : "s", report.warnings, report.warnings == 1 ? "" : "s");
    }
    if (report.unreadable) return 2;
    return report.problems + report.warnings > 0 ? 1 : 0;
}
