// The packed data file: which headers are accepted, and where OpenFile serves a name from.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "data_file.h"
#include "error_log.h"
#include "registry.h"

namespace
{

// Files are named after the running test: the tests run in parallel in one folder.
std::string test_file(const std::string& suffix)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->test_suite_name()) + "." + info->name() + suffix;
}

std::string write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

bool open_packed(const std::string& bytes)
{
    return open_data_file(write_file(test_file(".dat"), bytes).c_str());
}

// The whole content of a stream (closed afterwards), or "(null)".
std::string read_all(SDL_RWops* stream)
{
    if (!stream)
        return "(null)";
    std::string bytes;
    char chunk[256];
    int got;
    while ((got = SDL_RWread(stream, chunk, 1, sizeof chunk)) > 0)
        bytes.append(chunk, size_t(got));
    CloseFile(stream);
    return bytes;
}

std::string opened(const std::string& name)
{
    return read_all(OpenFile(name.c_str()));
}

const std::string kExample = std::string("7Fxyz 2 10\na.png 4\nB.PNG 6\n") + "ABCD" + "efghij" + "\n12345\n";

class DataFile : public ::testing::Test
{
protected:
    void TearDown() override { open_data_file(nullptr); }
};

} // namespace

TEST_F(DataFile, ServesMembersFromMemoryWhateverTheCaseOfTheName)
{
    ASSERT_TRUE(open_packed(kExample));
    EXPECT_EQ(opened("A.PNG"), "ABCD");
    EXPECT_EQ(opened("a.png"), "ABCD");
    EXPECT_EQ(opened("b.png"), "efghij");
    EXPECT_EQ(opened("c.png"), "(null)");
}

TEST_F(DataFile, NamesNotInTheFileAreOpenedFromDiskAsGiven)
{
    write_file(test_file(".txt"), "from disk");
    ASSERT_TRUE(open_packed(kExample));
    EXPECT_EQ(opened(test_file(".txt")), "from disk");
    open_data_file(nullptr);
    EXPECT_EQ(opened(test_file(".txt")), "from disk");
    EXPECT_EQ(opened("a.png"), "(null)");
    EXPECT_EQ(OpenFile(nullptr), nullptr);
}

// A demo started from another folder finds the files it names beside itself; the working folder and the
// data file still come first, and absolute names are never joined to the folder.
TEST_F(DataFile, RelativeNamesMissingFromTheWorkingFolderAreFoundInTheMediaFolder)
{
    const std::string folder = test_file(".media");
    ASSERT_EQ(system(("mkdir -p " + folder).c_str()), 0);
    write_file(folder + "/beside.txt", "beside the demo");
    write_file(folder + "/" + test_file(".txt"), "beside, shadowed");
    write_file(test_file(".txt"), "working folder");
    EXPECT_EQ(opened("beside.txt"), "(null)");
    set_media_folder(folder);
    EXPECT_EQ(opened("beside.txt"), "beside the demo");
    EXPECT_EQ(opened(test_file(".txt")), "working folder");
    EXPECT_EQ(opened("/beside.txt"), "(null)");
    ASSERT_TRUE(open_packed("7Fxyz 1 6\nbeside.txt 6\n" + std::string("packed") + "\n12345\n"));
    EXPECT_EQ(opened("beside.txt"), "packed");
    set_media_folder("");
    open_data_file(nullptr);
    EXPECT_EQ(opened("beside.txt"), "(null)");
}

TEST_F(DataFile, MemberStreamsSeekAndReportTheirSize)
{
    ASSERT_TRUE(open_packed(kExample));
    SDL_RWops* stream = OpenFile("b.png");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(SDL_RWseek(stream, 0, RW_SEEK_END), 6);
    EXPECT_EQ(SDL_RWseek(stream, 2, RW_SEEK_SET), 2);
    char c = 0;
    EXPECT_EQ(SDL_RWread(stream, &c, 1, 1), 1);
    EXPECT_EQ(c, 'g');
    CloseFile(stream);
}

TEST_F(DataFile, DirectoriesArePartOfTheNameAndSlashesDiffer)
{
    ASSERT_TRUE(open_packed("7F 3 6\ndata/pic.png 2\ndata\\pic.png 2\npic.png 2\n" + std::string("AABBCC")));
    EXPECT_EQ(opened("Data/Pic.PNG"), "AA");
    EXPECT_EQ(opened("DATA\\pic.png"), "BB");
    EXPECT_EQ(opened("pic.png"), "CC");
    EXPECT_EQ(opened("./data/pic.png"), "(null)");
}

TEST_F(DataFile, TheFirstOfEqualNamesWinsAndEmptyMembersOpen)
{
    ASSERT_TRUE(open_packed("7F 3 5\nx.bin 2\nempty 0\nX.BIN 3\n" + std::string("12345")));
    EXPECT_EQ(opened("x.bin"), "12");
    EXPECT_EQ(opened("EMPTY"), "");
}

TEST_F(DataFile, AWrongMarkerMeansNoDataFile)
{
    EXPECT_FALSE(open_packed("7E 1 4\na.png 4\nABCD"));
    EXPECT_FALSE(open_packed("7 1 4\na.png 4\nABCD"));
    EXPECT_FALSE(open_packed("  7f 1 4\na.png 4\nABCD"));
    EXPECT_EQ(opened("a.png"), "(null)");
    EXPECT_TRUE(open_packed("\n 7F 1 4\na.png 4\nABCD")); // leading blanks are skipped like fscanf does
}

