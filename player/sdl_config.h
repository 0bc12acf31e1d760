// SDL_Config: brings SDL up from one record (subsystems, video mode, audio mixer), filled with defaults,
// from an INI file ("SDL.ini", read with inih) or by the setup window.
//
// Pairing: SDL_Config_Init once; SDL_Config_Quit undoes it (closes the mixer, shuts SDL down) and may be
// followed by another SDL_Config_Init. Main thread only.
//
// INI keys (case-insensitive), with the defaults SDL_Config_DefaultConfig sets:
//   [video] width = 640, height = 480, bpp = 32, fullscreen = false, doublebuffer = true, driver = ""
//   [audio] enabled = true, frequency = 44100, channels = 2, format = 0x8010 (or s16/u8/s8/u16/s16be),
//           chunksize = 4096, driver = ""
// An empty driver, or a name this SDL does not have ("directx", "windib", "waveout", "dsound"), lets SDL
// pick its default; a driver already chosen through SDL_VIDEODRIVER / SDL_AUDIODRIVER wins over the file.
#pragma once

#include <cstdint>
#include <string>

struct SDL_Surface;

struct SDL_Config {
    uint32_t initFlags;  // SDL_INIT_* bits; SDL_INIT_AUDIO (0x10) also opens the mixer
    int width, height;   // pixels
    int bpp;             // bits per pixel handed to SDL_SetVideoMode
    uint32_t videoFlags; // SDL_SetVideoMode flags (SDL_OPENGL 0x2, SDL_DOUBLEBUF, SDL_FULLSCREEN, ...)
    std::string videoDriver;
    int audioFrequency; // Hz
    int audioChannels;
    int audioFormat;    // SDL audio format code, e.g. 0x8010 signed 16-bit little-endian
    int audioChunkSize; // sample frames per mixer chunk
    std::string audioDriver;
};

void SDL_Config_DefaultConfig(SDL_Config* config);

// Reads the INI file into the record; keys the file does not name keep their value. Returns 0 on success,
// -1 when the file cannot be opened, -2 when it holds a malformed line or value (the record may then be
// partly updated). SDL_Config_LastError() tells which.
int SDL_Config_LoadConfig(const char* fileName, SDL_Config* config);
const char* SDL_Config_LastError();

// Initialises SDL with the record's subsystems and sets the video mode; returns the screen surface (owned
// by SDL) or null, with SDL_Config_LastError() saying why. When audio is requested but the mixer cannot be
// opened, the run goes on without sound: SDL_Config_AudioOpen() then reports false.
SDL_Surface* SDL_Config_Init(const SDL_Config* config);
bool SDL_Config_AudioOpen();
void SDL_Config_Quit();
