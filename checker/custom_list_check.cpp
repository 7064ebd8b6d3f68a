// The custom ped list: the names the plug-in's own reader takes, each with the
// line it stands on, and the lines it leaves out.
#include <cstdio>
#include <string>
#include <vector>

#include "persist/custom_peds.h"
#include "report.h"

namespace {

constexpr std::size_t MAX_IGNORED_LINES_SHOWN = 10;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string Trimmed(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

void CheckName(Report& report, int row, int line, const std::string& name,
               const std::vector<std::string>& names) {
    const std::string at =
        "row " + std::to_string(row) + " (line " + std::to_string(line) + ") " + Quote(name);
    const std::string trimmed = Trimmed(name);
    if (Upper(trimmed) == CUSTOM_LIST_END) {
        Problem(report, at +
                            " is not exactly END_LIST (capitals, nothing else on the line): it is taken as a "
                            "model name and the list goes on");
        return;
    }
    if (trimmed != name) {
        std::string text = at +
                           " has stray spaces or tabs: the game looks the name up with them and finds no "
                           "model (the page shows ERROR: InvalidModel)";
        if (InCatalogue(trimmed)) text += "; without them it is a known model";
        Problem(report, text);
        return;
    }
    for (int earlier = 0; earlier < row; ++earlier) {
        if (Upper(names[earlier]) == Upper(name)) {
            Line(report, at + ": the same model as row " + std::to_string(earlier));
            return;
        }
    }
    if (!InCatalogue(name)) {
        Warning(report,
                at + " is not in the plug-in's model lists: the game knows more models than those, but "
                     "if it does not know this one the page shows ERROR: InvalidModel");
        return;
    }
    Line(report, at);
}

}  // namespace

void CheckCustomList(Report& report) {
    Heading(report, std::string(CUSTOM_PEDS_FILE_NAME) + " (the menu's \"Custom list\" page)");
    // What the plug-in holds, which the save file's check needs too.
    LoadCustomPedList();
    std::string content;
    if (ReadForCheck(report, CUSTOM_PEDS_FILE_NAME, content,
                     "not found: the Custom list page has no models") != FileState::Read) {
        return;
    }

    // The same reading again, for where each name stands.
    std::FILE* file = std::fopen(CUSTOM_PEDS_FILE_NAME, "rb");
    if (file == nullptr) return;
    std::string header;
    if (!ReadCustomListLine(file, header)) {
        std::fclose(file);
        Warning(report, "the file is empty: the Custom list page has no models");
        return;
    }
    std::rewind(file);
    std::vector<std::string> names;
    std::vector<int> nameLines;
    const int endLine = ReadCustomPedNames(file, names, &nameLines);

    if (endLine == 1) {
        Line(report, "line 1 is END_LIST: the list is empty");
    } else if (InCatalogue(Trimmed(header))) {
        Warning(report, "line 1 " + Quote(header) +
                            " is a model name, but line 1 is the title line and never "
                            "becomes a name: put a title above it");
    } else {
        Line(report, "line 1 is the title line: " + Quote(header));
    }
    for (std::size_t row = 0; row < names.size(); ++row) {
        CheckName(report, static_cast<int>(row), nameLines[row], names[row], names);
    }
    if (names.empty()) {
        Line(report, "no models on the Custom list page");
    } else {
        Line(report, std::to_string(names.size()) + (names.size() == 1 ? " model" : " models") +
                         " on the Custom list page, rows 0 to " + std::to_string(names.size() - 1));
    }

    if (endLine == 0) {
        std::fclose(file);
        Warning(report, "no END_LIST line: the whole file is read as names, to its end");
        return;
    }
    // The reading stopped just after END_LIST: the rest of the file.
    std::size_t shown = 0, ignored = 0;
    std::string line;
    for (int number = endLine + 1; ReadCustomListLine(file, line); ++number) {
        if (Trimmed(line).empty()) continue;
        ++ignored;
        if (shown < MAX_IGNORED_LINES_SHOWN) {
            ++shown;
            Warning(report, "line " + std::to_string(number) + " " + Quote(line) +
                                " comes after END_LIST (line " + std::to_string(endLine) +
                                "): the plug-in does not read it");
        }
    }
    std::fclose(file);
    if (ignored > shown) {
        Warning(report, std::to_string(ignored - shown) + " more lines after END_LIST are not read");
    }
}
