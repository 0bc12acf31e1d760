// SDL_Config: the default record, reading "SDL.ini" files, and bringing SDL up and down from a record.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <cstdlib>
#include <fstream>

#include <sdl_config.h>

namespace
{

std::string ini_file(const std::string& name, const std::string& text)
{
    std::ofstream(name) << text;
    return name;
}

SDL_Config defaults()
{
    SDL_Config config;
    SDL_Config_DefaultConfig(&config);
    return config;
}

TEST(SdlConfigFile, DefaultsAreASmallWindowWithCdQualitySound)
{
    SDL_Config c = defaults();
    EXPECT_EQ(c.width, 640);
    EXPECT_EQ(c.height, 480);
    EXPECT_EQ(c.bpp, 32);
    EXPECT_EQ(c.videoFlags & SDL_FULLSCREEN, 0u);
    EXPECT_EQ(c.audioFrequency, 44100);
    EXPECT_EQ(c.audioChannels, 2);
    EXPECT_EQ(c.audioFormat, AUDIO_S16LSB);
    EXPECT_EQ(c.audioChunkSize, 4096);
    EXPECT_TRUE(c.videoDriver.empty() && c.audioDriver.empty());
}

TEST(SdlConfigFile, ReadsEveryKeyAndKeepsWhatItDoesNotName)
{
    SDL_Config c = defaults();
    c.initFlags = SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO;
    std::string path = ini_file("every_key.ini", "; comment\n[Video]\nWidth = 1024\nheight=768\nbpp = 16\n"
                                                 "fullscreen = yes\ndoublebuffer = off\ndriver = x11\n"
                                                 "[audio]\nfrequency = 22050\nchannels = 1\nformat = u8\n"
                                                 "driver = dummy\nfuture_key = 3\n");
    ASSERT_EQ(SDL_Config_LoadConfig(path.c_str(), &c), 0) << SDL_Config_LastError();
    EXPECT_EQ(c.width, 1024);
    EXPECT_EQ(c.height, 768);
    EXPECT_EQ(c.bpp, 16);
    EXPECT_NE(c.videoFlags & SDL_FULLSCREEN, 0u);
    EXPECT_EQ(c.videoFlags & SDL_DOUBLEBUF, 0u);
    EXPECT_EQ(c.videoDriver, "x11");
    EXPECT_EQ(c.audioFrequency, 22050);
    EXPECT_EQ(c.audioChannels, 1);
    EXPECT_EQ(c.audioFormat, AUDIO_U8);
    EXPECT_EQ(c.audioChunkSize, 4096) << "not in the file: unchanged";
    EXPECT_EQ(c.audioDriver, "dummy");
    EXPECT_NE(c.initFlags & SDL_INIT_AUDIO, 0u);
}

TEST(SdlConfigFile, AudioCanBeSwitchedOff)
{
    SDL_Config c = defaults();
    c.initFlags = SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO;
    std::string path = ini_file("no_audio.ini", "[audio]\nenabled = false\nformat = 0x8010\n");
    ASSERT_EQ(SDL_Config_LoadConfig(path.c_str(), &c), 0);
    EXPECT_EQ(c.initFlags, uint32_t(SDL_INIT_TIMER | SDL_INIT_VIDEO));
    EXPECT_EQ(c.audioFormat, 0x8010);
}

TEST(SdlConfigFile, MissingAndMalformedFilesFailDifferently)
{
    SDL_Config c = defaults();
    EXPECT_EQ(SDL_Config_LoadConfig("no_such_file.ini", &c), -1);

    std::string syntax = ini_file("syntax.ini", "[video]\nwidth 800\n");
    EXPECT_EQ(SDL_Config_LoadConfig(syntax.c_str(), &c), -2);
    EXPECT_NE(std::string(SDL_Config_LastError()).find("line 2"), std::string::npos)
        << SDL_Config_LastError();

    for (const char* bad : {"[video]\nwidth = 0\n", "[video]\nheight = 20000\n", "[video]\nwidth = 800px\n",
                            "[video]\nfullscreen = maybe\n", "[audio]\nchannels = 6\n",
                            "[audio]\nformat = f32\n", "[audio]\nfrequency = 99999999999\n"}) {
        SDL_Config d = defaults();
        std::string path = ini_file("bad_value.ini", bad);
        EXPECT_EQ(SDL_Config_LoadConfig(path.c_str(), &d), -2) << bad;
        EXPECT_NE(std::string(SDL_Config_LastError()).find("wants"), std::string::npos)
            << SDL_Config_LastError();
    }
}

TEST(SdlConfigInit, OpensTheWindowAndTheMixerAndClosesThemAgain)
{
    SDL_Config c = defaults();
    c.initFlags = SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO;
    c.width = 160;
    c.height = 120;
    c.videoFlags |= SDL_OPENGL;
    // The setup window writes names of drivers this SDL does not have: they must not be used.
    c.videoDriver = "directx";
    c.audioDriver = "waveout";
    SDL_Surface* screen = SDL_Config_Init(&c);
    ASSERT_NE(screen, nullptr) << SDL_Config_LastError();
    EXPECT_EQ(screen->w, 160);
    EXPECT_EQ(screen->h, 120);
    EXPECT_NE(screen->flags & SDL_OPENGL, 0u);
    EXPECT_TRUE(SDL_Config_AudioOpen());
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    EXPECT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    EXPECT_EQ(channels, 2);
    const char* videoDriver = std::getenv("SDL_VIDEODRIVER");
    EXPECT_TRUE(!videoDriver || std::string(videoDriver) != "directx");
    SDL_Config_Quit();
    EXPECT_FALSE(SDL_Config_AudioOpen());
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);

    // A second start after the quit works (the setup window, then the demo window).
    c.initFlags = SDL_INIT_VIDEO;
    ASSERT_NE(SDL_Config_Init(&c), nullptr);
    EXPECT_FALSE(SDL_Config_AudioOpen());
    SDL_Config_Quit();
}

} // namespace
