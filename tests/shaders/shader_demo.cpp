#include "shader_demo.h"

#include "player_runner.h"
#include "scaffold_demo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace
{

std::string declaration(const std::string& function, int count)
{
    std::string xml = "    <Function Name=\"" + function + "\">";
    for (int i = 0; i < count; ++i)
        xml += "<Param Name=\"a" + std::to_string(i) + "\"/>";
    return xml + "</Function>\n";
}

} // namespace

std::string shader_quad(int32_t start, int32_t end, int32_t shader, int32_t channel0, int32_t channel1,
                        const std::vector<int32_t>& params, int32_t opacity, int32_t blendSrc,
                        int32_t blendDst, int32_t renderTo)
{
    std::vector<int32_t> args = {shader, channel0, channel1};
    args.insert(args.end(), params.begin(), params.end());
    args.insert(args.end(), {opacity, blendSrc, blendDst, renderTo});
    return event("ShaderQuad", start, end, args, "Shaders.so");
}

std::string shader_demo(int32_t runningTime, const std::vector<std::string>& tracks,
                        const std::vector<std::string>& texts)
{
    std::string xml = scaffold_demo(runningTime, tracks, texts, "", false, true);
    const std::string library = "  <Library FileName=\"Shaders.so\">\n" + declaration("ShaderQuad", 11) +
                                declaration("ShaderPost", 5) + "  </Library>\n";
    xml.insert(xml.find("  <Track>"), library);
    return xml;
}

std::string demo_folder(const std::string& name, const std::string& demo, const Files& files)
{
    std::string folder = fresh_folder(name);
    write_file(folder, "demo.xml", demo);
    for (const auto& [file, text] : files)
        write_file(folder, file, text);
    return folder;
}

std::vector<Picture> capture_in(const std::string& folder, const std::vector<std::string>& extra,
                                std::string* log)
{
    std::vector<std::string> args = {"--capture", "frames", "--fps", "20"};
    if (std::find(extra.begin(), extra.end(), "--size") == extra.end())
        args.insert(args.end(), {"--size", "320x240"});
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back("demo.xml");
    PlayerRun run = run_player_in(folder, args);
    EXPECT_EQ(run.status, 0) << run.log << run.stderrText;
    if (log)
        *log = run.log;
    std::vector<Picture> pictures;
    for (const std::string& frame : captured_frames(folder + "/frames"))
        pictures.push_back(Picture::load_png(folder + "/frames/" + frame));
    return pictures;
}

bool near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift : {0, 8, 16})
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}
