#include "scaffold_demo.h"

#include <utility>

namespace
{

// Functions declared for each library, with their argument counts.
const std::vector<std::pair<std::string, int>> kScaffoldFunctions = {
    {"Clear3D", 0},
    {"Show3D", 7},
    {"Make3DGroup", 11},
    {"Make3DKaleido", 21},
    {"MakeSwarmGroup", 15},
    {"MakeSymmetryGroup", 13},
    {"CopyGroupToGroups", 13},
    {"SetCamera3D", 10},
    {"FocusCamera3D", 10},
    {"SetLight3D", 17},
    {"InvertColors", 0},
    {"Color4BG", 12},
    {"Fade", 4},
    {"Background", 10},
    {"MakeMaterial", 12},
    {"LoaderBarWhiteOnBlack", 1},
    {"SetMusicVolume", 1},
    {"Cube3D", 17},
};
const std::vector<std::pair<std::string, int>> kPaintFunctions = {{"FillGL", 3}, {"RectGL", 7}};
const std::vector<std::pair<std::string, int>> kSwarmsFunctions = {{"DrawLineSwarm", 9}};

std::string library(const std::string& file, const std::vector<std::pair<std::string, int>>& functions)
{
    std::string xml = "  <Library FileName=\"" + file + "\">\n";
    for (const auto& function : functions) {
        xml += "    <Function Name=\"" + function.first + "\">";
        for (int i = 0; i < function.second; ++i)
            xml += "<Param Name=\"a" + std::to_string(i) + "\"/>";
        xml += "</Function>\n";
    }
    return xml + "  </Library>\n";
}

} // namespace

std::string event_xml(const std::string& function, int32_t start, int32_t end, const std::string& params,
                      const std::string& library)
{
    return "    <Event LibraryFileName=\"" + library + "\" FunctionName=\"" + function + "\" StartTime=\"" +
           std::to_string(start) + "\" EndTime=\"" + std::to_string(end) + "\">" + params + "</Event>\n";
}

std::string event(const std::string& function, int32_t start, int32_t end, const std::vector<int32_t>& args,
                  const std::string& library)
{
    std::string params;
    for (int32_t value : args)
        params += "<param type=\"const\" val=\"" + std::to_string(value) + "\"/>";
    return event_xml(function, start, end, params, library);
}

std::string track(const std::vector<std::string>& events)
{
    std::string xml = "  <Track>\n";
    for (const std::string& e : events)
        xml += e;
    return xml + "  </Track>\n";
}

std::string scaffold_demo(int32_t runningTime, const std::vector<std::string>& tracks,
                          const std::vector<std::string>& texts, const std::string& settings, bool withSwarms,
                          bool withMedia)
{
    std::string xml = "<?xml version=\"1.0\"?>\n<Demo>\n  <Settings RunningTime=\"" +
                      std::to_string(runningTime) + "\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\" " +
                      settings + "/>\n";
    xml += library("Scaffold.so", kScaffoldFunctions) + library("Paint.so", kPaintFunctions);
    if (withSwarms)
        xml += library("Swarms.so", kSwarmsFunctions);
    if (withMedia)
        xml += library("Media.so", {});
    for (const std::string& t : tracks)
        xml += t;
    xml += "  <Texts><Text>unused</Text>";
    for (const std::string& text : texts)
        xml += "<Text>" + text + "</Text>";
    return xml + "</Texts>\n</Demo>\n";
}
