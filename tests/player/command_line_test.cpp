// The command line: positional arguments with their defaults, the "-log" switch, our "--" options and
// the demo path played when none is given.
#include <gtest/gtest.h>

#include <command_line.h>

namespace
{

CommandLine parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "/opt/vortel/bin/player");
    return parse_command_line(int(args.size()), args.data());
}

TEST(DefaultDemoPath, ReplacesTheExtensionOfTheProgramName)
{
    EXPECT_EQ(default_demo_path("demo.exe"), "demo.xml");
    EXPECT_EQ(default_demo_path("C/dir/demo.tar.exe"), "C/dir/demo.tar.xml");
    EXPECT_EQ(default_demo_path("build/bin/demo."), "build/bin/demo.xml");
}

TEST(DefaultDemoPath, AppendsXmlWhenTheProgramNameHasNoExtension)
{
    EXPECT_EQ(default_demo_path("build/bin/player"), "build/bin/player.xml");
    EXPECT_EQ(default_demo_path("/opt/vortel-1.2/player"), "/opt/vortel-1.2/player.xml")
        << "a dot in a folder name is no extension";
    EXPECT_EQ(default_demo_path("./player"), "./player.xml");
    EXPECT_EQ(default_demo_path("bin/.player"), "bin/.player.xml") << "a leading dot names a hidden file";
    EXPECT_EQ(default_demo_path("player"), "player.xml");
    EXPECT_EQ(default_demo_path(nullptr), ".xml");
}

TEST(CommandLine, NoArgumentsGiveTheDefaults)
{
    CommandLine cl = parse({});
    EXPECT_EQ(cl.demoPath, "/opt/vortel/bin/player.xml");
    EXPECT_FALSE(cl.hasStartOffset);
    EXPECT_EQ(cl.startOffset, 0);
    EXPECT_EQ(cl.volume, 255);
    EXPECT_EQ(cl.gamma, 1.0);
    EXPECT_FALSE(cl.verbose);
    EXPECT_FALSE(cl.noSetup);
    EXPECT_TRUE(cl.captureDir.empty());
    EXPECT_TRUE(cl.error.empty());
}

TEST(CommandLine, PositionalArgumentsInOrder)
{
    CommandLine cl = parse({"demo.xml", "1500", "128", "1.3"});
    EXPECT_EQ(cl.demoPath, "demo.xml");
    EXPECT_TRUE(cl.hasStartOffset);
    EXPECT_EQ(cl.startOffset, 1500);
    EXPECT_EQ(cl.volume, 128);
    EXPECT_DOUBLE_EQ(cl.gamma, 1.3);
    EXPECT_FALSE(cl.verbose);
}

TEST(CommandLine, NumbersAreReadLikeAtoi)
{
    CommandLine cl = parse({"demo.xml", "12abc", "volume", " 7"});
    EXPECT_EQ(cl.startOffset, 12);
    EXPECT_EQ(cl.volume, 0);
    EXPECT_DOUBLE_EQ(cl.gamma, 7.0);
}

TEST(CommandLine, LogSwitchInAnySlotIsAlsoThatSlotsValue)
{
    for (const char* word : {"log", "Log", "-log", "-Log"}) {
        CommandLine only = parse({word});
        EXPECT_TRUE(only.verbose) << word;
        EXPECT_EQ(only.demoPath, word);
    }
    CommandLine last = parse({"demo.xml", "0", "255", "1.0", "-log"});
    EXPECT_TRUE(last.verbose);
    EXPECT_DOUBLE_EQ(last.gamma, 1.0);
    CommandLine second = parse({"demo.xml", "-log"});
    EXPECT_TRUE(second.verbose);
    EXPECT_EQ(second.startOffset, 0);
    EXPECT_FALSE(parse({"demo.xml", "LOG"}).verbose);
}

TEST(CommandLine, OurOptionsAreTakenOutBeforeThePositionalOnes)
{
    CommandLine cl = parse({"--size", "640x480", "demo.xml", "--capture", "out", "250", "--fps", "30",
                            "--from", "100", "--to", "900"});
    ASSERT_TRUE(cl.error.empty()) << cl.error;
    EXPECT_EQ(cl.demoPath, "demo.xml");
    EXPECT_EQ(cl.startOffset, 250);
    EXPECT_EQ(cl.width, 640);
    EXPECT_EQ(cl.height, 480);
    EXPECT_EQ(cl.captureDir, "out");
    EXPECT_EQ(cl.fps, 30);
    EXPECT_TRUE(cl.hasFrom && cl.hasTo);
    EXPECT_EQ(cl.from, 100u);
    EXPECT_EQ(cl.to, 900u);
    EXPECT_TRUE(cl.noSetup && cl.windowed);
}

