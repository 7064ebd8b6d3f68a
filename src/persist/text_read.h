// Reading the plug-in's text files byte by byte with the C library. Both
// builds open them in binary mode and honour here the one rule of a Windows
// text-mode read that matters to them: a Ctrl-Z byte ends the file.
#pragma once

#include <cstdio>

constexpr int CTRL_Z = 0x1A;

// The next byte of `file`, or EOF at the end of the file or at a Ctrl-Z. The
// Ctrl-Z is put back, so every later read meets it too.
inline int ReadTextChar(std::FILE* file) {
    const int c = std::fgetc(file);
    if (c != CTRL_Z) return c;
    std::ungetc(c, file);
    return EOF;
}
