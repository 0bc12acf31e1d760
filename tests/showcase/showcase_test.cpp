// The showcase as a viewer gets it: played start to end under capture at a low size and frame rate, its
// frames at the middle of each scene checked for content, the beat-driven cubes and the model scene checked
// where they stand, and the same times captured again from the packed copy and as short ranges of their own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <gl_window.h>

#include <cmath>
#include <cstdlib>
#include <set>

#include "player_runner.h"

namespace
{

const std::string kShowcase = std::string(VORTEL_BIN_DIR) + "/showcase";
const char* kSize = "160x90";
constexpr int kFps = 2;
constexpr int kRunningTime = 72000;
// One time in each scene: ring, flower, swarms, flames, flame morph, models, pictures of the ring.
const std::vector<int> kTimes = {6000, 18000, 30000, 40000, 45000, 54000, 66000};

// A fresh working folder holding the given files of the built showcase folder.
// ctest runs the tests of one suite as parallel processes: each process gets folders of its own.
std::string folder_with(const std::string& name, const std::vector<std::string>& files)
{
    const std::string folder = fresh_folder(name + "_" + std::to_string(getpid()));
    for (const std::string& file : files)
        EXPECT_EQ(std::system(("cp '" + kShowcase + "/" + file + "' '" + folder + "/'").c_str()), 0) << file;
    return folder;
}

const std::vector<std::string> kPlainFiles = {
    "showcase.xml",    "showcase.ogg",   "showcase.beat", "sierpinski.flame", "swirl.flame",
    "symmetric.flame", "animated.flame", "ember.flame",   "ember.flameANI",   "tide.flame",
    "tide.flameANI",   "spark.png",      "ring.obj",      "gem.obj",          "models.mtl",
    "plasma.frag",     "ripple.frag",    "trails.frag"};

void remove_frames(const std::string& folder)
{
    std::system(("rm -rf '" + folder + "/frames'").c_str());
}

std::vector<std::string> capture_args(const std::string& document, int from, int to, int fps = kFps,
                                      const char* size = kSize)
{
    const std::string range[] = {"--from", std::to_string(from), "--to", std::to_string(to)};
    std::vector<std::string> args = {"--no-setup", "--size",           size, "--capture", "frames",
                                     "--fps",      std::to_string(fps)};
    args.insert(args.end(), std::begin(range), std::end(range));
    args.push_back(document);
    return args;
}

double luminance(const Picture& p, int x, int y)
{
    return 0.3 * p.red(x, y) + 0.59 * p.green(x, y) + 0.11 * p.blue(x, y);
}

// Pixels brighter than the dark grounds of the swarm and model scenes.
int lit_pixels(const Picture& p)
{
    int count = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            count += luminance(p, x, y) > 40;
    return count;
}

bool copper(const Picture& p, int x, int y)
{
    return p.red(x, y) > 90 && p.red(x, y) > p.green(x, y) + 30 && p.green(x, y) > p.blue(x, y);
}

// Luminance spread and the number of distinct colours (in 4-bit steps per channel).
struct Content {
    double spread = 0;
    size_t colours = 0;
};

Content content_of(const Picture& picture)
{
    double sum = 0, sumSquares = 0;
    std::set<uint32_t> colours;
    const int n = picture.width * picture.height;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const double l = luminance(picture, x, y);
            sum += l;
            sumSquares += l * l;
            colours.insert((picture.at(x, y) >> 4) & 0x0F0F0F);
        }
    const double mean = sum / n;
    return {std::sqrt(std::max(0.0, sumSquares / n - mean * mean)), colours.size()};
}

int differing_pixels(const Picture& a, const Picture& b)
{
    if (a.width != b.width || a.height != b.height)
        return -1;
    int count = 0;
    for (size_t i = 0; i < a.rgba.size(); i += 4)
        count += a.rgba[i] != b.rgba[i] || a.rgba[i + 1] != b.rgba[i + 1] || a.rgba[i + 2] != b.rgba[i + 2];
    return count;
}

// The whole showcase captured once from the unpacked folder, shared by the tests below.
class Showcase : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        folder_ = folder_with("showcase_full", kPlainFiles);
        run_ = run_player_in(folder_, capture_args("showcase.xml", 0, kRunningTime));
    }

    static Picture full_frame(int ms)
    {
        char name[32];
        std::snprintf(name, sizeof name, "/frames/frame_%05d.png", ms * kFps / 1000);
        return Picture::load_png(folder_ + name);
    }

    static std::string folder_;
    static PlayerRun run_;
};
std::string Showcase::folder_;
PlayerRun Showcase::run_;

TEST_F(Showcase, PlaysToTheEndWithoutComplaint)
{
    ASSERT_EQ(run_.status, 0) << run_.log << run_.stderrText;
    EXPECT_EQ(run_.log, "") << "the showcase has nothing to complain about";
    EXPECT_EQ(captured_frames(folder_ + "/frames").size(), size_t(kRunningTime * kFps / 1000 + 1));
    const Picture first = full_frame(0), last = full_frame(kRunningTime);
    EXPECT_LT(content_of(first).spread + content_of(last).spread, 1.0) << "it fades in from and out to black";
}

