// GetTickCount for the Linux build (GetPrivateProfileIntA is in profile.cpp).
#include "host/platform.h"
#include "world.h"

DWORD GetTickCount() {
    return standin::GetWorld().tickCount;
}
