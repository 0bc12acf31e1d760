// The frame loop's clock and event handling, and the capture's frame count.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <capture.h>
#include <frame_loop.h>
#include <gl_window.h>

namespace
{

TEST(DemoClock, FixedClockStepsByWholeFrames)
{
    DemoClock clock = DemoClock::fixed(500, 60);
    EXPECT_TRUE(clock.is_fixed());
    std::vector<uint32_t> times;
    for (int k = 0; k < 4; ++k, clock.next_frame())
        times.push_back(clock.now());
    EXPECT_EQ(times, (std::vector<uint32_t>{500, 516, 533, 550}));
}

TEST(DemoClock, FixedClockDoesNotDrift)
{
    DemoClock clock = DemoClock::fixed(0, 30);
    for (int k = 0; k < 3000; ++k)
        clock.next_frame();
    EXPECT_EQ(clock.now(), 100000u);
}

TEST(DemoClock, RealTimeClockStartsAtTheOffset)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0);
    DemoClock clock = DemoClock::real_time(30000);
    EXPECT_FALSE(clock.is_fixed());
    uint32_t now = clock.now();
    EXPECT_GE(now, 30000u);
    EXPECT_LT(now, 31000u);
    SDL_Quit();
}

TEST(DemoClock, PausedClockHoldsItsTimeAndResumesFromIt)
{
    DemoClock clock = DemoClock::fixed(1000, 10);
    clock.next_frame();
    clock.pause();
    clock.next_frame();
    clock.next_frame();
    EXPECT_EQ(clock.now(), 1100u);
    clock.seek(5000);
    EXPECT_EQ(clock.now(), 5000u) << "seeking while paused moves the held time";
    clock.resume();
    EXPECT_EQ(clock.now(), 5000u);
    clock.next_frame();
    EXPECT_EQ(clock.now(), 5100u);
}

TEST(DemoClock, RealTimeClockSeeksAndPauses)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0);
    DemoClock clock = DemoClock::real_time(0);
    clock.seek(20000);
    EXPECT_GE(clock.now(), 20000u);
    EXPECT_LT(clock.now(), 20500u);
    clock.pause();
    uint32_t held = clock.now();
    SDL_Delay(30);
    EXPECT_EQ(clock.now(), held);
    clock.resume();
    EXPECT_LT(clock.now() - held, 25u) << "the pause is not counted";
    SDL_QuitSubSystem(SDL_INIT_TIMER);
}

TEST(CaptureFrameCount, MatchesTheFixedClock)
{
    EXPECT_EQ(FrameCapture::frame_count(0, 1000, 60), 61u);
    EXPECT_EQ(FrameCapture::frame_count(0, 1000, 10), 11u);
    EXPECT_EQ(FrameCapture::frame_count(200, 400, 25), 6u);
    EXPECT_EQ(FrameCapture::frame_count(5, 5, 60), 1u);
    EXPECT_EQ(FrameCapture::frame_count(0, 1, 1000), 2u);
    EXPECT_EQ(FrameCapture::frame_count(10, 5, 60), 0u);
    // Brute force against the clock itself.
    for (int fps : {1, 7, 24, 30, 60, 144, 1000})
        for (uint32_t to : {0u, 1u, 99u, 1000u, 1234u}) {
            DemoClock clock = DemoClock::fixed(0, fps);
            uint64_t frames = 0;
            for (; clock.now() <= to; clock.next_frame())
                ++frames;
            EXPECT_EQ(FrameCapture::frame_count(0, to, fps), frames) << fps << " fps to " << to;
        }
}

class EventPoll : public ::testing::Test
{
protected:
    GLWindow window{64, 48};
    void SetUp() override
    {
        ASSERT_TRUE(window.ok());
        SDL_Event drop;
        while (SDL_PollEvent(&drop)) {
        }
    }
    static void push_key(SDLKey key)
    {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = key;
        SDL_PushEvent(&e);
    }
    static void push_active(Uint8 gain, Uint8 state)
    {
        SDL_Event e{};
        e.type = SDL_ACTIVEEVENT;
        e.active.gain = gain;
        e.active.state = state;
        SDL_PushEvent(&e);
    }
};

TEST_F(EventPoll, EscapeAndQuitEndTheDemoOtherKeysDoNot)
{
    bool stop = false;
    push_key(SDLK_SPACE);
    EXPECT_FALSE(poll_events(&stop));
    push_key(SDLK_ESCAPE);
    EXPECT_TRUE(poll_events(&stop));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_TRUE(poll_events(&stop));
    EXPECT_FALSE(stop);
}

TEST_F(EventPoll, EveryPendingEventIsConsumed)
{
    bool stop = false;
    push_key(SDLK_ESCAPE);
    push_active(0, SDL_APPACTIVE);
    push_key(SDLK_a);
    EXPECT_TRUE(poll_events(&stop));
    EXPECT_TRUE(stop) << "the activation after the Escape was still seen";
    SDL_Event left;
    EXPECT_EQ(SDL_PollEvent(&left), 0);
}

TEST_F(EventPoll, MinimisingStopsTheDemoAndRestoringDoesNot)
{
    bool stop = false;
    push_active(1, SDL_APPACTIVE);
    EXPECT_FALSE(poll_events(&stop));
    EXPECT_FALSE(stop) << "a restored window plays on";
    push_active(0, SDL_APPACTIVE | SDL_APPINPUTFOCUS);
    EXPECT_FALSE(poll_events(&stop));
    EXPECT_FALSE(stop) << "only exactly the active state counts";
    push_active(0, SDL_APPACTIVE);
    EXPECT_FALSE(poll_events(&stop));
    EXPECT_TRUE(stop) << "a minimised window ends the demo at the next frame";
    push_active(0, SDL_APPACTIVE);
    push_active(1, SDL_APPACTIVE);
    poll_events(&stop);
    EXPECT_FALSE(stop) << "restored before the next frame: the demo goes on";
}

// Keys other than Escape go to the listener, with their modifiers.
TEST_F(EventPoll, OtherKeysReachTheListener)
{
    struct Keys : KeyListener {
        std::vector<std::pair<SDLKey, SDLMod>> seen;
        void key_pressed(SDLKey key, SDLMod modifiers) override { seen.push_back({key, modifiers}); }
    } keys;
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_RIGHT;
    e.key.keysym.mod = KMOD_LSHIFT;
    SDL_PushEvent(&e);
    push_key(SDLK_SPACE);
    bool stop = false;
    EXPECT_FALSE(poll_events(&stop, &keys));
    ASSERT_EQ(keys.seen.size(), 2u);
    EXPECT_EQ(keys.seen[0].first, SDLK_RIGHT);
    EXPECT_TRUE(keys.seen[0].second & KMOD_SHIFT);
    EXPECT_EQ(keys.seen[1].first, SDLK_SPACE);
}

} // namespace
