#include "fixture_document.h"

#include <algorithm>
#include <map>
#include <set>

namespace
{

const std::set<std::string> kSwarmsFunctions = {
    "MakeCubeSwarm",      "MakeSphereSwarm",   "MakeStarfieldSwarm", "MakeSineSwarm",
    "MakeTorusSineSwarm", "MakeSpiroSwarm",    "MakeBezierSwarm",    "MakeRandSwarm",
    "DrawLineSwarm",      "AddSwarms",         "MoveSwarm",          "SplitSwarm",
    "MorphSwarms",        "ColorSwarm",        "ColorSwarmBetween",  "ColorRandomSetSwarm",
    "OrientSwarmRandom",  "ResizeSwarmRandom", "OrientSwarmOnGroup"};

std::string library_of(const std::string& function)
{
    return kSwarmsFunctions.count(function) ? "Swarms.so" : "Scaffold.so";
}

std::string declarations(const std::string& library, const std::map<std::string, size_t>& functions)
{
    std::string xml = "  <Library FileName=\"" + library + "\">\n";
    for (const auto& [name, words] : functions) {
        if (library_of(name) != library)
            continue;
        xml += "    <Function Name=\"" + name + "\">";
        for (size_t i = 0; i < words; ++i)
            xml += "<Param Name=\"a" + std::to_string(i) + "\"/>";
        xml += "</Function>\n";
    }
    return xml + "  </Library>\n";
}

std::string constant_params(const std::vector<int32_t>& words)
{
    std::string params;
    for (int32_t value : words)
        params += "<param type=\"const\" val=\"" + std::to_string(value) + "\"/>";
    return params;
}

} // namespace

std::string fixture_document(int32_t runningTime, const std::vector<std::vector<FixtureEvent>>& tracks,
                             const std::vector<std::string>& texts)
{
    std::map<std::string, size_t> functions;
    for (const auto& track : tracks)
        for (const FixtureEvent& e : track)
            functions[e.function] = std::max(functions[e.function], e.words.size());

    std::string xml = "<?xml version=\"1.0\"?>\n<Demo>\n  <Settings RunningTime=\"" +
                      std::to_string(runningTime) +
                      "\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\" AspectRatioX=\"16\" "
                      "AspectRatioY=\"9\"/>\n";
    xml += declarations("Scaffold.so", functions) + declarations("Swarms.so", functions);
    for (auto track = tracks.rbegin(); track != tracks.rend(); ++track) {
        xml += "  <Track>\n";
        for (const FixtureEvent& e : *track)
            xml += "    <Event LibraryFileName=\"" + library_of(e.function) + "\" FunctionName=\"" +
                   e.function + "\" StartTime=\"" + std::to_string(e.start) + "\" EndTime=\"" +
                   std::to_string(e.end) + "\">" + constant_params(e.words) + "</Event>\n";
        xml += "  </Track>\n";
    }
    xml += "  <Texts><Text>unused</Text>";
    for (const std::string& text : texts)
        xml += "<Text>" + text + "</Text>";
    return xml + "</Texts>\n</Demo>\n";
}
