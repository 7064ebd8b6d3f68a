// On Linux the settings are read by the stand-in's GetPrivateProfileIntA
// reading, which behaves as the Windows function does.
#include "host/platform.h"
#include "profile.h"

UINT GetPrivateProfileIntA(const char* section, const char* key, int defaultValue, const char* fileName) {
    return standin::ProfileIntFromFile(fileName, section, key, defaultValue);
}
