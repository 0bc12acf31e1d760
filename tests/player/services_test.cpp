// The player's services: music level through the real mixer, and the texts.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <services.h>

namespace
{

class MusicLevel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
        reset_music_level();
        set_user_volume(128);
    }
    void TearDown() override
    {
        set_user_volume(255);
        Mix_CloseAudio();
        SDL_Quit();
    }
};

TEST_F(MusicLevel, IsScaledByTheUserVolume)
{
    SetMusicLevel(200);
    EXPECT_EQ(Mix_VolumeMusic(-1), 100); // 200 * 128 / 255
    SetMusicLevel(0);
    EXPECT_EQ(Mix_VolumeMusic(-1), 0);
}

TEST_F(MusicLevel, RepeatedLevelActsOnce)
{
    SetMusicLevel(200);
    Mix_VolumeMusic(7); // somebody else changed the volume since
    SetMusicLevel(200);
    EXPECT_EQ(Mix_VolumeMusic(-1), 7) << "the same level again must not touch the mixer";
    SetMusicLevel(100);
    EXPECT_EQ(Mix_VolumeMusic(-1), 50);
    SetMusicLevel(200);
    EXPECT_EQ(Mix_VolumeMusic(-1), 100);
}

TEST_F(MusicLevel, FirstCallAlwaysActsAndHugeLevelsDoNotOverflow)
{
    Mix_VolumeMusic(9);
    SetMusicLevel(-1); // the "nothing set yet" value itself is a repeat
    EXPECT_EQ(Mix_VolumeMusic(-1), 9);
    set_user_volume(255);
    SetMusicLevel(INT32_MAX);
    EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME);
}

TEST(Texts, AreServedByIndexAndNullOutsideTheList)
{
    std::vector<std::string> texts = {"a", "b"};
    set_texts(&texts);
    EXPECT_STREQ(GetText(0), "a");
    EXPECT_STREQ(GetText(1), "b");
    EXPECT_EQ(GetText(-1), nullptr);
    EXPECT_EQ(GetText(2), nullptr);
    set_texts(nullptr);
    EXPECT_EQ(GetText(0), nullptr);
}

} // namespace
