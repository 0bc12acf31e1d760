// The resource registry: routing to handlers, the private-use table and the messages.
// The registry lives for the whole process, so every test uses type codes of its own.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>
#include <string>
#include <vector>

#include "data_file.h"
#include "error_log.h"
#include "registry.h"
#include "services.h"

namespace
{

std::vector<std::string> gMessages;
void keep_message(const char* text)
{
    gMessages.push_back(text);
}

std::vector<std::string> gAsked; // "<handler>:<name>" per handler call
int gResourceA, gResourceB;

void* first_acquire(const char* name, void*, bool* outFlag)
{
    gAsked.push_back(std::string("first:") + name);
    *outFlag = true;
    return std::string(name) == "alpha" ? &gResourceA : nullptr;
}

void* second_acquire(const char* name, void* userData, bool* outFlag)
{
    gAsked.push_back(std::string("second:") + name);
    *outFlag = false;
    return userData ? userData : &gResourceB;
}

bool first_release(const char* name, void* resource)
{
    gAsked.push_back(std::string("first-release:") + name);
    return resource == &gResourceA;
}

bool second_release(const char* name, void*)
{
    gAsked.push_back(std::string("second-release:") + name);
    return true;
}

class Registry : public ::testing::Test
{
protected:
    void SetUp() override
    {
        texts_ = {"alpha", "beta", "gamma"};
        set_texts(&texts_);
        registry_set_sink(keep_message);
        gMessages.clear();
        gAsked.clear();
    }
    void TearDown() override
    {
        registry_set_sink(nullptr);
        set_texts(nullptr);
    }
    std::vector<std::string> texts_;
};

} // namespace

TEST_F(Registry, HandlersOfATypeAreAskedInRegistrationOrderUntilOneAnswers)
{
    const uint32_t type = vortel_fourcc("TOR1");
    int32_t before = RegisterType(vortel_fourcc("OTHR"), second_acquire, second_release);
    EXPECT_EQ(RegisterType(type, first_acquire, first_release), before + 1);
    EXPECT_EQ(RegisterType(type, second_acquire, second_release), before + 2);

    bool flag = false;
    EXPECT_EQ(AcquireByName(type, "alpha", nullptr, false, "test", "thing", &flag), &gResourceA);
    EXPECT_TRUE(flag);
    EXPECT_EQ(gAsked, (std::vector<std::string>{"first:alpha"}));
    gAsked.clear();

    int userData = 0;
    EXPECT_EQ(AcquireByIndex(type, 1, &userData, false, "test", "thing", &flag), &userData);
    EXPECT_FALSE(flag);
    EXPECT_EQ(gAsked, (std::vector<std::string>{"first:beta", "second:beta"}));
    gAsked.clear();

    EXPECT_EQ(ReleaseByIndex(type, 0, &gResourceA), 1);
    EXPECT_EQ(ReleaseByName(type, "beta", &gResourceB), 1);
    EXPECT_EQ(gAsked,
              (std::vector<std::string>{"first-release:alpha", "first-release:beta", "second-release:beta"}));
    EXPECT_TRUE(gMessages.empty());

    // A missing outFlag is tolerated: handlers write into a scratch byte.
    EXPECT_EQ(AcquireByName(type, "alpha", nullptr, false, "test", "thing", nullptr), &gResourceA);
}

TEST_F(Registry, FailedAcquisitionsSayWhyOnce)
{
    const uint32_t type = vortel_fourcc("MSG1");
    bool flag = false;
    EXPECT_EQ(AcquireByIndex(type, 7, nullptr, false, "Cam", "camera", &flag), nullptr);
    EXPECT_EQ(AcquireByIndex(type, -1, nullptr, false, "Cam", "camera", &flag), nullptr);
    EXPECT_EQ(AcquireByIndex(type, 2, nullptr, false, "Cam", "camera", &flag), nullptr);
    EXPECT_EQ(AcquireByName(type, "delta", nullptr, false, "VortelEdit", "Beat", &flag), nullptr);
    EXPECT_EQ(AcquireByName(type, nullptr, nullptr, false, nullptr, nullptr, &flag), nullptr);
    EXPECT_EQ(gMessages, (std::vector<std::string>{"Cam could not find the name for the camera nr 7",
                                                   "Cam could not find the name for the camera nr -1",
                                                   "Cam could not find the camera named gamma",
                                                   "VortelEdit could not find the Beat named delta",
                                                   " could not find the  named "}));
}

