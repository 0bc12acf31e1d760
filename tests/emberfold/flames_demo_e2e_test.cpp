// The flames demo (demos/flames) played by the real player and captured: the frames show the flames where
// the document puts them, and nothing is logged. The player runs in a folder of its own on the document
// where it lies: the flame files and the sprite picture are found beside the document.
#include "gl_window.h"
#include "player_runner.h"

#include <gtest/gtest.h>

namespace
{

// Pixels of the box (x0, y0) .. (x1, y1) clearly brighter than the dark blue clear colour.
int lit(const Picture& p, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint32_t c = p.at(x, y);
            n += ((c >> 16) & 0xff) + ((c >> 8) & 0xff) + (c & 0xff) > 120;
        }
    return n;
}

} // namespace

TEST(FlamesDemo, PlaysThroughWithFlamesWhereTheDocumentPutsThem)
{
    const std::string folder = fresh_folder("flames_demo");
    const std::string document = std::string(VORTEL_SOURCE_DIR) + "/demos/flames/flames.xml";
    const PlayerRun run =
        run_player_in(folder, {"--capture", "frames", "--size", "320x240", "--fps", "2", document});
    ASSERT_EQ(run.status, 0) << run.log << run.stderrText;
    EXPECT_EQ(run.log, "");

    const std::vector<std::string> frames = captured_frames(folder + "/frames");
    ASSERT_EQ(frames.size(), 25u); // 0 .. 12000 ms every 500 ms
    auto frame = [&](int k) { return Picture::load_png(folder + "/frames/" + frames[size_t(k)]); };
    // Two flames side by side (tetrahedron and swirl, then the symmetric and the animated one), nothing
    // in the middle; then the morph in the middle.
    for (int k : {2, 6, 10, 14}) {
        const Picture p = frame(k);
        ASSERT_EQ(p.width, 320);
        EXPECT_GT(lit(p, 0, 0, 130, 240), 300) << "frame " << k;
        EXPECT_GT(lit(p, 190, 0, 320, 240), 120) << "frame " << k;
        EXPECT_LT(lit(p, 150, 0, 170, 240), 20) << "frame " << k;
    }
    for (int k : {20, 22, 24}) {
        const Picture p = frame(k);
        EXPECT_GT(lit(p, 100, 60, 220, 180), 300) << "frame " << k;
        EXPECT_LT(lit(p, 0, 0, 40, 240), 20) << "frame " << k;
    }
}