TEST_F(DataFile, OpeningAnotherFileForgetsThePreviousOne)
{
    ASSERT_TRUE(open_packed(kExample));
    EXPECT_FALSE(open_data_file("no-such-file.dat"));
    EXPECT_EQ(opened("a.png"), "(null)");
    EXPECT_FALSE(open_data_file("."));         // a directory
    EXPECT_FALSE(open_data_file("/dev/zero")); // endless: must not be read to the end
}

TEST_F(DataFile, HeadersThatDoNotDescribeTheFileAreRefused)
{
    const char* refused[] = {
        "",
        "7F",
        "7F 0 0\n",
        "7F 1 0\na 0\n",
        "7F -1 4\na.png 4\nABCD",
        "7F 1 4\na.png 4\nABC",                        // a member cut short
        "7F 1 4\na.png 4",                             // no line end, no content
        "7F 2 4\na.png 4\nABCD",                       // fewer entries than counted
        "7F 2 10\na.png 4\nb.png 7\nABCDEFGHIJK",      // sizes add up to more than the content
        "7F 2 10\na.png -4\nb.png 14\nABCDEFGHIJKLMN", // a negative size
        "7F 1 4\na.png x\nABCD",
        "7F 1 99999999999\na.png 4\nABCD",   // more than 32 bits
        "7F 2147483647 1\na 1\nA",           // a count the file cannot hold
        "7F 1 2147483647\na 2147483647\nAB", // a size the file cannot hold
    };
    for (const char* header : refused) {
        EXPECT_FALSE(open_packed(header)) << header;
        EXPECT_EQ(opened("a.png"), "(null)") << header;
    }
}

TEST_F(DataFile, AContentLargerThanItsMembersIsUsedAndTheBytesAfterThemAreNot)
{
    ASSERT_TRUE(open_packed("7F 2 16\na.png 4\nb.png 5\nABCDEFGHIunused!\n16\n"));
    EXPECT_EQ(opened("a.png"), "ABCD");
    EXPECT_EQ(opened("b.png"), "EFGHI");
    // Unused bytes need not be there at all.
    ASSERT_TRUE(open_packed("7F 1 1000\na.png 4\nABCD"));
    EXPECT_EQ(opened("a.png"), "ABCD");
}

TEST_F(DataFile, AFileThatBeginsLikeADataFileButIsNotOneIsRefusedWithOneLine)
{
    const std::string log = test_file(".log");
    log_open(log.c_str());
    EXPECT_FALSE(open_packed("7F 2 8\na.png 4\nb.png 5\nABCDEFGHI"));
    EXPECT_FALSE(open_packed("7F 1 4\na.png 4\nABC"));
    EXPECT_FALSE(open_packed("7E 1 4\na.png 4\nABCD")); // no data file at all: silent
    EXPECT_FALSE(open_data_file("no-such-file.dat"));   // silent too
    EXPECT_FALSE(open_data_file("/dev/zero"));
    log_close();
    const std::string path = test_file(".dat");
    std::ifstream in(log);
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(in, line))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Data file " + path +
                             ": its members hold more than the content size of 8 bytes; "
                             "it is not used",
                         "Data file " + path + ": the file ends before its members do; it is not used",
                         "Data file: /dev/zero is not a regular file; it is not read",
                     }));
}

TEST_F(DataFile, OnlyRegularFilesAreOpenedFromDisk)
{
    const std::string log = test_file(".log");
    const std::string pipe = test_file(".fifo");
    std::remove(pipe.c_str());
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    log_open(log.c_str());
    // Neither an endless device, nor a pipe without a writer (opening it must not wait), nor a folder.
    for (const std::string& name : {std::string("/dev/zero"), pipe, std::string(".")})
        EXPECT_EQ(OpenFile(name.c_str()), nullptr) << name;
    log_close();
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "OpenFile: /dev/zero is not a regular file; it is not read\n"
                          "OpenFile: " +
                              pipe +
                              " is not a regular file; it is not read\n"
                              "OpenFile: . is not a regular file; it is not read\n");
    std::remove(pipe.c_str());
}

TEST_F(DataFile, MemberNamesHoldAtMost511Characters)
{
    const std::string longest(511, 'n');
    ASSERT_TRUE(open_packed("7F 1 2\n" + longest + " 2\nOK"));
    EXPECT_EQ(opened(longest), "OK");
    // A longer name never matches, not even by its first 511 characters.
    EXPECT_EQ(opened(longest + "n"), "(null)");
    EXPECT_FALSE(open_packed("7F 1 2\n" + longest + "n 2\nOK"));
}

TEST_F(DataFile, FilesAreAlsoAResourceType)
{
    ASSERT_TRUE(open_packed(kExample));
    bool isStatic = false;
    auto* stream =
        static_cast<SDL_RWops*>(AcquireByName(kTypeFile, "b.png", nullptr, false, "test", "file", &isStatic));
    ASSERT_NE(stream, nullptr);
    EXPECT_TRUE(isStatic);
    EXPECT_EQ(SDL_RWseek(stream, 0, RW_SEEK_END), 6);
    EXPECT_NE(ReleaseByName(kTypeFile, "b.png", stream), 0);
}
