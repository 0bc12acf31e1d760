// Writing the document with undo and redo: the bytes on disk, the backup beside it, outside changes.
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "document_history.h"

using studio::DocumentHistory;

namespace
{

std::string read_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void write_bytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::set<std::string> files_in(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// A fresh folder named after the running test, holding demo.xml with `bytes`.
std::string fresh_document(const std::string& bytes)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string folder = std::string(info->test_suite_name()) + "." + info->name();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    write_bytes(folder + "/demo.xml", bytes);
    return folder + "/demo.xml";
}

} // namespace

TEST(StudioHistory, WriteUndoAndRedoPutTheExactBytesOnDiskAndKeepTheOldOnesBeside)
{
    const std::string path = fresh_document("<D>\r\n0</D>");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    DocumentHistory history(path);
    std::string error;
    EXPECT_FALSE(history.write("<D>never</D>", &error));
    EXPECT_EQ(error, "the document " + path + " has not been read yet");
    ASSERT_TRUE(history.reload_from_disk(&error)) << error;

    ASSERT_TRUE(history.write("<D>1</D>", &error)) << error;
    ASSERT_TRUE(history.write("<D>2</D>\n", &error)) << error;
    EXPECT_EQ(read_bytes(path), "<D>2</D>\n");
    EXPECT_EQ(read_bytes(path + "~"), "<D>1</D>");
    EXPECT_EQ(history.undo_depth(), 2u);

    ASSERT_TRUE(history.undo(&error)) << error;
    ASSERT_TRUE(history.undo(&error)) << error;
    EXPECT_EQ(read_bytes(path), "<D>\r\n0</D>");
    EXPECT_EQ(read_bytes(path + "~"), "<D>1</D>");
    EXPECT_FALSE(history.undo(&error));
    EXPECT_EQ(error, "nothing to undo");
    EXPECT_FALSE(history.changed_on_disk());
    EXPECT_EQ(history.redo_depth(), 2u);

    ASSERT_TRUE(history.redo(&error)) << error;
    EXPECT_EQ(read_bytes(path), "<D>1</D>");
    EXPECT_EQ(history.current(), "<D>1</D>");
    EXPECT_EQ(read_bytes(path + "~"), "<D>\r\n0</D>");
    // A new write forgets what could be redone.
    ASSERT_TRUE(history.write("<D>3</D>", &error)) << error;
    EXPECT_EQ(history.redo_depth(), 0u);
    EXPECT_EQ(history.undo_depth(), 2u);

    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    const std::string folder = path.substr(0, path.rfind('/'));
    EXPECT_EQ(files_in(folder), (std::set<std::string>{"demo.xml", "demo.xml~"}))
        << "a temporary file stayed";
}

TEST(StudioHistory, AnOutsideChangeIsNoticedAndTakenInsteadOfOverwritten)
{
    const std::string path = fresh_document("<D>0</D>");
    DocumentHistory history(path);
    std::string error;
    ASSERT_TRUE(history.reload_from_disk(&error)) << error;
    ASSERT_TRUE(history.write("<D>1</D>", &error)) << error;

    write_bytes(path, "<D>saved in an editor</D>");
    EXPECT_FALSE(history.write("<D>2</D>", &error));
    EXPECT_TRUE(history.changed_on_disk());
    EXPECT_EQ(error, path + " was changed outside the studio; reload it and make the edit again");
    EXPECT_EQ(read_bytes(path), "<D>saved in an editor</D>");
    EXPECT_EQ(history.current(), "<D>saved in an editor</D>");
    EXPECT_EQ(history.undo_depth(), 0u);

    // Reloading what the studio itself wrote keeps the history.
    ASSERT_TRUE(history.write("<D>2</D>", &error)) << error;
    ASSERT_TRUE(history.reload_from_disk(&error)) << error;
    EXPECT_EQ(history.undo_depth(), 1u);
    write_bytes(path, "<D>again</D>");
    EXPECT_FALSE(history.undo(&error));
    EXPECT_TRUE(history.changed_on_disk());
    EXPECT_EQ(read_bytes(path), "<D>again</D>");
}
