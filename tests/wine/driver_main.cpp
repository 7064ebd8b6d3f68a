// The driver program of the Windows end-to-end run. It imports the stand-in's
// ScriptHookRDR2.dll, so the loader finds that module in the program's folder
// before anything else runs, and hands over to its scenario runner.
extern "C" __declspec(dllimport) int StandinWineMain(int argc, char** argv);

int main(int argc, char** argv) {
    return StandinWineMain(argc, argv);
}