// A name from the document cannot split a message or drive the terminal: control characters are escaped,
// other UTF-8 is kept.
TEST_F(Registry, QuotedNamesHaveTheirControlCharactersEscaped)
{
    const uint32_t type = vortel_fourcc("MSG3");
    EXPECT_EQ(AcquireByName(type, "caf\xC3\xA9\nforged\x1B[2J\xC2\x9B\t\x7F\xE2\x80\xA8!", nullptr, false,
                            "VortelEdit", "Beat", nullptr),
              nullptr);
    EXPECT_EQ(gMessages, (std::vector<std::string>{"VortelEdit could not find the Beat named "
                                                   "caf\xC3\xA9\\nforged\\x1B[2J\\u009B\\t\\x7F\\u2028!"}));
}

// Without a sink of its own (and in the player, which installs log_line) every message is one line of
// the error log, not run together with the next one.
TEST_F(Registry, MessagesAreLinesOfTheErrorLog)
{
    const std::string path =
        std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".log";
    log_open(path.c_str());
    registry_set_sink(nullptr);
    const uint32_t type = vortel_fourcc("MSG2");
    EXPECT_EQ(AcquireByName(type, "delta", nullptr, false, "VortelEdit", "Beat", nullptr), nullptr);
    EXPECT_EQ(AcquireByIndex(type, 9, nullptr, false, "Cam", "camera", nullptr), nullptr);
    log_close();
    std::string written;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char chunk[256];
        size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            written.append(chunk, got);
        std::fclose(file);
    }
    EXPECT_EQ(written, "VortelEdit could not find the Beat named delta\n"
                       "Cam could not find the name for the camera nr 9\n");
}

TEST_F(Registry, PrivateUseBlocksOtherAcquisitionsByIndexUntilReleased)
{
    const uint32_t type = vortel_fourcc("PRV1");
    RegisterType(type, second_acquire, second_release);
    bool flag = false;
    void* mine = AcquireByIndex(type, 0, nullptr, true, "Owner", "swarm ", &flag);
    ASSERT_EQ(mine, &gResourceB);

    EXPECT_EQ(AcquireByIndex(type, 0, nullptr, false, "Other", "swarm ", &flag), nullptr);
    EXPECT_EQ(gMessages, (std::vector<std::string>{
                             "Other tried to use the swarm  alpha, but it's already in private use!"}));
    // Only requests by index are checked, and only for that type and index.
    EXPECT_EQ(AcquireByName(type, "alpha", nullptr, false, "Other", "swarm ", &flag), &gResourceB);
    EXPECT_EQ(AcquireByIndex(type, 1, nullptr, false, "Other", "swarm ", &flag), &gResourceB);
    EXPECT_EQ(AcquireByIndex(vortel_fourcc("PRV2"), 0, nullptr, false, "Other", "swarm ", &flag), nullptr);
    EXPECT_EQ(gMessages.size(), 2u); // the last one: nobody serves PRV2

    EXPECT_EQ(ReleaseByIndex(type, 0, mine), 1);
    gMessages.clear();
    EXPECT_EQ(AcquireByIndex(type, 0, nullptr, false, "Other", "swarm ", &flag), &gResourceB);
    EXPECT_TRUE(gMessages.empty());
}

