// ResourceCache: growth, slot removal, reference counting, eviction, refusals and destruction.
#include "common/resource_cache.h"
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <vortel/plugin.h>

namespace
{

std::vector<std::string> gLog;
std::vector<int> gFreed;

void log_line(const char* text)
{
    gLog.push_back(text);
}

// Objects are ints; freeing one records its value.
void free_int(void* object)
{
    gFreed.push_back(*static_cast<int*>(object));
    delete static_cast<int*>(object);
}

class ResourceCacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gLog.clear();
        gFreed.clear();
    }
    // Adds `n` entries "e0" .. "e<n-1>" holding 0 .. n-1.
    static void fill(ResourceCache& cache, int n, int from = 0)
    {
        for (int i = from; i < from + n; ++i)
            ASSERT_GT(cache.add(new int(i), ("e" + std::to_string(i)).c_str(), i % 2 == 0), 0);
    }
};

TEST_F(ResourceCacheTest, GrowsByAThirdAndKeepsEntriesInPlace)
{
    ResourceCache cache("TestCache", 0, free_int, log_line);
    EXPECT_STREQ(cache.name(), "TestCache");
    EXPECT_EQ(cache.capacity(), 10);
    fill(cache, 10);
    std::vector<void*> before;
    for (int i = 0; i < 10; ++i)
        before.push_back(cache.objectAt(i));
    EXPECT_EQ(cache.add(new int(10), "e10", false), 11);
    EXPECT_EQ(cache.capacity(), 13);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(cache.objectAt(i), before[i]);
        EXPECT_EQ(cache.nameAt(i), "e" + std::to_string(i));
        EXPECT_EQ(cache.refCountAt(i), 1);
        EXPECT_EQ(cache.staticFlagAt(i), i % 2 == 0);
    }
    fill(cache, 3, 11);
    EXPECT_EQ(cache.capacity(), 17);
    for (int i = 0; i < 14; ++i)
        EXPECT_TRUE(cache.release(("e" + std::to_string(i)).c_str()));
    EXPECT_EQ(cache.size(), 0);
    EXPECT_EQ(gFreed.size(), 14u);
}

TEST_F(ResourceCacheTest, FindCountsReferencesAndReportsTheStaticFlag)
{
    ResourceCache cache("TestCache", 0, free_int, log_line);
    fill(cache, 2);
    bool flag = false;
    EXPECT_EQ(*static_cast<int*>(cache.find("e0", &flag)), 0);
    EXPECT_TRUE(flag);
    EXPECT_EQ(cache.refCountAt(0), 2);
    cache.find("e1", &flag);
    EXPECT_FALSE(flag);

    // Unknown names, and the same name in another letter case, leave the flag as it was.
    flag = true;
    EXPECT_EQ(cache.find("nope", &flag), nullptr);
    EXPECT_EQ(cache.find("E0", &flag), nullptr);
    EXPECT_TRUE(flag);
    EXPECT_FALSE(cache.release("nope"));
    EXPECT_FALSE(cache.contains("E0"));
    EXPECT_TRUE(cache.contains("e0"));
    EXPECT_EQ(cache.size(), 2);

    EXPECT_TRUE(cache.release("e0")); // back to 1: still there
    EXPECT_TRUE(gFreed.empty());
    EXPECT_TRUE(cache.release("e0"));
    EXPECT_EQ(gFreed, std::vector<int>{0});
    cache.release("e1");
    cache.release("e1");
}

TEST_F(ResourceCacheTest, RemovalMovesTheLastEntryIntoTheFreedSlot)
{
    ResourceCache cache("TestCache", 0, free_int, log_line);
    fill(cache, 5);
    ASSERT_TRUE(cache.release("e1"));
    EXPECT_EQ(gFreed, std::vector<int>{1});
    ASSERT_EQ(cache.size(), 4);
    EXPECT_STREQ(cache.nameAt(1), "e4");
    EXPECT_TRUE(cache.staticFlagAt(1)); // e4's flag moved with it
    bool flag = false;
    void* moved = cache.find("e4", &flag);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(*static_cast<int*>(moved), 4);
    EXPECT_EQ(cache.refCountAt(1), 2);
    for (const char* name : {"e4", "e4", "e0", "e2", "e3"})
        EXPECT_TRUE(cache.release(name));
    EXPECT_EQ(cache.size(), 0);
    EXPECT_EQ(gFreed.size(), 5u);
}

