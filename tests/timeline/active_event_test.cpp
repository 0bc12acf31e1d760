// The active event of a track, found with a cursor, against the plain rule on random timelines.
#include <gtest/gtest.h>

#include <random>

#include "timeline.h"

namespace
{

// The rule itself: the first event whose end is after t, if t is not before its start.
int32_t reference_active(const std::vector<Event>& events, uint32_t t)
{
    for (size_t i = 0; i < events.size(); ++i) {
        if (events[i].endTime > t)
            return t < events[i].startTime ? -1 : int32_t(i);
    }
    return -1;
}

Event timed(uint32_t start, uint32_t end)
{
    Event event;
    event.startTime = start;
    event.endTime = end;
    return event;
}

} // namespace

TEST(ActiveEvent, EdgesOfTheRule)
{
    std::vector<Event> events;
    for (auto [start, end] : {std::pair<uint32_t, uint32_t>{100, 200},
                              {200, 200},
                              {200, 300},
                              {250, 280},
                              {400, 900},
                              {500, 600}})
        events.push_back(timed(start, end));
    ActiveEventFinder finder(events);
    EXPECT_EQ(finder.find(0), -1);  // before the first event
    EXPECT_EQ(finder.find(100), 0); // start inclusive
    EXPECT_EQ(finder.find(199), 0);
    EXPECT_EQ(finder.find(200), 2);  // end exclusive; the empty event 1 is never active
    EXPECT_EQ(finder.find(260), 2);  // 3 lies inside 2 and is shadowed by it
    EXPECT_EQ(finder.find(300), -1); // a gap
    EXPECT_EQ(finder.find(550), 4);  // 5 is shadowed by 4, which ends later
    EXPECT_EQ(finder.find(900), -1); // after the last end
    EXPECT_EQ(finder.find(150), 0);  // back again
    const std::vector<Event> empty;
    ActiveEventFinder none(empty);
    EXPECT_EQ(none.find(0), -1);
}

TEST(ActiveEvent, MatchesThePlainRuleOnRandomTimelines)
{
    std::mt19937 random(20261208);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<Event> events;
        const int count = int(random() % 40);
        uint32_t time = 0;
        for (int i = 0; i < count; ++i) {
            // Mostly ordered events with gaps, mixed with empty, reversed, overlapping and out-of-order ones.
            uint32_t start, end;
            switch (random() % 6) {
            case 0:
                start = uint32_t(random() % 2000) * 10;
                end = start + uint32_t(random() % 50) * 10;
                break;
            case 1:
                start = time + 10 * (random() % 5);
                end = start - 10 * (random() % 3);
                break;
            default:
                start = time + 10 * (random() % 5);
                end = start + 10 * (1 + random() % 30);
                break;
            }
            events.push_back(timed(start, end));
            time = std::max(time, end);
        }
        ActiveEventFinder finder(events);
        uint32_t t = 0;
        for (int frame = 0; frame < 400; ++frame) {
            switch (random() % 20) {
            case 0:
                t = uint32_t(random() % 25000);
                break; // a jump anywhere, often backwards
            case 1:
                t += uint32_t(random() % 3000);
                break; // a long step forward
            default:
                t += uint32_t(random() % 25);
                break; // ordinary frames
            }
            ASSERT_EQ(finder.find(t), reference_active(events, t))
                << "trial " << trial << " frame " << frame << " t " << t;
        }
    }
}
