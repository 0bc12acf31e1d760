// Media that is missing or damaged, through the real player and the real plug-ins: models, pictures and
// flame files that are not there or hold garbage each get their line in Errorlog.txt while the demo plays
// to its end, and a model too large for one 16-bit index mesh is drawn whole.
#include <gtest/gtest.h>

#include <gl_window.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "player_runner.h"

namespace
{

constexpr int kUnit = 100000;

std::string declare(const std::string& library, const std::vector<std::pair<std::string, int>>& functions)
{
    std::string xml = "<Library FileName=\"" + library + "\">";
    for (const auto& [name, count] : functions) {
        xml += "<Function Name=\"" + name + "\">";
        for (int i = 0; i < count; ++i)
            xml += "<Param Name=\"a" + std::to_string(i) + "\"/>";
        xml += "</Function>";
    }
    return xml + "</Library>";
}

std::string event(const std::string& library, const std::string& function, const std::vector<int>& args)
{
    std::string params;
    for (int value : args)
        params += "<param type=\"const\" val=\"" + std::to_string(value) + "\"/>";
    return "<Track><Event LibraryFileName=\"" + library + "\" FunctionName=\"" + function +
           "\" StartTime=\"0\" EndTime=\"1000\">" + params + "</Event></Track>";
}

// Texts: index 1 "theWorld", 2 the model, 3 the picture, 16 the flame file, 5 "theWorld" (the flame's
// group), 15 "flare.png" (the flame's texture, which nobody provides).
// Parameters of the beat kind made constant: the borrowed event's beat pattern is not in these demos.
std::string without_beats(std::string params)
{
    for (size_t at; (at = params.find("<param type=\"beat\"")) != std::string::npos;)
        params.replace(at, params.find("/>", at) + 2 - at, "<param type=\"const\" val=\"20\"/>");
    return params;
}

std::string media_demo(const std::string& model, const std::string& picture, const std::string& flame)
{
    std::vector<std::string> texts(17, "unused");
    texts[1] = texts[5] = "theWorld";
    // An empty Text element would be no text at all and shift the indices after it.
    texts[2] = model.empty() ? "unused" : model;
    texts[3] = picture.empty() ? "unused" : picture;
    texts[15] = "flare.png";
    // The showcase's first ShowFlame event (borrowed below) names its flame by text 14 or 16.
    texts[14] = texts[16] = flame.empty() ? "unused" : flame;
    std::string xml = "<?xml version=\"1.0\"?><Demo><Settings RunningTime=\"300\" UseOpenGL=\"true\" "
                      "NumberOfInputSurfaces=\"0\"/>";
    xml += declare("Scaffold.so", {{"Clear3D", 0}, {"Show3D", 7}, {"SetCamera3D", 10}, {"Object3D", 18}});
    xml += "<Library FileName=\"Media.so\"></Library>";
    xml += declare("Pictor.so", {{"Pictor3D", 15}});
    xml += declare("Emberfold.so", {{"ShowFlame", 22}});
    // Tracks run last to first: Show3D on track 0 draws what the others hung into the scene.
    xml += event("Scaffold.so", "Show3D", {0, 0, 0, 1, 0, 0, 40});
    if (!flame.empty()) {
        std::ifstream params(std::string(VORTEL_SOURCE_DIR) + "/demos/showcase/showcase.xml");
        const std::string showcase((std::istreambuf_iterator<char>(params)),
                                   std::istreambuf_iterator<char>());
        const std::string head = "FunctionName=\"ShowFlame\" StartTime=\"36000\" EndTime=\"42000\">";
        const size_t from = showcase.find(head) + head.size();
        xml += "<Track><Event LibraryFileName=\"Emberfold.so\" FunctionName=\"ShowFlame\" StartTime=\"0\" "
               "EndTime=\"1000\">" +
               without_beats(showcase.substr(from, showcase.find("</Event>", from) - from)) +
               "</Event></Track>";
    }
    if (!picture.empty())
        xml += event("Pictor.so", "Pictor3D", {3, 0, 0, 0, 0, 0, 0, 10000, 255, 1, 0, 0, kUnit, 1, 0});
    if (!model.empty())
        xml += event("Scaffold.so", "Object3D",
                     {2, 255, 200, 0, 0, 0, 0, 0, 0, 0, kUnit, 255, 1, 0, kUnit, 0, 1, 0});
    xml += event("Scaffold.so", "SetCamera3D", {0, 0, -10000, 0, kUnit, 0, 0, 13333, 1, 1000});
    xml += event("Scaffold.so", "Clear3D", {});
    xml += "<Texts>";
    for (const std::string& text : texts)
        xml += "<Text>" + text + "</Text>";
    return xml + "</Texts></Demo>";
}

PlayerRun play(const std::string& name, const std::string& document,
               const std::vector<std::pair<std::string, std::string>>& files = {}, const char* size = "64x48")
{
    const std::string folder = fresh_folder(name);
    write_file(folder, "demo.xml", document);
    for (const auto& [file, bytes] : files)
        write_file(folder, file, bytes);
    return run_player_in(folder, {"--capture", "frames", "--fps", "10", "--size", size, "demo.xml"});
}

void expect_played_cleanly(const PlayerRun& run)
{
    EXPECT_EQ(run.status, 0) << run.log;
    EXPECT_EQ(captured_frames(run.folder + "/frames").size(), 4u);
    EXPECT_EQ(run.stderrText.find("Sanitizer"), std::string::npos) << run.stderrText;
    EXPECT_EQ(run.stderrText.find("runtime error"), std::string::npos) << run.stderrText;
}

bool logged(const PlayerRun& run, const std::string& text)
{
    return run.log.find(text) != std::string::npos;
}

TEST(BadMedia, MissingModelPictureAndFlameAreEachReportedAndTheDemoPlaysOn)
{
    PlayerRun run = play("missing_media", media_demo("missing.obj", "missing.png", "missing.flame"));
    expect_played_cleanly(run);
    EXPECT_TRUE(logged(run, "Object3D: can't open the model file missing.obj")) << run.log;
    EXPECT_TRUE(logged(run, "Media: cannot open picture 'missing.png'\n")) << run.log;
    EXPECT_TRUE(logged(run, "ShowFlame: Could not load IFS fractal missing.flame !")) << run.log;
}

TEST(BadMedia, DamagedPictureAndGarbageFlameFileAreReportedAndTheDemoPlaysOn)
{
    // A PNG signature over noise, and a flame file of words where numbers belong.
    const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(200, '\x5a');
    PlayerRun run =
        play("damaged_media", media_demo("", "damaged.png", "garbage.flame"),
             {{"damaged.png", png}, {"garbage.flame", "3 scale skew rotation 0.5 banana\n\x01\x02"}});
    expect_played_cleanly(run);
    EXPECT_TRUE(logged(run, "Media: cannot decode picture 'damaged.png': ")) << run.log;
    EXPECT_TRUE(logged(run, "Emberfold: garbage.flame ends early or holds a malformed number")) << run.log;
    EXPECT_FALSE(logged(run, "Could not load IFS fractal")) << "the file was there: " << run.log;
}

TEST(BadMedia, ADeviceNamedAsModelPictureAndFlameIsRefusedUnreadAndTheDemoPlaysOn)
{
    // An endless stream: read to its end, it would never let the demo start.
    PlayerRun run = play("device_media", media_demo("/dev/zero", "/dev/zero", "/dev/zero"));
    expect_played_cleanly(run);
    // Each reader tries once; the refusal is the first line of each reader's messages.
    const std::string refused = "OpenFile: /dev/zero is not a regular file; it is not read\n";
    EXPECT_EQ(run.log, refused +
                           "Object3D: can't open the model file /dev/zero\n"
                           "Object3D could not find the 3D object named /dev/zero (track 3, event 0)\n" +
                           refused +
                           "Media: cannot open picture '/dev/zero'\n"
                           "Pictor3D could not find the image named /dev/zero (track 2, event 0)\n" +
                           refused + "ShowFlame: Could not load IFS fractal /dev/zero !\n");
}

// A flat band of 2 x 35,001 points in one OBJ object, two triangles per step: 70,000 triangles over 70,002
// distinct vertices, more than 16-bit indices reach, tiling a band from the bottom of the view to its top
// without gaps.
std::string big_band_obj()
{
    constexpr int rows = 35001;
    std::string obj;
    obj.reserve(4u << 20);
    char line[64];
    for (int j = 0; j < rows; ++j)
        for (double x : {-5.0, 5.0}) {
            std::snprintf(line, sizeof line, "v %.1f %.6f 0\n", x, -9.0 + 18.0 * j / (rows - 1));
            obj += line;
        }
    for (int j = 0; j + 1 < rows; ++j) {
        const int v = 2 * j + 1; // left point of row j; v + 1 its right, v + 2 and v + 3 the row above
        std::snprintf(line, sizeof line, "f %d %d %d\nf %d %d %d\n", v, v + 2, v + 1, v + 1, v + 2, v + 3);
        obj += line;
    }
    return obj;
}

TEST(BadMedia, AModelBeyondSixteenBitIndicesIsDrawnWhole)
{
    PlayerRun run =
        play("big_model", media_demo("band.obj", "", ""), {{"band.obj", big_band_obj()}}, "160x120");
    expect_played_cleanly(run);
    EXPECT_FALSE(logged(run, "Object3D")) << run.log;
    const std::vector<std::string> frames = captured_frames(run.folder + "/frames");
    ASSERT_FALSE(frames.empty());
    const Picture last = Picture::load_png(run.folder + "/frames/" + frames.back());
    ASSERT_EQ(last.width, 160);
    last.save_png("big_model_last_frame.png");
    // Both meshes the object is split into: the band runs from the top of the frame to its bottom in its
    // colour, with the background on either side.
    auto yellow = [&](int x, int y) {
        return last.red(x, y) > 200 && last.green(x, y) > 150 && last.blue(x, y) < 60;
    };
    for (int y = 1; y < last.height - 1; ++y) {
        ASSERT_TRUE(yellow(last.width / 2, y)) << "row " << y << " of the band is missing";
        ASSERT_FALSE(yellow(2, y)) << "row " << y;
        ASSERT_FALSE(yellow(last.width - 3, y)) << "row " << y;
    }
    int width = 0;
    for (int x = 0; x < last.width; ++x)
        width += yellow(x, last.height / 2);
    EXPECT_GT(width, last.width / 4);
    EXPECT_LT(width, last.width * 3 / 4);
}

} // namespace
