// Resource preloading under the loader animation: what is acquired for each event, the loader's
// progress words, and that it all happens before the first frame.
#include <gtest/gtest.h>

#include <filesystem>

#include "player_runner.h"

namespace
{

TEST(Preload, AcquiresDeclaredResourcesAndAnimatesTheLoaderOncePerEvent)
{
    std::string folder = fresh_folder("preload");
    PlayerRun run = run_player_in(
        folder, {"--capture", "f", "--fps", "1000", "--size", "64x48", fixture("e2e_preload.xml")});
    ASSERT_EQ(run.status, 0) << run.log;

    // Event 0 asks for text 0, event 1 for text 2 (nobody has it), event 2 (track 1) for text 1; the
    // fourth parameter's name has only three characters after "RSRC" and asks for nothing.
    int one = run.find_line("probe acquire probe-one");
    int loader0 =
        run.find_line("probe ProbeLoader phase=1 local=0 const=1 status=0 start=0 dur=3 args=[3333]", one);
    int missing =
        run.find_line("vortelLoadResources could not find the some resource named elsewhere", loader0);
    int loader1 = run.find_line("probe ProbeLoader phase=1 local=1 ", missing);
    int two = run.find_line("probe acquire probe-two", loader1);
    int loader2 = run.find_line("probe ProbeLoader phase=1 local=2 ", two);
    int firstFrame = run.find_line("probe Vortel_BeginNewFrame");
    EXPECT_GE(one, 0) << run.log;
    EXPECT_GT(loader0, one) << run.log;
    EXPECT_GT(missing, loader0) << run.log;
    EXPECT_GT(two, loader1) << run.log;
    EXPECT_GT(loader2, two) << run.log;
    EXPECT_GT(firstFrame, loader2);
    EXPECT_NE(run.lines()[size_t(loader1)].find("args=[6666]"), std::string::npos);
    EXPECT_NE(run.lines()[size_t(loader2)].find("args=[10000]"), std::string::npos);
    EXPECT_EQ(run.lines_starting("probe acquire").size(), 2u);
    EXPECT_EQ(run.lines_starting("probe release").size(), 0u) << "preloaded resources are never released";

    // RunningTime 0 was raised to 1: frames at 0 and 1 ms, both of them on the two events active there.
    EXPECT_EQ(run.lines_starting("probe Probe phase=1 local=0 ").size(), 2u);
    EXPECT_EQ(run.lines_starting("probe Probe phase=1 local=1 ").size(), 2u);
    EXPECT_EQ(captured_frames(folder + "/f").size(), 2u);
}

TEST(Preload, FilesComeFromThePackedDataFileNextToTheDocument)
{
    // 'FILE' resources are served by the player itself: from the data file first, then from disk.
    std::string folder = fresh_folder("preload_data_file");
    std::string demoFolder = folder + "/demo";
    std::filesystem::create_directories(demoFolder);
    write_file(demoFolder, "media.dat", "7Fpack 1 4\nPACKED.PNG 4\nabcd");
    write_file(folder, "loose.png", "on disk");
    write_file(
        demoFolder, "demo.xml",
        probe_demo(
            "RunningTime=\"10\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\" DataFile=\"media.dat\"",
            "<Library FileName=\"Probe.so\"><F Name=\"Probe\"><P Name=\"count\"/><P Name=\"flags\"/>"
            "<P Name=\"fileRSRCFILE\"/></F></Library>",
            "<Track><E LibraryFileName=\"Probe.so\" FunctionName=\"Probe\" StartTime=\"0\" EndTime=\"10\">"
            "<param type=\"const\" val=\"3\"/><param type=\"const\" val=\"0\"/>"
            "<param type=\"const\" val=\"0\"/></E>"
            "<E LibraryFileName=\"Probe.so\" FunctionName=\"Probe\" StartTime=\"10\" EndTime=\"20\">"
            "<param type=\"const\" val=\"3\"/><param type=\"const\" val=\"0\"/>"
            "<param type=\"const\" val=\"1\"/></E>"
            "<E LibraryFileName=\"Probe.so\" FunctionName=\"Probe\" StartTime=\"20\" EndTime=\"30\">"
            "<param type=\"const\" val=\"3\"/><param type=\"const\" val=\"0\"/>"
            "<param type=\"const\" val=\"2\"/></E></Track>",
            "<Text>packed.png</Text><Text>loose.png</Text><Text>absent.png</Text>"));
    PlayerRun run =
        run_player_in(folder, {"--capture", "f", "--fps", "100", "--size", "64x48", "demo/demo.xml"});
    ASSERT_EQ(run.status, 0) << run.log;
    EXPECT_EQ(run.log.find("named packed.png"), std::string::npos) << run.log;
    EXPECT_EQ(run.log.find("named loose.png"), std::string::npos) << run.log;
    EXPECT_NE(run.log.find("vortelLoadResources could not find the some resource named absent.png"),
              std::string::npos)
        << run.log;
}

TEST(Preload, LoaderNamedByNobodyStillPresentsOncePerEvent)
{
    std::string folder = fresh_folder("preload_no_loader");
    write_file(
        folder, "demo.xml",
        probe_demo("RunningTime=\"20\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\" LoaderAnim=\"Nobody\"",
                   "<Library FileName=\"Probe.so\"><F Name=\"Probe\"/></Library>",
                   "<Track><E LibraryFileName=\"Probe.so\" FunctionName=\"Probe\" StartTime=\"0\" "
                   "EndTime=\"10\"><param type=\"const\" val=\"1\"/></E></Track>"));
    PlayerRun run = run_player_in(folder, {"--capture", "f", "--fps", "100", "--size", "64x48", "demo.xml"});
    EXPECT_EQ(run.status, 0) << run.log;
    EXPECT_EQ(run.find_line("ProbeLoader"), -1);
    EXPECT_EQ(captured_frames(folder + "/f").size(), 3u);
}

} // namespace
