#include "workdir.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "keys.h"
#include "persist/custom_peds.h"
#include "persist/save_file.h"

namespace fs = std::filesystem;

namespace sim {

namespace {

// The sample custom list's first line, which the plug-in skips.
std::string CustomListHeader() {
    const std::string sample = ShippedCustomListText();
    return sample.substr(0, sample.find('\n'));
}

bool ChangeInto(const fs::path& dir, bool temporary, WorkDir* out, std::string* error) {
    std::error_code ec;
    out->previousCwd = fs::current_path(ec).string();
    out->path = fs::absolute(dir, ec).lexically_normal().string();
    fs::current_path(out->path, ec);
    if (ec) return Fail(error, "cannot change into " + out->path + ": " + ec.message());
    out->temporary = temporary;
    return true;
}

// The settings file and the sample custom list, when missing: the shipped ones.
void SeedMissingFiles() {
    const std::pair<const char*, const char*> files[] = {{INI_FILE, ShippedSettingsText()},
                                                         {CUSTOM_PEDS_FILE_NAME, ShippedCustomListText()}};
    for (const auto& [name, text] : files) {
        if (!fs::exists(name)) WriteTextFile(name, text);
    }
}

}  // namespace

bool OpenWorkDir(const std::string& dir, bool fresh, WorkDir* out, std::string* error) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir))
        return Fail(error, "cannot make the working folder " + dir + (ec ? ": " + ec.message() : ""));
    if (!ChangeInto(dir, false, out, error)) return false;
    if (fresh) {
        for (const char* f : {INI_FILE, SAVE_FILE_NAME, CUSTOM_PEDS_FILE_NAME}) fs::remove(f, ec);
    }
    SeedMissingFiles();
    return true;
}

bool OpenTemporaryWorkDir(WorkDir* out, std::string* error) {
    std::string pattern = (fs::temp_directory_path() / "tavrossimer-sim-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return Fail(error, "cannot make a temporary working folder");
    return ChangeInto(pattern, true, out, error);
}

void CloseWorkDir(WorkDir& dir, bool keep) {
    std::error_code ec;
    if (!dir.previousCwd.empty()) fs::current_path(dir.previousCwd, ec);
    if (dir.temporary && !keep && !dir.path.empty()) fs::remove_all(dir.path, ec);
    dir.temporary = false;
}

bool SplitAssignment(const std::string& text, std::string* key, std::string* value) {
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos) return false;
    *key = Trim(text.substr(0, eq));
    *value = Trim(text.substr(eq + 1));
    return !key->empty();
}

void SetIniValue(const std::string& key, const std::string& value) {
    std::string content;
    ReadTextFile(INI_FILE, &content);
    std::vector<std::string> lines;
    std::istringstream in(content);
    for (std::string line; std::getline(in, line);)
        lines.push_back(!line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line);
    const std::string newLine = key + "=" + value;
    // The [SETTINGS] section runs from its heading to the next heading.
    int sectionStart = -1, sectionEnd = static_cast<int>(lines.size());
    bool replaced = false;
    for (int i = 0; i < sectionEnd; ++i) {
        const std::string t = Trim(lines[i]);
        std::string k, v;
        if (!t.empty() && t[0] == '[') {
            if (sectionStart >= 0) sectionEnd = i;
            if (sectionStart < 0 && Lower(t) == "[settings]") sectionStart = i;
        } else if (sectionStart >= 0 && t[0] != ';' && SplitAssignment(t, &k, &v) && Lower(k) == Lower(key)) {
            lines[i] = newLine;
            replaced = true;
        }
    }
    if (sectionStart < 0) {
        lines.push_back("[SETTINGS]");
        lines.push_back(newLine);
    } else if (!replaced) {
        // After the section's last non-empty line.
        while (sectionEnd > sectionStart + 1 && Trim(lines[sectionEnd - 1]).empty()) --sectionEnd;
        lines.insert(lines.begin() + sectionEnd, newLine);
    }
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    WriteTextFile(INI_FILE, out);
}

void WriteCustomList(const std::vector<std::string>& names) {
    std::string out = CustomListHeader() + "\n";
    for (const std::string& n : names) out += n + "\n";
    out += "END_LIST\n";
    WriteTextFile(CUSTOM_PEDS_FILE_NAME, out);
}

bool WriteTextFile(const std::string& path, const std::string& content) {
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out << content);
}

bool ReadTextFile(const std::string& path, std::string* content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    content->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

std::string UserPath(const WorkDir& dir, const std::string& path) {
    const fs::path p(path);
    if (p.is_absolute() || dir.previousCwd.empty()) return path;
    return (fs::path(dir.previousCwd) / p).lexically_normal().string();
}

}  // namespace sim