TEST(CommandLine, OptionsImplyWhatTheyNeed)
{
    CommandLine noSetup = parse({"--no-setup"});
    EXPECT_TRUE(noSetup.noSetup);
    EXPECT_FALSE(noSetup.windowed);
    CommandLine windowed = parse({"--windowed"});
    EXPECT_TRUE(windowed.noSetup && windowed.windowed);
    CommandLine capture = parse({"--capture", "frames"});
    EXPECT_TRUE(capture.noSetup && capture.windowed);
    EXPECT_EQ(capture.fps, 60);
    CommandLine studio = parse({"--studio", "8350"});
    EXPECT_TRUE(studio.studio && studio.dev && studio.windowed);
    EXPECT_EQ(studio.studioPort, 8350);
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(parse({"--version"}).version);
}

TEST(CommandLine, DescribeTakesEveryPositionalArgumentAsALibrary)
{
    CommandLine cl = parse({"--describe", "Scaffold.so", "log", "build/bin/Media.so"});
    ASSERT_TRUE(cl.error.empty()) << cl.error;
    EXPECT_TRUE(cl.describe);
    EXPECT_EQ(cl.describeLibraries, (std::vector<std::string>{"Scaffold.so", "log", "build/bin/Media.so"}));
    EXPECT_FALSE(parse({"--describe"}).error.empty()) << "nothing to describe";
    EXPECT_FALSE(parse({"--describe", "Scaffold.so", "--check"}).error.empty()) << "no other option";
}

TEST(CommandLine, MalformedOptionsAreReportedNotGuessed)
{
    for (std::vector<const char*> bad : std::vector<std::vector<const char*>>{
             {"--size", "640"},
             {"--size", "0x480"},
             {"--size", "640x-480"},
             {"--size", "99999x480"},
             {"--size"},
             {"--capture", "f", "--fps", "0"},
             {"--capture", "f", "--fps", "sixty"},
             {"--capture", "f", "--from", "-5"},
             {"--capture", "f", "--from", "500", "--to", "400"},
             {"--capture", ""},
             {"--fps", "30"},
             {"--to", "30"},
             {"--fullscreen", "--windowed"},
             {"--studio", "65536"},
             {"--studio", "-1"},
             {"--studio", "0", "--capture", "f"},
         }) {
        CommandLine cl = parse(bad);
        std::string joined;
        for (const char* a : bad)
            joined += std::string(a) + " ";
        EXPECT_FALSE(cl.error.empty()) << joined;
    }
}

} // namespace

TEST(CommandLine, CaptureQualityOptions)
{
    CommandLine cl = parse({"--capture", "f", "--motion-blur", "8"});
    EXPECT_EQ(cl.error, "");
    EXPECT_EQ(cl.motionBlurFrames, 8);
    EXPECT_EQ(cl.shutter, 0.5);
    EXPECT_EQ(parse({"--capture", "f", "--motion-blur", "64:1"}).shutter, 1.0);
    for (const char* bad : {"0", "65", "4:0", "4:1.5", "4:", "x", "4:0.5x"})
        EXPECT_NE(parse({"--capture", "f", "--motion-blur", bad}).error, "") << bad;
    EXPECT_EQ(parse({"--motion-blur", "4"}).error,
              "--motion-blur and --supersample only apply to --capture and --video");
    EXPECT_EQ(parse({"--video", "v.mp4", "--supersample", "4"}).supersample, 4);
    for (const char* bad : {"0", "5", "2x", ""})
        EXPECT_NE(parse({"--capture", "f", "--supersample", bad}).error, "") << bad;
    EXPECT_EQ(parse({"--supersample", "2"}).error,
              "--motion-blur and --supersample only apply to --capture and --video");
}

TEST(CommandLine, CodecAndCrfGoWithVideoOnlyAndCrfOnlyWithH264OrH265)
{
    CommandLine cl = parse({"--capture", "f", "--video", "v.mp4", "--codec", "h265", "--crf", "0", "d.xml"});
    EXPECT_EQ(cl.error, "");
    EXPECT_EQ(cl.videoCodec, "h265");
    EXPECT_EQ(cl.crf, 0);
    EXPECT_EQ(parse({"--capture", "f", "--video", "v.mp4"}).crf, -1);
    EXPECT_NE(parse({"--capture", "f", "--video", "v.mp4", "--codec", "vp9"}).error, "");
    EXPECT_NE(parse({"--capture", "f", "--video", "v.mp4", "--crf", "52"}).error, "");
    EXPECT_NE(parse({"--capture", "f", "--codec", "h264"}).error, "");
    EXPECT_NE(parse({"--capture", "f", "--video", "v.mov", "--codec", "prores", "--crf", "20"}).error, "");
    EXPECT_EQ(parse({"--video", "v.mp4", "--preset", "ultrafast"}).videoPreset, "ultrafast");
    EXPECT_NE(parse({"--video", "v.mp4", "--preset", "quick"}).error, "");
    EXPECT_NE(parse({"--video", "v.mkv", "--codec", "ffv1", "--preset", "fast"}).error, "");
    EXPECT_NE(parse({"--capture", "f", "--preset", "fast"}).error, "") << "no video to encode";
}
