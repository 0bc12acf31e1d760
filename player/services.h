// The services record handed to every Vortel_Init, and the player-side services behind it.
// Main thread only. The record stays valid from services_fill to the end of the run.
#pragma once

#include <cstdint>

#include <vortel/plugin.h>

#include "texts.h" // GetText is one of the services

// The user's music volume, 0..255 (command line or setup window); SetMusicLevel scales by it.
// Default 255.
void set_user_volume(int32_t volume);
int32_t user_volume();

// Level 0..255 (not clamped) scaled to level * userVolume / 255 (integer division) for Mix_VolumeMusic.
// A level equal to the last one set does nothing; the first call always acts.
void SetMusicLevel(int32_t level);
// Forgets the last level, so the next SetMusicLevel acts whatever its value (a new run in the same process).
void reset_music_level();

// Fills every member: glContext as given, Log, SetMusicLevel, the registry's five operations, GetText,
// and the data file's OpenFile / CloseFile.
void services_fill(ServicesStruct* services, GLStateContext* glContext);
