// The roster save file: 43 integers, each preceded by one space, no newline.
#pragma once

constexpr const char* SAVE_FILE_NAME = "Tavrossimer.dat";
constexpr int SAVE_FILE_VALUE_COUNT = 43;

// Writes the six loadout fields of every slot and formationMode. The new
// content goes to a temporary file, flushed to the disk, that then replaces the
// old one in one step, so a crash, a power cut or a full disk never leaves a
// short file behind. Where no temporary file can be made, the file is
// rewritten in place rather than the save being lost; a save file that cannot
// be opened for writing (read-only) is left as it is.
void SaveRoster();

// Reads the file back into the roster's loadout fields and formationMode; a
// missing, short or damaged file loads as far as it goes.
void LoadRoster();
