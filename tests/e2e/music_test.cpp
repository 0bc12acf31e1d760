// Music: only Ogg Vorbis is sought to the start offset; any other music restarts the demo from 0 so that
// sound and picture stay together; without music the offset holds. The disk audio driver shows that the
// music was really played.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "player_runner.h"

namespace
{

std::string music_demo(const std::string& musicFile)
{
    return probe_demo("RunningTime=\"1500\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"" +
                          (musicFile.empty() ? "" : " InputMusicFile=\"" + musicFile + "\""),
                      "<Library FileName=\"Probe.so\"><F Name=\"Probe\"/></Library>",
                      "<Track><E LibraryFileName=\"Probe.so\" FunctionName=\"Probe\" StartTime=\"0\" "
                      "EndTime=\"1500\"><param type=\"const\" val=\"1\"/></E></Track>");
}

// A 2-second tone made with sox (wav or ogg by the file's extension; wav as 16-bit samples, which the
// mixer's wave reader knows).
bool make_tone(const std::string& folder, const std::string& name)
{
    bool wave = name.size() > 4 && name.compare(name.size() - 4, 4, ".wav") == 0;
    std::string command = std::string("sox -q -n -r 22050 -c 1 ") + (wave ? "-b 16 " : "") + "'" + folder +
                          "/" + name + "' synth 2 sine 440 vol 0.5";
    return std::system(command.c_str()) == 0;
}

// The local time of the first running call of the probe event.
int first_running_time(const PlayerRun& run)
{
    static const std::regex call(R"(^probe Probe phase=1 local=(\d+) )");
    for (const std::string& line : run.lines()) {
        std::smatch m;
        if (std::regex_search(line, m, call))
            return std::stoi(m[1].str());
    }
    return -1;
}

TEST(Music, StartOffsetWithNonOggMusicStartsFromTheBeginning)
{
    std::string folder = fresh_folder("music_wav");
    ASSERT_TRUE(make_tone(folder, "tone.wav"));
    write_file(folder, "demo.xml", music_demo("tone.wav"));
    PlayerRun run = run_player_in(folder, {"--no-setup", "--size", "64x48", "demo.xml", "1000"});
    ASSERT_EQ(run.status, 0) << run.log;
    int first = first_running_time(run);
    EXPECT_GE(first, 0) << run.log;
    EXPECT_LT(first, 900) << "the timeline must start at 0 like the music";
}

TEST(Music, StartOffsetWithOggMusicSeeksThere)
{
    std::string folder = fresh_folder("music_ogg");
    ASSERT_TRUE(make_tone(folder, "tone.ogg"));
    write_file(folder, "demo.xml", music_demo("tone.ogg"));
    PlayerRun run = run_player_in(folder, {"--no-setup", "--size", "64x48", "demo.xml", "1000"});
    ASSERT_EQ(run.status, 0) << run.log;
    EXPECT_GE(first_running_time(run), 1000) << run.log;
}

TEST(Music, StartOffsetWithoutMusicHolds)
{
    std::string folder = fresh_folder("music_none");
    write_file(folder, "demo.xml", music_demo(""));
    PlayerRun run = run_player_in(folder, {"--no-setup", "--size", "64x48", "demo.xml", "1000"});
    ASSERT_EQ(run.status, 0) << run.log;
    EXPECT_GE(first_running_time(run), 1000) << run.log;
}

TEST(Music, MissingMusicFileIsReportedAndTheDemoPlaysSilently)
{
    std::string folder = fresh_folder("music_missing");
    write_file(folder, "demo.xml", music_demo("absent.ogg"));
    PlayerRun run = run_player_in(folder, {"--no-setup", "--size", "64x48", "demo.xml"});
    EXPECT_EQ(run.status, 0) << run.log;
    EXPECT_NE(run.find_line("Couldn't load the music absent.ogg"), -1) << run.log;
}

TEST(Music, IsPlayedThroughTheMixer)
{
    // The fixture's music lies next to the document, not in the working folder.
    std::string folder = fresh_folder("music_disk");
    setenv("SDL_DISKAUDIOFILE", (folder + "/played.raw").c_str(), 1);
    PlayerRun run =
        run_player_in(folder, {"--no-setup", "--size", "640x480", fixture("e2e_music.xml")}, "disk");
    unsetenv("SDL_DISKAUDIOFILE");
    ASSERT_EQ(run.status, 0) << run.log;
    EXPECT_EQ(run.find_line("Couldn't load the music"), -1) << run.log;
    std::ifstream played(folder + "/played.raw", std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(played)), std::istreambuf_iterator<char>());
    size_t loud = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        int16_t sample = int16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
        loud += sample > 1000 || sample < -1000;
    }
    EXPECT_GT(loud, 1000u) << bytes.size() << " bytes written, none loud";
}

} // namespace