TEST_F(Registry, ReleasesThatNobodyTakesAreQuiet)
{
    const uint32_t type = vortel_fourcc("REL1");
    RegisterType(type, first_acquire, first_release);
    EXPECT_EQ(ReleaseByIndex(type, -1, &gResourceA), 0); // a negative index asks no handler
    EXPECT_EQ(ReleaseByIndex(type, 3, &gResourceA), 0);  // nor does an index without a text
    EXPECT_TRUE(gAsked.empty());
    EXPECT_EQ(ReleaseByName(type, "beta", &gResourceB), 0);
    EXPECT_EQ(ReleaseByName(vortel_fourcc("NONE"), "beta", &gResourceB), 0);
    EXPECT_EQ(gAsked, (std::vector<std::string>{"first-release:beta"}));
    EXPECT_TRUE(gMessages.empty());
}

TEST_F(Registry, PrivateAcquisitionsByNameRecordNothing)
{
    const uint32_t type = vortel_fourcc("PBN1");
    RegisterType(type, second_acquire, second_release);
    bool flag = false;
    EXPECT_NE(AcquireByName(type, "alpha", nullptr, true, "A", "thing", &flag), nullptr);
    EXPECT_NE(AcquireByIndex(type, 0, nullptr, false, "B", "thing", &flag), nullptr);
    EXPECT_TRUE(gMessages.empty());
}

TEST_F(Registry, ThePrivateUseTableNeverOverflows)
{
    const uint32_t type = vortel_fourcc("FUL1");
    RegisterType(type, second_acquire, second_release);
    texts_.clear();
    for (int i = 0; i <= kMaxPrivateUse; ++i)
        texts_.push_back("item" + std::to_string(i));
    bool flag = false;
    for (int i = 0; i < kMaxPrivateUse; ++i)
        ASSERT_NE(AcquireByIndex(type, i, nullptr, true, "Hog", "item", &flag), nullptr) << i;
    gAsked.clear();

    EXPECT_EQ(AcquireByIndex(type, kMaxPrivateUse, nullptr, true, "Hog", "item", &flag), nullptr);
    EXPECT_TRUE(gAsked.empty()) << "no handler is asked for a refused private acquisition";
    EXPECT_EQ(gMessages,
              (std::vector<std::string>{
                  "Hog could not take the item item512 for private use: 512 resources are already in "
                  "private use"}));
    // Shared acquisitions still work, and a release makes room again.
    EXPECT_NE(AcquireByIndex(type, kMaxPrivateUse, nullptr, false, "Hog", "item", &flag), nullptr);
    ReleaseByIndex(type, 100, &gResourceB);
    EXPECT_NE(AcquireByIndex(type, kMaxPrivateUse, nullptr, true, "Hog", "item", &flag), nullptr);
    EXPECT_EQ(AcquireByIndex(type, 100, nullptr, true, "Hog", "item", &flag), nullptr);

    for (int i = 0; i <= kMaxPrivateUse; ++i)
        ReleaseByIndex(type, i, &gResourceB);
}

TEST_F(Registry, FilesAreResourcesOfThePlayerOnceADataFileWasOpened)
{
    {
        std::FILE* file = std::fopen("registry_file.txt", "wb");
        ASSERT_NE(file, nullptr);
        std::fputs("four", file);
        std::fclose(file);
    }
    open_data_file(nullptr); // registers 'FILE' even when no data file is in use
    texts_ = {"registry_file.txt", "no_such_file.txt"};
    bool isStatic = false;
    auto* stream =
        static_cast<SDL_RWops*>(AcquireByIndex(kTypeFile, 0, nullptr, false, "Reader", "file", &isStatic));
    ASSERT_NE(stream, nullptr);
    EXPECT_TRUE(isStatic);
    char text[8] = {};
    EXPECT_EQ(SDL_RWread(stream, text, 1, sizeof(text)), 4);
    EXPECT_STREQ(text, "four");
    EXPECT_EQ(ReleaseByIndex(kTypeFile, 0, stream), 1);

    EXPECT_EQ(AcquireByIndex(kTypeFile, 1, nullptr, false, "Reader", "file", &isStatic), nullptr);
    EXPECT_EQ(gMessages, (std::vector<std::string>{"Reader could not find the file named no_such_file.txt"}));
}
