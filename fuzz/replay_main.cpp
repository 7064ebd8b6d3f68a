// A plain main for a fuzz target, for compilers without libFuzzer: runs the
// target's entry once on each input. Arguments are files, or folders whose
// files (not those starting with a dot) are all run, in name order; a folder
// that does not exist holds nothing. Every input is read before the target's
// initialisation, which moves into a private working folder.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::pair<std::string, std::string>> inputs;  // name, bytes
    for (int i = 1; i < argc; ++i) {
        const fs::path arg = argv[i];
        if (fs::is_directory(arg)) {
            std::vector<fs::path> files;
            for (const auto& e : fs::directory_iterator(arg)) {
                if (e.is_regular_file() && e.path().filename().string()[0] != '.') files.push_back(e.path());
            }
            std::sort(files.begin(), files.end());
            for (const fs::path& f : files) inputs.emplace_back(f.string(), ReadAll(f));
        } else if (fs::is_regular_file(arg)) {
            inputs.emplace_back(arg.string(), ReadAll(arg));
        }
    }

    LLVMFuzzerInitialize(&argc, &argv);
    for (const auto& [name, bytes] : inputs) {
        std::printf("replaying %s (%zu bytes)\n", name.c_str(), bytes.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return 0;
}
