// The custom ped list: the names the plug-in's own reader takes, each with the
// line it stands on, and the lines it leaves out.
#include <string>
#include <vector>

#include "persist/custom_peds.h"
#include "report.h"

namespace {

constexpr const char* END_OF_LIST = "END_LIST";
constexpr std::size_t MAX_IGNORED_LINES_SHOWN = 10;

// The file's lines as a text-mode read gives them: a CR before the LF is
// dropped, a Ctrl-Z ends the file.
std::vector<std::string> Lines(const std::string& content) {
    std::vector<std::string> lines;
    std::string current;
    bool any = false;
    for (char c : content) {
        if (c == '\x1A') break;
        any = true;
        if (c == '\n') {
            if (!current.empty() && current.back() == '\r') current.pop_back();
            lines.push_back(current);
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    if (any) lines.push_back(current);
    return lines;
}

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
    if (Upper(trimmed) == END_OF_LIST) {
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
    std::string content;
    if (ReadForCheck(report, CUSTOM_PEDS_FILE_NAME, content,
                     "not found: the Custom list page has no models") != FileState::Read) {
        LoadCustomPedList();
        return;
    }

    // The names are the plug-in's own reading; the lines only say where they stand.
    LoadCustomPedList();
    const std::vector<std::string>& names = customPedNames;
    const std::vector<std::string> lines = Lines(content);
    if (lines.empty()) {
        Warning(report, "the file is empty: the Custom list page has no models");
        return;
    }

    const std::string header = lines[0];
    if (header == END_OF_LIST) {
        Line(report, "line 1 is END_LIST: the list is empty");
    } else if (InCatalogue(Trimmed(header))) {
        Warning(report, "line 1 " + Quote(header) +
                            " is a model name, but line 1 is the title line and never "
                            "becomes a name: put a title above it");
    } else {
        Line(report, "line 1 is the title line: " + Quote(header));
    }

    std::size_t row = 0;
    std::size_t endLine = 0;  // the END_LIST line (1-based), 0 when there is none
    if (header == END_OF_LIST) {
        endLine = 1;
    } else {
        for (std::size_t i = 1; i < lines.size(); ++i) {
            if (lines[i] == END_OF_LIST) {
                endLine = i + 1;
                break;
            }
            if (lines[i].empty()) continue;
            if (row < names.size() && names[row] == lines[i]) {
                CheckName(report, static_cast<int>(row), static_cast<int>(i + 1), names[row], names);
            }
            ++row;
        }
    }
    if (row != names.size() && endLine != 1) {
        Warning(report, "the plug-in reads " + std::to_string(names.size()) + " names here, " +
                            std::to_string(row) + " lines were expected");
    }
    if (names.empty()) {
        Line(report, "no models on the Custom list page");
    } else {
        Line(report, std::to_string(names.size()) + (names.size() == 1 ? " model" : " models") +
                         " on the Custom list page, rows 0 to " + std::to_string(names.size() - 1));
    }

    if (endLine == 0) {
        Warning(report, "no END_LIST line: the whole file is read as names, to its end");
        return;
    }
    std::size_t shown = 0, ignored = 0;
    for (std::size_t i = endLine; i < lines.size(); ++i) {
        if (Trimmed(lines[i]).empty()) continue;
        ++ignored;
        if (shown < MAX_IGNORED_LINES_SHOWN) {
            ++shown;
            Warning(report, "line " + std::to_string(i + 1) + " " + Quote(lines[i]) +
                                " comes after END_LIST (line " + std::to_string(endLine) +
                                "): the plug-in does not read it");
        }
    }
    if (ignored > shown) {
        Warning(report, std::to_string(ignored - shown) + " more lines after END_LIST are not read");
    }
}
