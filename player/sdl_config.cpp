#include "sdl_config.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ini.h>
#include <strings.h>

namespace
{

std::string gLastError;
bool gAudioOpen = false;

struct LoadContext {
    SDL_Config* config;
    std::string problem; // the first bad value found
};

bool parse_int(const char* text, long min, long max, int* out)
{
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 0);
    if (end == text || *end != '\0' || errno || v < min || v > max)
        return false;
    *out = int(v);
    return true;
}

bool parse_bool(const char* text, bool* out)
{
    for (const char* yes : {"1", "true", "yes", "on"})
        if (!strcasecmp(text, yes))
            return (*out = true);
    for (const char* no : {"0", "false", "no", "off"})
        if (!strcasecmp(text, no))
            return !(*out = false);
    return false;
}

bool parse_audio_format(const char* text, int* out)
{
    static const struct {
        const char* name;
        int format;
    } names[] = {{"u8", AUDIO_U8},      {"s8", AUDIO_S8},        {"u16", AUDIO_U16LSB},
                 {"s16", AUDIO_S16LSB}, {"u16be", AUDIO_U16MSB}, {"s16be", AUDIO_S16MSB}};
    for (const auto& n : names)
        if (!strcasecmp(text, n.name))
            return (*out = n.format), true;
    int v = 0;
    if (!parse_int(text, 0, 0xFFFF, &v))
        return false;
    for (const auto& n : names)
        if (v == n.format)
            return (*out = v), true;
    return false;
}

void set_flag(uint32_t* flags, uint32_t bit, bool on)
{
    *flags = on ? (*flags | bit) : (*flags & ~bit);
}

// Returns an empty string when the pair was taken, else what is wrong with it.
std::string apply_key(SDL_Config* c, const char* section, const char* key, const char* value)
{
    bool flag = false;
    auto is = [&](const char* s, const char* k) { return !strcasecmp(section, s) && !strcasecmp(key, k); };
    if (is("video", "width") || is("video", "height")) {
        int* target = !strcasecmp(key, "width") ? &c->width : &c->height;
        return parse_int(value, 1, 16384, target) ? "" : "a whole number from 1 to 16384";
    }
    if (is("video", "bpp"))
        return parse_int(value, 0, 32, &c->bpp) ? "" : "0 (the desktop's), 8, 15, 16, 24 or 32";
    if (is("video", "fullscreen") || is("video", "doublebuffer") || is("audio", "enabled")) {
        if (!parse_bool(value, &flag))
            return "true or false";
        if (is("video", "fullscreen"))
            set_flag(&c->videoFlags, SDL_FULLSCREEN, flag);
        else if (is("video", "doublebuffer"))
            set_flag(&c->videoFlags, SDL_DOUBLEBUF, flag);
        else
            set_flag(&c->initFlags, SDL_INIT_AUDIO, flag);
        return "";
    }
    if (is("video", "driver"))
        return c->videoDriver = value, "";
    if (is("audio", "driver"))
        return c->audioDriver = value, "";
    if (is("audio", "frequency"))
        return parse_int(value, 8000, 192000, &c->audioFrequency) ? "" : "a rate from 8000 to 192000 Hz";
    if (is("audio", "channels"))
        return parse_int(value, 1, 2, &c->audioChannels) ? "" : "1 or 2";
    if (is("audio", "chunksize"))
        return parse_int(value, 64, 65536, &c->audioChunkSize) ? "" : "a whole number from 64 to 65536";
    if (is("audio", "format"))
        return parse_audio_format(value, &c->audioFormat) ? ""
                                                          : "u8, s8, u16, s16, u16be, s16be or an SDL code";
    return ""; // unknown keys are left for newer versions
}

int on_ini_pair(void* user, const char* section, const char* key, const char* value)
{
    auto* ctx = static_cast<LoadContext*>(user);
    std::string wanted = apply_key(ctx->config, section, key, value);
    if (!wanted.empty() && ctx->problem.empty())
        ctx->problem = std::string("[") + section + "] " + key + " wants " + wanted + ", not '" + value + "'";
    return 1;
}

