// MakeWaveGrid and the 'GRID' resources it owns: the sheet's points, its static flag, and who may hold the
// record for how long.
#include "media_effects.h"
#include "media_session.h"
#include "wave_grid.h"

#include <vortel/records.h>

#include <gtest/gtest.h>

#include <cmath>

namespace
{

TEST(WaveSheet, PointsSpanTheSheetRowZeroOnTopAndRiseWithTheWave)
{
    media::WaveGrid grid;
    // 4 x 3 points over 6 x 2 units, amplitude 0.5, wavelength 4, at rest.
    media::make_wave(grid, {4, 3, 6, 2, 0.5f, 4, 0, false}, 0);
    const TextureGridRecord& r = grid.record;
    EXPECT_EQ(r.columns, 4);
    EXPECT_EQ(r.rows, 3);
    EXPECT_EQ(r.width, 6000);
    EXPECT_EQ(r.colors, nullptr);
    const float* p = r.positions;
    EXPECT_FLOAT_EQ(p[0], -3); // (row 0, column 0): top left
    EXPECT_FLOAT_EQ(p[1], 1);
    EXPECT_FLOAT_EQ(p[(2 * 4 + 3) * 3 + 0], 3); // (row 2, column 3): bottom right
    EXPECT_FLOAT_EQ(p[(2 * 4 + 3) * 3 + 1], -1);
    // x = -1 lies a quarter wavelength before 0: z = 0.5 sin(-pi / 2).
    EXPECT_NEAR(p[1 * 3 + 2], -0.5f, 1e-6);
    // A quarter second at 2 units per second moves the wave half a unit along x.
    media::make_wave(grid, {4, 3, 6, 2, 0.5f, 4, 2, false}, 0.25);
    EXPECT_NEAR(grid.record.positions[2 * 3 + 2], 0.5 * std::sin(2 * M_PI * (1 - 0.5) / 4), 1e-6);
    EXPECT_NEAR(grid.record.positions[1 * 3 + 2], 0.5 * std::sin(2 * M_PI * (-1 - 0.5) / 4), 1e-6);
}

TEST(WaveSheet, ColoursAreOpaqueOnTheCrestsAndAFlatSheetStaysFlat)
{
    media::WaveGrid grid;
    media::make_wave(grid, {5, 2, 4, 2, 1, 4, 0, true}, 0);
    ASSERT_NE(grid.record.colors, nullptr);
    // Column 3 sits at x = 1, a quarter wavelength in: the crest.
    EXPECT_EQ(grid.record.colors[3 * 4 + 0], 255);
    EXPECT_EQ(grid.record.colors[1 * 4 + 0], 128); // x = -1: the trough
    EXPECT_EQ(grid.record.colors[0 * 4 + 1], 255); // red fades to the right
    EXPECT_EQ(grid.record.colors[4 * 4 + 1], 0);
    media::make_wave(grid, {5, 2, 4, 2, 1, 0, 3, false}, 2);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(grid.record.positions[i * 3 + 2], 0) << i;
    EXPECT_EQ(grid.record.colors, nullptr);
}

class WaveGridEffect : public ::testing::Test
{
protected:
    void SetUp() override { session.take_log(); }
    bool make(EffectCall& event, int32_t phase, int32_t name, int32_t columns, int32_t rows,
              int32_t speed = 1000, bool constant = true, int32_t time = 0)
    {
        return event.call(phase, time, constant, MakeWaveGrid, name, columns, rows, 4000, 2000, 500, 2000,
                          speed, 1);
    }
    TextureGridRecord* acquire(const char* name, bool* isStatic)
    {
        return static_cast<TextureGridRecord*>(MediaSession::get().services.AcquireByName(
            kTypeGrid, name, nullptr, false, "test", "texture grid", isStatic));
    }
    MediaSession& session = MediaSession::get();
};

TEST_F(WaveGridEffect, OwnsItsGridFromFirstToLastCallAndWavesItEveryCall)
{
    const int32_t name = session.text("flag");
    EffectCall event;
    EXPECT_TRUE(make(event, 0, name, 8, 4, 1000, true, 0));
    EXPECT_EQ(event.state.status, 2);
    bool isStatic = true;
    TextureGridRecord* grid = acquire("flag", &isStatic);
    ASSERT_NE(grid, nullptr);
    EXPECT_FALSE(isStatic) << "a running wave must be looked up again each frame";
    EXPECT_EQ(grid->columns, 8);
    ASSERT_NE(grid->colors, nullptr);
    const float before = grid->positions[2];
    make(event, 1, name, 8, 4, 1000, true, 250);
    EXPECT_EQ(event.state.status, 1);
    EXPECT_NE(grid->positions[2], before);
    EXPECT_NE(MediaSession::get().services.ReleaseByName(kTypeGrid, "flag", grid), 0);

    make(event, -1, name, 8, 4);
    EXPECT_EQ(event.slot, nullptr);
    EXPECT_EQ(acquire("flag", &isStatic), nullptr);
}

TEST_F(WaveGridEffect, StaticOnlyWhenNothingMoves)
{
    const int32_t name = session.text("still");
    bool isStatic = false;
    EffectCall standing;
    make(standing, 0, name, 3, 3, 0, true);
    TextureGridRecord* grid = acquire("still", &isStatic);
    ASSERT_NE(grid, nullptr);
    EXPECT_TRUE(isStatic);
    MediaSession::get().services.ReleaseByName(kTypeGrid, "still", grid);
    make(standing, 1, name, 3, 3, 0, false); // an animated parameter
    ASSERT_NE(acquire("still", &isStatic), nullptr);
    EXPECT_FALSE(isStatic);
    MediaSession::get().services.ReleaseByName(kTypeGrid, "still", nullptr);
    make(standing, -1, name, 3, 3, 0);
}

TEST_F(WaveGridEffect, AHolderKeepsTheGridAfterItsMakerEnds)
{
    const int32_t name = session.text("kept");
    EffectCall event;
    make(event, 0, name, 5, 5);
    bool isStatic = false;
    TextureGridRecord* grid = acquire("kept", &isStatic);
    ASSERT_NE(grid, nullptr);
    make(event, -1, name, 5, 5);
    EXPECT_EQ(acquire("kept", &isStatic), nullptr) << "nobody new gets a grid no event makes";
    EXPECT_EQ(grid->positions[0], -2.0f) << "but the holder still reads valid points";
    EXPECT_NE(MediaSession::get().services.ReleaseByName(kTypeGrid, "kept", grid), 0);
    EXPECT_EQ(MediaSession::get().services.ReleaseByName(kTypeGrid, "kept", grid), 0) << "released once only";
}

TEST_F(WaveGridEffect, RefusesASecondMakerAMissingNameAndSizesOutOfRange)
{
    const int32_t name = session.text("twice");
    EffectCall first, second;
    make(first, 0, name, 3, 3);
    EXPECT_TRUE(make(second, 0, name, 3, 3));
    EXPECT_EQ(second.state.status, -1);
    EXPECT_TRUE(session.logged("MakeWaveGrid: a grid named 'twice' is already being made"));
    make(second, 1, name, 3, 3);
    make(second, -1, name, 3, 3); // gives up nothing it never had
    bool isStatic = false;
    EXPECT_NE(acquire("twice", &isStatic), nullptr) << "the first maker's grid is untouched";
    MediaSession::get().services.ReleaseByName(kTypeGrid, "twice", nullptr);
    make(first, -1, name, 3, 3);

    EffectCall nameless;
    EXPECT_TRUE(make(nameless, 0, 9999, 3, 3));
    EXPECT_TRUE(session.logged("MakeWaveGrid: no text at index 9999 for the grid's name"));
    make(nameless, -1, 9999, 3, 3);

    const int32_t huge = session.text("huge");
    EffectCall sized;
    make(sized, 0, huge, 1000, -4);
    EXPECT_TRUE(
        session.logged("MakeWaveGrid: grid 'huge' of 1000 x -4 points is out of range; made 256 x 2"));
    TextureGridRecord* grid = acquire("huge", &isStatic);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->columns, 256);
    EXPECT_EQ(grid->rows, 2);
    MediaSession::get().services.ReleaseByName(kTypeGrid, "huge", nullptr);
    session.take_log();
    make(sized, 1, huge, 1000, -4);
    EXPECT_TRUE(session.log.empty()) << "reported once per event";
    make(sized, -1, huge, 1000, -4);
}

} // namespace