TEST_F(ResourceCacheTest, KeepReleasedEvictsOnlyWhenAnInsertionFindsMoreThanTenEntries)
{
    ResourceCache cache("Keep", 1, free_int, log_line);
    fill(cache, 11);
    for (int i = 0; i < 11; ++i)
        ASSERT_TRUE(cache.release(("e" + std::to_string(i)).c_str()));
    EXPECT_TRUE(gFreed.empty());
    EXPECT_EQ(cache.size(), 11);
    // Still findable after the last release.
    bool flag;
    ASSERT_NE(cache.find("e3", &flag), nullptr);
    // 11 entries > 10: the lowest unreferenced slot (e0) goes, e10 takes its place.
    cache.add(new int(11), "e11", false);
    EXPECT_EQ(gFreed, std::vector<int>{0});
    EXPECT_FALSE(cache.contains("e0"));
    EXPECT_STREQ(cache.nameAt(0), "e10");
    EXPECT_EQ(cache.size(), 11);
    cache.release("e3");
    cache.release("e11");
    cache.FreeAll();
}

TEST_F(ResourceCacheTest, RefusesASecondEntryOfOneNameAndAReleaseBelowZero)
{
    ResourceCache cache("TestCache", 1, free_int, log_line);
    fill(cache, 1);
    int* twin = new int(99);
    EXPECT_EQ(cache.add(twin, "e0", false), -1);
    EXPECT_EQ(cache.size(), 1);
    EXPECT_EQ(*static_cast<int*>(cache.objectAt(0)), 0);
    ASSERT_EQ(gLog.size(), 1u);
    EXPECT_NE(gLog[0].find("TestCache"), std::string::npos);
    EXPECT_NE(gLog[0].find("\"e0\""), std::string::npos);
    delete twin; // refused objects stay the caller's

    EXPECT_TRUE(cache.release("e0"));
    EXPECT_FALSE(cache.release("e0")); // already 0 (kept because keepReleased is 1)
    EXPECT_EQ(cache.refCountAt(0), 0);
    EXPECT_EQ(gLog.size(), 2u);
    cache.FreeAll();
    EXPECT_EQ(gFreed, std::vector<int>{0});
}

TEST_F(ResourceCacheTest, LongNamesAreCutTo255CharactersAndStillMatch)
{
    ResourceCache cache("TestCache", 0, free_int, nullptr);
    const std::string longName(300, 'x');
    cache.add(new int(7), longName.c_str(), false);
    EXPECT_EQ(std::string(cache.nameAt(0)).size(), 255u);
    EXPECT_TRUE(cache.contains(longName.c_str()));
    int* twin = new int(8);
    EXPECT_EQ(cache.add(twin, longName.c_str(), false), -1); // no log function: silent
    delete twin;
    EXPECT_TRUE(cache.release(longName.c_str()));
    EXPECT_EQ(gFreed, std::vector<int>{7});
}

TEST_F(ResourceCacheTest, FreeAllStopsWithBadAtTheFirstReferencedEntry)
{
    ResourceCache cache("TestCache", 1, free_int, log_line);
    fill(cache, 3);
    cache.release("e0");
    cache.release("e2"); // e1 stays referenced
    try {
        cache.FreeAll();
        FAIL() << "no exception";
    } catch (const BasicException& e) {
        EXPECT_STREQ(e.message, "Bad!");
    }
    // e0 was freed before the stop; e1 and e2 are still held and consistent.
    EXPECT_EQ(gFreed, std::vector<int>{0});
    ASSERT_EQ(cache.size(), 2);
    EXPECT_STREQ(cache.nameAt(0), "e1");
    EXPECT_TRUE(cache.release("e1"));
    cache.FreeAll();
    EXPECT_EQ(gFreed, (std::vector<int>{0, 1, 2}));
}

} // namespace