bool is_foreign_driver(const std::string& name)
{
    for (const char* foreign : {"directx", "windib", "waveout", "dsound"})
        if (!strcasecmp(name.c_str(), foreign))
            return true;
    return false;
}

void choose_driver(const char* variable, const std::string& name)
{
    if (!name.empty() && !is_foreign_driver(name))
        setenv(variable, name.c_str(), 0);
}

// Left to itself, SDL falls back from X11 to the console drivers when there is no display: fbcon, or the
// text-mode caca, which paints the demo as escape codes over the terminal it was started from. Unless
// SDL_VIDEODRIVER (or the settings file) names a driver, only X11 is tried. Returns false when SDL
// could not start.
bool init_sdl_in_a_window(uint32_t flags)
{
    const char* named = std::getenv("SDL_VIDEODRIVER");
    const bool chooseX11 = (flags & SDL_INIT_VIDEO) && !(named && *named);
    if (chooseX11)
        setenv("SDL_VIDEODRIVER", "x11", 1);
    const bool started = SDL_Init(flags) >= 0;
    if (chooseX11)
        unsetenv("SDL_VIDEODRIVER"); // SDL has read it; the environment stays as the user left it
    if (!started) {
        gLastError = SDL_GetError();
        const char* display = std::getenv("DISPLAY");
        if (chooseX11 && !(display && *display))
            gLastError +=
                ": no X display (DISPLAY is not set); SDL_VIDEODRIVER may name another video driver";
    }
    return started;
}

} // namespace

void SDL_Config_DefaultConfig(SDL_Config* config)
{
    config->initFlags = SDL_INIT_VIDEO;
    config->width = 640;
    config->height = 480;
    config->bpp = 32;
    config->videoFlags = SDL_DOUBLEBUF;
    config->videoDriver.clear();
    config->audioFrequency = 44100;
    config->audioChannels = 2;
    config->audioFormat = AUDIO_S16LSB;
    config->audioChunkSize = 4096;
    config->audioDriver.clear();
}

int SDL_Config_LoadConfig(const char* fileName, SDL_Config* config)
{
    LoadContext ctx{config, {}};
    // Opening the file here tells a missing file from a bad one.
    FILE* file = std::fopen(fileName, "r");
    if (!file) {
        gLastError = std::string("cannot open ") + fileName;
        return -1;
    }
    int result = ini_parse_file(file, on_ini_pair, &ctx);
    std::fclose(file);
    if (result != 0) {
        gLastError = std::string(fileName) + " line " + std::to_string(result) +
                     ": not a [section], a key = value pair or a comment";
        return -2;
    }
    if (!ctx.problem.empty()) {
        gLastError = std::string(fileName) + ": " + ctx.problem;
        return -2;
    }
    return 0;
}

const char* SDL_Config_LastError()
{
    return gLastError.c_str();
}

SDL_Surface* SDL_Config_Init(const SDL_Config* config)
{
    choose_driver("SDL_VIDEODRIVER", config->videoDriver);
    choose_driver("SDL_AUDIODRIVER", config->audioDriver);
    gAudioOpen = false;
    if (!init_sdl_in_a_window(config->initFlags & ~uint32_t(SDL_INIT_AUDIO)))
        return nullptr;
    if (config->videoFlags & SDL_OPENGL) {
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    }
    SDL_Surface* screen = SDL_SetVideoMode(config->width, config->height, config->bpp, config->videoFlags);
    if (!screen) {
        gLastError = SDL_GetError();
        return nullptr;
    }
    SDL_WM_SetCaption("Vortel", "Vortel");
    if (config->initFlags & SDL_INIT_AUDIO) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0 ||
            Mix_OpenAudio(config->audioFrequency, uint16_t(config->audioFormat), config->audioChannels,
                          config->audioChunkSize) < 0)
            gLastError = std::string("no sound: ") + SDL_GetError();
        else
            gAudioOpen = true;
    }
    return screen;
}

bool SDL_Config_AudioOpen()
{
    return gAudioOpen;
}

void SDL_Config_Quit()
{
    if (gAudioOpen)
        Mix_CloseAudio();
    gAudioOpen = false;
    SDL_Quit();
}
