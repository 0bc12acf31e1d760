// scripts/pack-data writes what the player's data file reader serves: members by name in any case, with
// their exact bytes (binary ones too), other names from disk; and it refuses what the reader could not use.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "data_file.h"

namespace
{

std::string write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

int pack(const std::string& arguments)
{
    return std::system(
        (std::string(VORTEL_SOURCE_DIR) + "/scripts/pack-data " + arguments + " 2>/dev/null").c_str());
}

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

TEST(PackData, MembersAreServedWithTheirExactBytesWhateverTheCase)
{
    // Bytes the text header must not disturb: line ends, blanks, NUL and a leading digit.
    const std::string binary("7\n \0\r\xff"
                             "12 34\n",
                             11);
    write_file("pack_binary.bin", binary);
    write_file("pack_text.flame", "flame text\n");
    write_file("pack_disk_only.txt", "from disk");
    ASSERT_EQ(pack("pack_ok.dat pack_binary.bin Sub/Named.TXT=pack_text.flame"), 0);

    ASSERT_TRUE(open_data_file("pack_ok.dat"));
    EXPECT_EQ(read_all(OpenFile("PACK_BINARY.BIN")), binary);
    EXPECT_EQ(read_all(OpenFile("sub/named.txt")), "flame text\n") << "a member keeps the name it was given";
    EXPECT_EQ(read_all(OpenFile("pack_text.flame")), "flame text\n")
        << "not packed under its file name: disk";
    EXPECT_EQ(read_all(OpenFile("pack_disk_only.txt")), "from disk");
    open_data_file(nullptr);
}

TEST(PackData, RefusesMembersTheReaderCouldNotTellApartOrRead)
{
    write_file("pack_a.txt", "a");
    write_file("pack_empty.txt", "");
    EXPECT_NE(pack("pack_bad.dat pack_a.txt PACK_A.TXT=pack_a.txt"), 0) << "same name in upper case";
    EXPECT_NE(pack("'pack_bad.dat' 'two words=pack_a.txt'"), 0) << "a blank in a name";
    EXPECT_NE(pack("pack_bad.dat " + std::string(512, 'n') + "=pack_a.txt"), 0) << "a name over 511 bytes";
    EXPECT_NE(pack("pack_bad.dat pack_missing.txt"), 0) << "a file that is not there";
    EXPECT_NE(pack("pack_bad.dat pack_empty.txt"), 0) << "no bytes at all: the reader refuses such a file";
    std::ifstream none("pack_bad.dat");
    EXPECT_FALSE(none.good()) << "nothing is left behind when packing fails";

    // Empty members beside others are fine.
    ASSERT_EQ(pack("pack_mixed.dat pack_empty.txt pack_a.txt"), 0);
    ASSERT_TRUE(open_data_file("pack_mixed.dat"));
    EXPECT_EQ(read_all(OpenFile("pack_empty.txt")), "");
    EXPECT_EQ(read_all(OpenFile("pack_a.txt")), "a");
    open_data_file(nullptr);
}

} // namespace
