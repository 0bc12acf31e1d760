// Screen effects in the real player: captured frames of small demos over flat Paint pictures.
#include <gtest/gtest.h>

#include <gl_window.h>

#include "player_runner.h"
#include "scaffold_demo.h"

#include <cstdlib>
#include <filesystem>

namespace
{

constexpr uint32_t kBlue = 0xFF0000FF, kRed = 0xFFFF0000;

// A blue window with a red 100 x 60 block at (40, 30): the picture the screen effects work on.
std::vector<std::string> flat_picture(int32_t end)
{
    return {track({event("RectGL", 0, end, {255, 0, 0, 40, 30, 100, 60}, "Paint.so")}),
            track({event("FillGL", 0, end, {0, 0, 255}, "Paint.so")})};
}

// Captures `demo` at 20 frames per second on a w x h window; frame k shows demo time 50 k ms.
std::vector<Picture> capture(const std::string& name, const std::string& demo,
                             const std::string& size = "320x240")
{
    std::string folder = fresh_folder(name);
    write_file(folder, "demo.xml", demo);
    PlayerRun run = run_player_in(folder, {"--capture", "frames", "--fps", "20", "--size", size, "demo.xml"});
    EXPECT_EQ(run.status, 0) << run.log << run.stderrText;
    std::vector<Picture> pictures;
    for (const std::string& frame : captured_frames(folder + "/frames"))
        pictures.push_back(Picture::load_png(folder + "/frames/" + frame));
    return pictures;
}

bool near(uint32_t a, uint32_t b, int tolerance = 2)
{
    for (int shift : {0, 8, 16})
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

TEST(ScreenEffects, FadeCoversThePictureAtFullOpacityAndLeavesItAtZero)
{
    std::vector<std::string> tracks = {
        track({event("Fade", 0, 100, {0, 255, 0, 255}), event("Fade", 100, 200, {0, 255, 0, 0}),
               event("Fade", 200, 300, {255, 255, 255, 128})})};
    for (const std::string& t : flat_picture(300))
        tracks.push_back(t);
    std::vector<Picture> frames = capture("fade", scaffold_demo(300, tracks));
    ASSERT_GE(frames.size(), 6u);
    for (auto [x, y] : {std::pair{0, 0}, {319, 239}, {60, 50}, {0, 239}})
        EXPECT_EQ(frames[1].at(x, y), 0xFF00FF00) << "A = 255 covers (" << x << ", " << y << ")";
    EXPECT_EQ(frames[3].at(10, 10), kBlue) << "A = 0 leaves the picture";
    EXPECT_EQ(frames[3].at(60, 50), kRed);
    EXPECT_TRUE(near(frames[5].at(10, 10), 0xFF8080FF)) << std::hex << frames[5].at(10, 10);
    EXPECT_TRUE(near(frames[5].at(60, 50), 0xFFFF8080)) << std::hex << frames[5].at(60, 50);
    frames[5].save_png("fade_half.png");
}

TEST(ScreenEffects, InvertColorsTwiceRestoresThePicture)
{
    std::vector<std::string> tracks = {track({event("InvertColors", 0, 100, {})}),
                                       track({event("InvertColors", 0, 200, {})})};
    for (const std::string& t : flat_picture(200))
        tracks.push_back(t);
    std::vector<Picture> frames = capture("invert", scaffold_demo(200, tracks));
    ASSERT_GE(frames.size(), 4u);
    EXPECT_EQ(frames[1].at(10, 10), kBlue) << "inverted twice";
    EXPECT_EQ(frames[1].at(60, 50), kRed);
    EXPECT_EQ(frames[1].at(319, 239), kBlue);
    EXPECT_EQ(frames[3].at(10, 10), 0xFFFFFF00) << "inverted once: blue becomes yellow";
    EXPECT_EQ(frames[3].at(60, 50), 0xFF00FFFF) << "red becomes cyan";
    EXPECT_EQ(frames[3].at(0, 239), 0xFFFFFF00) << "the quad reaches the bottom-left corner";
    frames[3].save_png("invert_once.png");
}

TEST(ScreenEffects, Color4BGGivesEachCornerItsColour)
{
    // Corners in parameter order: bottom-left red, bottom-right green, top-right blue, top-left white.
    std::vector<std::string> tracks = {
        track({event("Color4BG", 0, 100, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255})})};
    for (const std::string& t : flat_picture(100))
        tracks.push_back(t);
    std::vector<Picture> frames = capture("color4bg", scaffold_demo(100, tracks));
    ASSERT_GE(frames.size(), 2u);
    const Picture& picture = frames[1];
    picture.save_png("color4bg.png");
    EXPECT_TRUE(near(picture.at(0, 239), 0xFFFF0000, 6)) << std::hex << picture.at(0, 239);
    EXPECT_TRUE(near(picture.at(319, 239), 0xFF00FF00, 6)) << std::hex << picture.at(319, 239);
    EXPECT_TRUE(near(picture.at(319, 0), 0xFF0000FF, 6)) << std::hex << picture.at(319, 0);
    EXPECT_TRUE(near(picture.at(0, 0), 0xFFFFFFFF, 6)) << std::hex << picture.at(0, 0);
    EXPECT_NE(picture.at(60, 50), kRed) << "the gradient replaces the picture";
}

TEST(ScreenEffects, BackgroundShowsAPictureFileUpright)
{
    // The quarters picture (gl_window.h) as a file, named by its full path.
    const std::string file = std::filesystem::absolute("background_quarters.png").string();
    ASSERT_TRUE(Picture::from_argb(quarter_pixels(4), 4, 4).save_png(file));
    const std::vector<std::string> tracks = {
        track({event("Background", 0, 100, {1, 255, 255, 255, 255, kGLOne, kGLZero, 0, 0, 0})}),
        track({event("FillGL", 0, 100, {0, 0, 0}, "Paint.so")})};
    std::vector<Picture> frames =
        capture("background_picture", scaffold_demo(100, tracks, {file}, "", false, true));
    ASSERT_GE(frames.size(), 2u);
    frames[1].save_png("background_picture.png");
    EXPECT_EQ(quarters_seen(frames[1]), quarters_upright());
}

TEST(ScreenEffects, LoaderBarAtHalfIsAWhiteBandOnBlack)
{
    std::vector<std::string> tracks = {track({event("LoaderBarWhiteOnBlack", 0, 100, {5000}),
                                              event("LoaderBarWhiteOnBlack", 100, 200, {0})}),
                                       track({event("FillGL", 0, 200, {255, 0, 0}, "Paint.so")})};
    // The same effect also animates the preloading, once per event.
    std::vector<Picture> frames = capture(
        "loader_bar", scaffold_demo(200, tracks, {}, "LoaderAnim=\"LoaderBarWhiteOnBlack\""), "640x480");
    ASSERT_GE(frames.size(), 4u);
    const Picture& half = frames[1];
    half.save_png("loader_half.png");
    ASSERT_EQ(half.width, 640);
    constexpr uint32_t kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;
    EXPECT_EQ(half.at(0, 216), kWhite);
    EXPECT_EQ(half.at(319, 263), kWhite);
    EXPECT_EQ(half.at(160, 240), kWhite);
    EXPECT_EQ(half.at(320, 240), kBlack) << "320 pixels wide";
    EXPECT_EQ(half.at(160, 215), kBlack) << "starts at y = 216";
    EXPECT_EQ(half.at(160, 264), kBlack) << "ends before y = 264";
    EXPECT_EQ(half.at(600, 20), kBlack) << "the whole window is cleared";
    EXPECT_EQ(frames[3].at(0, 240), kBlack) << "progress 0 only clears";
    EXPECT_EQ(frames[3].at(600, 20), kBlack);
}

} // namespace
