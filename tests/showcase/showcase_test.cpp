// The showcase as a viewer gets it: played start to end under capture at a low size and frame rate, its
// frames at the middle of each scene checked for content, and the same times captured again from the packed
// copy and as short ranges of their own.
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
// One time in each scene: ring, flower, swarms, flames, flame morph, pictures of the ring.
const std::vector<int> kTimes = {6000, 18000, 32000, 44000, 52000, 62000};

// A fresh working folder holding the given files of the built showcase folder.
// ctest runs the tests of one suite as parallel processes: each process gets folders of its own.
std::string folder_with(const std::string& name, const std::vector<std::string>& files)
{
    const std::string folder = fresh_folder(name + "_" + std::to_string(getpid()));
    for (const std::string& file : files)
        EXPECT_EQ(std::system(("cp '" + kShowcase + "/" + file + "' '" + folder + "/'").c_str()), 0) << file;
    return folder;
}

const std::vector<std::string> kPlainFiles = {"showcase.xml",   "showcase.ogg",    "showcase.beat",
                                              "sierpinski.flame", "swirl.flame", "symmetric.flame",
                                              "animated.flame"};

void remove_frames(const std::string& folder)
{
    std::system(("rm -rf '" + folder + "/frames'").c_str());
}

// The log without the flames' requests for their "spark" picture: no plug-in of the showcase makes
// pictures from files yet, and the flames are drawn untextured without it.
std::string complaints(std::string log)
{
    for (const char* effect : {"ShowFlame", "MorphIFS"}) {
        const std::string known = std::string(effect) + " could not find the image named spark";
        for (size_t at; (at = log.find(known)) != std::string::npos;)
            log.erase(at, known.size());
    }
    return log;
}

std::vector<std::string> capture_args(const std::string& document, int from, int to)
{
    return {"--no-setup",           "--size", kSize, "--capture", "frames", "--fps", std::to_string(kFps),
            "--from",               std::to_string(from), "--to", std::to_string(to), document};
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
            const double l = 0.3 * picture.red(x, y) + 0.59 * picture.green(x, y) + 0.11 * picture.blue(x, y);
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
    EXPECT_EQ(complaints(run_.log), "") << "the showcase has nothing to complain about";
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

// The packed copy in a folder of its own holds only the document, the data file and the music, so every
// flame and beat file must come from the data file; its frames equal the unpacked showcase's when both
// capture the same range.
TEST_F(Showcase, ThePackedCopyGivesTheSameFrames)
{
    const std::string packed = folder_with("showcase_packed", {"packed.xml", "showcase.dat", "showcase.ogg"});
    const std::string plain = folder_with("showcase_plain", kPlainFiles);
    for (int ms : {18000, 44000, 52000}) {
        PlayerRun p = run_player_in(packed, capture_args("packed.xml", ms, ms + 500));
        ASSERT_EQ(p.status, 0) << p.log << p.stderrText;
        EXPECT_EQ(complaints(p.log), "") << ms;
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
