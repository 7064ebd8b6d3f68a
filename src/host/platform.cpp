#include "host/platform.h"

#include <cstdio>

bool ReplaceFileAtomically(const char* source, const char* target) {
#if defined(_WIN32)
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(source, target) == 0;
#endif
}
