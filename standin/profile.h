// The stand-in's GetPrivateProfileIntA, behaving as the Windows function does on
// what a user may write into an ini file:
// - section and key names compare without regard to case; the first matching
//   section and, within it, the first matching key win;
// - lines end with LF, CRLF or CR; spaces and tabs around names and values are
//   trimmed; a value wrapped in matching single or double quotes loses them;
// - the value is an optional sign then decimal digits up to the first other
//   character ("102abc" gives 102, "5 ; note" gives 5); a present value with no
//   digits gives 0, not the default; the result wraps modulo 2^32;
// - an empty value, a missing key, section or file gives the default;
// - a name starting with ".\" is a file in the current directory; any other
//   name is taken as a path as it stands (the real function would look in the
//   Windows folder for a bare name).
// On Linux this file also defines GetPrivateProfileIntA itself, for the plug-in
// on the stand-in and for the file checker; on Windows both use KERNEL32's.
#pragma once

#include <string>
#include <vector>

namespace standin {

// An ini file's lines, ended by LF, CRLF or CR, as the Windows reader splits them.
std::vector<std::string> IniLines(const std::string& content);
// `s` without the spaces and tabs around it, as names and values are read.
std::string Trim(const std::string& s);
// Whether two names are the same without regard to letter case.
bool SameName(const std::string& a, const char* b);

unsigned int ProfileInt(const std::string& content, const char* section, const char* key, int defaultValue);
unsigned int ProfileIntFromFile(const char* fileName, const char* section, const char* key, int defaultValue);

}  // namespace standin
