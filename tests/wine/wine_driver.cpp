// The scenario runner of the Windows end-to-end run: checks the plug-in's imports,
// then plays each scenario as a fresh load of Tavrossimer.asi from the working
// folder, and reports in the style of a test runner. Any crash ends the process
// with its own exit code instead of starting a debugger.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "wine_support.h"

namespace standin {

namespace {

const char* currentScenario = nullptr;
std::vector<std::string> failures;

HMODULE ThisModule() {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &self);
    return self;
}

// Names the module an address lies in, for the crash report.
std::string ModuleOf(const void* address) {
    HMODULE m = nullptr;
    char name[MAX_PATH] = "?";
    if (GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<LPCSTR>(address), &m) &&
        m) {
        GetModuleFileNameA(m, name, sizeof name);
        const char* base = std::strrchr(name, '\\');
        char buf[MAX_PATH + 32];
        std::snprintf(
            buf, sizeof buf, "%s+0x%llx", base ? base + 1 : name,
            static_cast<unsigned long long>(static_cast<const char*>(address) - reinterpret_cast<char*>(m)));
        return buf;
    }
    return "unknown module";
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* r = info->ExceptionRecord;
    std::printf("\nCRASH: exception 0x%08lx at %p (%s) during scenario %s\n", r->ExceptionCode,
                r->ExceptionAddress, ModuleOf(r->ExceptionAddress).c_str(),
                currentScenario ? currentScenario : "(none)");
    if (r->ExceptionCode == EXCEPTION_ACCESS_VIOLATION && r->NumberParameters >= 2)
        std::printf("       %s address 0x%llx\n", r->ExceptionInformation[0] ? "writing" : "reading",
                    static_cast<unsigned long long>(r->ExceptionInformation[1]));
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), kExitCrash);
    return EXCEPTION_EXECUTE_HANDLER;
}

bool Selected(const char* name, int argc, char** argv) {
    bool any = false;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-') continue;
        any = true;
        if (std::strstr(name, argv[i])) return true;
    }
    return !any;
}

}  // namespace

void RecordFailure(const char* file, int line, const std::string& what) {
    const char* base = std::strrchr(file, '/');
    std::ostringstream s;
    s << (base ? base + 1 : file) << ":" << line << ": " << what;
    failures.push_back(s.str());
    std::printf("    FAILED %s\n", s.str().c_str());
    std::fflush(stdout);
}

void Note(const std::string& text) {
    std::printf("    %s\n", text.c_str());
    std::fflush(stdout);
}

void WriteFile(const char* name, const std::string& content) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) RecordFailure(__FILE__, __LINE__, std::string("cannot write ") + name);
}

std::string ReadFile(const char* name, bool* exists) {
    std::ifstream in(name, std::ios::binary);
    if (exists) *exists = static_cast<bool>(in);
    if (!in) return std::string();
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void RemoveFile(const char* name) {
    DeleteFileA(name);
}

void ClearGameFolder() {
    for (const char* f :
         {"Tavrossimer.ini", "Tavrossimer_CustomPeds.txt", "Tavrossimer.dat", "Tavrossimer.dat.tmp"})
        RemoveFile(f);
}

}  // namespace standin

using namespace standin;

// Entry point for the driver program. Arguments: scenario name filters (a
// scenario runs when its name contains any of them), or --list.
extern "C" int StandinWineMain(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(OnUnhandledException);
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--list") == 0) {
            for (const Scenario& s : Scenarios()) std::printf("%s\n", s.name);
            return kExitPassed;
        }
        if (argv[i][0] == '-') {
            std::printf("usage: %s [--list] [scenario-name-part...]\n", argv[0]);
            return kExitUsage;
        }
    }

    // The module the plug-in will bind to must be this one, found by the
    // loader's own search from the working folder.
    HMODULE host = GetModuleHandleA("ScriptHookRDR2.dll");
    if (host != ThisModule()) {
        std::printf("ScriptHookRDR2.dll in this process is not the stand-in host\n");
        return kExitImports;
    }

    std::string report;
    const bool importsOk = CheckPluginImports(kPluginPath, &report);
    std::printf("Imports of %s:\n%s", kPluginFileName, report.c_str());
    if (!importsOk) {
        std::printf("FAILED: %s has imports the loader cannot resolve\n", kPluginFileName);
        return kExitImports;
    }

    int run = 0, failed = 0;
    std::vector<std::string> failedNames;
    for (const Scenario& s : Scenarios()) {
        if (!Selected(s.name, argc, argv)) continue;
        ++run;
        currentScenario = s.name;
        failures.clear();
        std::printf("[ RUN      ] %s\n", s.name);
        const DWORD started = GetTickCount();
        ClearGameFolder();
        ResetWorld();
        try {
            s.run();
        } catch (const ScenarioAbort&) {
        }
        if (PluginLoaded()) EndGame();
        if (GetModuleHandleA(kPluginFileName) != nullptr)
            RecordFailure(__FILE__, __LINE__, "Tavrossimer.asi is still loaded after the scenario");
        const DWORD took = GetTickCount() - started;
        if (failures.empty()) {
            std::printf("[       OK ] %s (%lu ms)\n", s.name, took);
        } else {
            ++failed;
            failedNames.push_back(s.name);
            std::printf("[  FAILED  ] %s (%lu ms)\n", s.name, took);
        }
        currentScenario = nullptr;
    }
    ClearGameFolder();

    std::printf("%d scenarios run, %d passed, %d failed\n", run, run - failed, failed);
    for (const std::string& n : failedNames) std::printf("  FAILED: %s\n", n.c_str());
    if (run == 0) {
        std::printf("no scenario matched\n");
        return kExitUsage;
    }
    return failed ? kExitScenarioFailed : kExitPassed;
}
