// The authoring options on the command line, and the rule --check uses to tell file names among texts.
#include <gtest/gtest.h>

#include <command_line.h>
#include <demo_check.h>
#include <frame_loop.h>

namespace
{

CommandLine parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "player");
    return parse_command_line(int(args.size()), args.data());
}

TEST(AuthoringOptions, AreReadWithTheirValues)
{
    CommandLine cl = parse({"--dev", "--loop", "1500-4000", "demo.xml"});
    EXPECT_TRUE(cl.error.empty()) << cl.error;
    EXPECT_TRUE(cl.dev);
    EXPECT_TRUE(cl.hasLoop);
    EXPECT_EQ(cl.loopFrom, 1500u);
    EXPECT_EQ(cl.loopTo, 4000u);
    EXPECT_EQ(cl.demoPath, "demo.xml");

    cl = parse({"--capture", "f", "--video", "out.mp4", "demo.xml"});
    EXPECT_TRUE(cl.error.empty()) << cl.error;
    EXPECT_EQ(cl.videoFile, "out.mp4");

    cl = parse({"demo.xml", "--check"});
    EXPECT_TRUE(cl.error.empty()) << cl.error;
    EXPECT_TRUE(cl.check);
}

TEST(AuthoringOptions, MalformedLoopRangesAreRefused)
{
    for (const char* range :
         {"4000-1500", "100-100", "100", "-100", "a-b", "100-", "1-2-3", "0-99999999999"}) {
        CommandLine cl = parse({"--loop", range});
        EXPECT_EQ(cl.error, std::string("--loop wants FROM-TO in milliseconds with FROM before TO, not '") +
                                range + "'");
    }
    EXPECT_EQ(parse({"--loop"}).error, "--loop needs a value");
}

TEST(AuthoringOptions, CombinationsThatCannotWorkAreRefused)
{
    EXPECT_EQ(parse({"--video", "out.mp4", "--dev"}).error,
              "--loop and --dev play in real time: they do not go with --capture or --video");
    EXPECT_EQ(parse({"--capture", "f", "--dev"}).error,
              "--loop and --dev play in real time: they do not go with --capture or --video");
    EXPECT_EQ(parse({"--capture", "f", "--loop", "0-10"}).error,
              "--loop and --dev play in real time: they do not go with --capture or --video");
    EXPECT_EQ(parse({"--check", "--dev"}).error,
              "--check plays nothing: it goes with no --capture, --video, --dev or --loop");
    EXPECT_EQ(parse({"--capture", "f", "--video", ""}).error, "--video needs a file name");
}

TEST(AuthoringOptions, DevOpensAWindowUnlessFullScreenIsAskedFor)
{
    CommandLine cl = parse({"--dev", "demo.xml"});
    EXPECT_TRUE(cl.windowed);
    EXPECT_FALSE(cl.noSetup) << "the setup window still picks the size";
    cl = parse({"--dev", "--fullscreen", "demo.xml"});
    EXPECT_TRUE(cl.error.empty()) << cl.error;
    EXPECT_FALSE(cl.windowed);
    EXPECT_TRUE(cl.fullscreen);
    EXPECT_EQ(parse({"--fullscreen", "--size", "640x480"}).error,
              "--fullscreen does not go with --windowed, --size, --capture or --video");
}

TEST(AuthoringOptions, LoopRangesPastTheRunningTimeAreClamped)
{
    std::string message;
    LoopRange loop{500, 1000};
    EXPECT_FALSE(clamp_loop_range(loop, 1000, &message)) << "a range that fits stays";
    loop = LoopRange{500, 9000};
    ASSERT_TRUE(clamp_loop_range(loop, 1000, &message));
    EXPECT_EQ(loop.from, 500u);
    EXPECT_EQ(loop.to, 1000u);
    EXPECT_EQ(message,
              "--loop 500-9000 goes past the end of the demo (RunningTime 1000 ms): looping 500-1000 "
              "instead");
    loop = LoopRange{20000, 20300};
    ASSERT_TRUE(clamp_loop_range(loop, 1000, &message));
    EXPECT_EQ(loop.from, 700u) << "a range wholly past the end keeps its length and ends at the end";
    EXPECT_EQ(loop.to, 1000u);
}

TEST(TextsNamingFiles, PathsAndShortExtensionsCountWordsAndSentencesDoNot)
{
    for (const char* name : {"logo.png", "models/ship.obj", "a.flame", "../up/x", "fire.flameANI", "t.mp3"})
        EXPECT_TRUE(looks_like_file_name(name)) << name;
    for (const char* name : {"", "Render1", "The end. Thanks", "v1.2", "dots...", ".hidden", "x.1234", "end.",
                             "name.waytoolongext"})
        EXPECT_FALSE(looks_like_file_name(name)) << name;
}

} // namespace
