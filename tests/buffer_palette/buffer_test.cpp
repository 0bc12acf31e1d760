// Buffer: a byte string with explicit length and a growth rule callers can predict.
#include <gtest/gtest.h>
#include <string>

#include "buffer.h"

namespace
{

std::string bytes(const Buffer& b)
{
    return std::string(b.data, b.length);
}

TEST(Buffer, ConstructionSetsLengthAndRoomForATerminator)
{
    Buffer empty(5u);
    EXPECT_EQ(empty.length, 0u);
    EXPECT_EQ(empty.capacity, 6u);

    const char raw[] = {'a', 0, 'b'};
    Buffer withZeros(raw, 3);
    EXPECT_EQ(withZeros.length, 3u);
    EXPECT_EQ(withZeros.capacity, 4u);
    EXPECT_EQ(bytes(withZeros), std::string(raw, 3));

    Buffer text("hello");
    EXPECT_EQ(text.length, 5u);
    EXPECT_EQ(text.capacity, 6u);

    Buffer none(nullptr);
    EXPECT_EQ(none.length, 0u);
    EXPECT_EQ(none.capacity, 10u);
    EXPECT_TRUE(none == Buffer(""));
    EXPECT_STREQ(none.PtrC(), "");

    Buffer zeros(nullptr, 2);
    EXPECT_EQ(bytes(zeros), std::string(2, '\0'));
}

TEST(Buffer, AddGrowsByTheFixedRuleAndPtrCTerminates)
{
    Buffer b("abc");
    b.Add("de");
    EXPECT_EQ(b.length, 5u);
    EXPECT_EQ(b.capacity, 11u); // ((4*3 + 2*3) >> 1) + 2
    EXPECT_STREQ(b.PtrC(), "abcde");

    b.Add("fghij"); // exactly fills the room before the terminator: no growth
    EXPECT_EQ(b.capacity, 11u);
    EXPECT_STREQ(b.PtrC(), "abcdefghij");
    b.Add("k");
    EXPECT_EQ(b.capacity, ((11u * 3 + 1 * 3) >> 1) + 2);
    EXPECT_STREQ(b.PtrC(), "abcdefghijk");

    b.Add("");
    b.Add(nullptr);
    EXPECT_EQ(b.length, 11u);

    Buffer fromNull(nullptr);
    for (int i = 0; i < 100; ++i)
        fromNull.Add("xyz");
    EXPECT_EQ(fromNull.length, 300u);
    EXPECT_GE(fromNull.capacity, 301u);
    EXPECT_EQ(std::string(fromNull.PtrC()).substr(297), "xyz");
}

TEST(Buffer, CopiesAreIndependentAndCompareByBytes)
{
    Buffer a("name");
    a.Add("s");
    Buffer copy(a);
    EXPECT_EQ(copy.capacity, a.capacity);
    EXPECT_TRUE(copy == a);
    copy[0] = 'N';
    EXPECT_FALSE(copy == a);
    EXPECT_EQ(bytes(a), "names");

    Buffer assigned(3u);
    assigned = a;
    EXPECT_EQ(assigned.capacity, a.capacity);
    EXPECT_TRUE(assigned == a);
    assigned = assigned;
    EXPECT_EQ(bytes(assigned), "names");

    EXPECT_FALSE(Buffer("ab") == Buffer("abc"));
    const char withZero[] = {'a', 0, 'c'};
    EXPECT_FALSE(Buffer(withZero, 3) == Buffer("a\0d", 3));
    EXPECT_TRUE(Buffer(withZero, 3) == Buffer(withZero, 3));
}

TEST(Buffer, FindReturnsTheFirstMatchAtOrAfterAPosition)
{
    Buffer hay("abcb");
    EXPECT_EQ(hay.Find(Buffer("b"), 0), 1);
    EXPECT_EQ(hay.Find(Buffer("b"), 2), 3);
    EXPECT_EQ(hay.Find(Buffer("b"), 4), -1);
    EXPECT_EQ(hay.Find(Buffer("cb"), 0), 2);
    EXPECT_EQ(hay.Find(Buffer("abcb"), 0), 0);
    EXPECT_EQ(hay.Find(Buffer("abcbx"), 0), -1);
    EXPECT_EQ(hay.Find(Buffer("bd"), 0), -1); // would run past the end
    EXPECT_EQ(hay.Find(Buffer(""), 0), -1);
    EXPECT_EQ(Buffer("").Find(Buffer("a"), 0), -1);
    EXPECT_EQ(hay.Find(Buffer("b"), 0xFFFFFFFFu), -1);

    const char raw[] = {'x', 0, 'y', 0, 'z'};
    const char needle[] = {0, 'z'};
    EXPECT_EQ(Buffer(raw, 5).Find(Buffer(needle, 2), 0), 3);
}

TEST(Buffer, IndexingPastTheEndNeverTouchesOtherMemory)
{
    Buffer b("abc");
    EXPECT_EQ(b[2], 'c');
    EXPECT_DEBUG_DEATH(b[3] = 'x', "index beyond the length");
    EXPECT_DEBUG_DEATH(b[1000] = 'y', "index beyond the length");
    EXPECT_EQ(b.length, 3u);
    EXPECT_STREQ(b.PtrC(), "abc");
}

} // namespace
