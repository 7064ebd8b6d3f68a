// The two Windows functions the plug-in calls, for the Linux build.
#include "host/platform.h"
#include "profile.h"
#include "world.h"

DWORD GetTickCount() {
    return standin::GetWorld().tickCount;
}

UINT GetPrivateProfileIntA(const char* section, const char* key, int defaultValue, const char* fileName) {
    return standin::ProfileIntFromFile(fileName, section, key, defaultValue);
}
