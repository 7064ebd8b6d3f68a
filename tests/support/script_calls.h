// Helpers for tests that run plug-in code on the script thread and compare the
// game calls it made against an expected list, one readable line per call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "call_log.h"

// Recorded calls as lines, each as standin::CallLog::Describe writes it.
using Transcript = std::vector<std::string>;

// One line per call since `mark` (standin::CallLog::Describe).
std::vector<std::string> CallsSince(std::size_t mark);
// The same, only the calls with one of the given names.
std::vector<std::string> CallsNamed(std::size_t mark, const std::vector<std::string>& names);
// The calls since `mark` named `name` whose first argument, as a 32-bit handle, is `handle`.
std::vector<std::string> CallsOn(std::size_t mark, const std::string& name, std::int32_t handle);
// The game's calls since `mark` (the host's, such as scriptWait, left out), from
// the one at position `from` among them on.
std::vector<std::string> GameCallsSince(std::size_t mark, int from = 0);

// An expected call list written as text: calls separated by "; " or line
// breaks, surrounding blanks ignored, each placeholder replaced by its value.
std::vector<std::string> ExpectedCalls(const std::string& text,
                                       const std::vector<std::pair<std::string, std::string>>& values = {});

// A 32-bit hash or handle as it reads when pushed zero-extended.
std::string Z(std::uint32_t value);
// Floats as a transcript line writes them, joined by ", ".
std::string Floats(std::initializer_list<float> values);
// The game's hash of a name, as it reads when pushed zero-extended.
std::string ZHash(const char* name);

// HireBodyguard, run on the script thread (it waits for its model there).
int HireOnScript(int category, int modelIndex, int outfit, int sidearm, int secondSidearm, int longarm,
                 float x, float y, float z);