TEST_F(Showcase, EveryScenesFramesHaveTheirOwnVariedContent)
{
    ASSERT_EQ(run_.status, 0) << run_.log;
    std::vector<Picture> pictures;
    for (int ms : kTimes) {
        pictures.push_back(full_frame(ms));
        const Picture& p = pictures.back();
        ASSERT_GT(p.width, 0) << ms;
        p.save_png("showcase_" + std::to_string(ms) + "ms.png");
        const Content c = content_of(p);
        EXPECT_GT(c.spread, 12.0) << "frame at " << ms << " ms is nearly flat";
        EXPECT_GT(c.colours, 10u) << "frame at " << ms << " ms has few colours";
    }
    for (size_t i = 1; i < pictures.size(); ++i)
        EXPECT_GT(differing_pixels(pictures[i - 1], pictures[i]), 160 * 90 / 10)
            << kTimes[i - 1] << " ms and " << kTimes[i] << " ms look alike";
    EXPECT_GT(differing_pixels(full_frame(6000), full_frame(7000)), 100) << "the ring scene moves";
}

// The beat file puts a kick every 500 ms from 16 s on: its value jumps to 1 just after each beat and falls to
// 0 by the next, and the cubes at the morphing points take their scale from it. Frames 20 ms and 353 ms after
// a beat (a capture at 3 frames a second), four times over.
TEST_F(Showcase, TheCubesAtTheMorphingPointsSwellOnEveryBeat)
{
    const std::string folder = folder_with("showcase_beat", kPlainFiles);
    PlayerRun r = run_player_in(folder, capture_args("showcase.xml", 30020, 33353, 3, "320x180"));
    ASSERT_EQ(r.status, 0) << r.log << r.stderrText;
    const std::vector<std::string> frames = captured_frames(folder + "/frames");
    ASSERT_EQ(frames.size(), 11u);
    for (size_t k = 0; k + 1 < frames.size(); k += 3) {
        const Picture onBeat = Picture::load_png(folder + "/frames/" + frames[k]);
        const Picture late = Picture::load_png(folder + "/frames/" + frames[k + 1]);
        ASSERT_GT(onBeat.width, 0);
        const int on = lit_pixels(onBeat), off = lit_pixels(late);
        EXPECT_GT(on, off * 12 / 10) << "the cubes just after the beat at " << 30000 + 333 * k << " ms ("
                                     << on << " lit pixels) are not larger than a third of a second later ("
                                     << off << ")";
    }
}

// The copper ring stands in the middle of the model scene, lit from one side, on a dark ground.
TEST_F(Showcase, TheModelSceneShowsTheLitRingInTheMiddle)
{
    ASSERT_EQ(run_.status, 0) << run_.log;
    const Picture p = full_frame(54000);
    ASSERT_GT(p.width, 0);
    int inMiddle = 0, outside = 0;
    double darkest = 255, brightest = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            if (!copper(p, x, y))
                continue;
            const bool middle =
                x > p.width / 4 && x < p.width * 3 / 4 && y > p.height / 5 && y < p.height * 4 / 5;
            (middle ? inMiddle : outside)++;
            darkest = std::min(darkest, luminance(p, x, y));
            brightest = std::max(brightest, luminance(p, x, y));
        }
    EXPECT_GT(inMiddle, p.width * p.height / 20) << "the ring covers the middle of the frame";
    EXPECT_EQ(outside, 0) << "nothing copper away from the middle";
    EXPECT_GT(brightest - darkest, 60) << "the ring is shaded by its light";
    EXPECT_LT(luminance(p, 2, 2) + luminance(p, p.width - 3, p.height - 3), 120) << "a dark ground";
}

// The packed copy in a folder of its own holds only the document, the data file and the music, so every
// flame and beat file must come from the data file; its frames equal the unpacked showcase's when both
// capture the same range.
TEST_F(Showcase, ThePackedCopyGivesTheSameFrames)
{
    const std::string packed = folder_with("showcase_packed", {"packed.xml", "showcase.dat", "showcase.ogg"});
    const std::string plain = folder_with("showcase_plain", kPlainFiles);
    for (int ms : {18000, 40000, 45000, 54000}) {
        PlayerRun p = run_player_in(packed, capture_args("packed.xml", ms, ms + 500));
        ASSERT_EQ(p.status, 0) << p.log << p.stderrText;
        EXPECT_EQ(p.log, "") << ms;
        const Picture fromPack = Picture::load_png(packed + "/frames/frame_00001.png");
        remove_frames(packed);

        PlayerRun u = run_player_in(plain, capture_args("showcase.xml", ms, ms + 500));
        ASSERT_EQ(u.status, 0) << u.log;
        const Picture fromDisk = Picture::load_png(plain + "/frames/frame_00001.png");
        remove_frames(plain);
        ASSERT_GT(fromPack.width, 0) << ms;
        EXPECT_EQ(differing_pixels(fromPack, fromDisk), 0) << "at " << ms + 500 << " ms";
        EXPECT_GT(content_of(fromPack).spread, 12.0) << "the packed copy drew its scene at " << ms + 500;
    }
}

TEST_F(Showcase, ACapturedRangeMatchesTheSameTimesOfTheWholeCapture)
{
    ASSERT_EQ(run_.status, 0) << run_.log;
    const std::string folder = folder_with("showcase_range", kPlainFiles);
    for (auto [from, to] : {std::pair{6000, 7000}, std::pair{30000, 31000}, std::pair{62000, 63000}}) {
        PlayerRun r = run_player_in(folder, capture_args("showcase.xml", from, to));
        ASSERT_EQ(r.status, 0) << r.log;
        std::vector<std::string> frames = captured_frames(folder + "/frames");
        ASSERT_EQ(frames.size(), size_t((to - from) * kFps / 1000 + 1));
        for (size_t k = 0; k < frames.size(); ++k) {
            const int ms = from + int(k) * 1000 / kFps;
            EXPECT_EQ(differing_pixels(Picture::load_png(folder + "/frames/" + frames[k]), full_frame(ms)), 0)
                << "at " << ms << " ms";
        }
        remove_frames(folder);
    }
}

} // namespace
