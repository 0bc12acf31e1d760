// Every effect of every plug-in, as the plug-in describes it (Vortel_DescribeEffects), called through
// its first, running and last calls by the real player with every word at INT32_MIN, then INT32_MAX, -1
// and 0: the demo plays to its end with no sanitizer report.
//
// Each effect has a time slot of its own (four events of two frames, one per value), so that a running
// call that fails stops no other effect's call. Without texts, names are missing; with texts, the words
// that name something name what the effect needs (a swarm, a grid, a material, a group, a picture, a model,
// a flame file), made by a few effects with ordinary values that play through the whole demo, and only the
// numbers take the extreme values.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include <vortel/effect_description.h>

#include "player_runner.h"

namespace
{

struct Effect {
    std::string library;
    std::string name;
    std::vector<std::string> params;   // one per word: the parameter's name
    std::vector<std::string> meanings; // one per word: "unit | meaning"
};

// The product plug-ins' own descriptions of their effects, library by library.
std::vector<Effect> documented_effects()
{
    std::vector<Effect> effects;
    for (const char* library : {"Scaffold.so", "Emberfold.so", "Swarms.so", "Pictor.so", "Media.so"}) {
        void* handle = dlopen((std::string(VORTEL_BIN_DIR) + "/" + library).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            ADD_FAILURE() << dlerror();
            continue;
        }
        auto describe =
            reinterpret_cast<VortelDescribeEffectsFn>(dlsym(handle, VORTEL_DESCRIBE_EFFECTS_NAME));
        const VortelEffectTable table = vortel_read_table(describe ? describe() : nullptr);
        EXPECT_GT(table.effectCount, 0) << library << " describes its effects";
        for (int32_t e = 0; e < table.effectCount; ++e) {
            const VortelEffectDescription effect = vortel_read_effect(table, e);
            effects.push_back({library, effect.name, {}, {}});
            for (int32_t p = 0; p < effect.paramCount; ++p) {
                const VortelParamDescription param = vortel_read_param(table, effect, p);
                effects.back().params.push_back(param.name);
                effects.back().meanings.push_back(std::string(param.unit) + " | " + param.meaning);
            }
        }
        // The texts stay valid while the library is loaded: copied above, so it may go.
        dlclose(handle);
    }
    return effects;
}

bool has(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

// What a text word of `effect` names, when the document has texts: something the stage below makes, a
// name of the effect's own output, or a file.
std::string named_by(const Effect& effect, size_t word)
{
    const std::string& param = effect.params[word];
    const std::string& meaning = effect.meanings[word];
    const std::string media = std::string(VORTEL_SOURCE_DIR) + "/demos/";
    if (has(meaning, "description file"))
        return media + "flames/sierpinski.flame";
    if (has(meaning, "OBJ file"))
        return media + "models/ring.obj";
    if (has(meaning, "texture") || param == "front" || param == "back")
        return media + "pictures/spark.png";
    if (effect.name == "MakeWaveGrid")
        return "SweepGrid";
    if (has(meaning, "'GRID'"))
        return "StageGrid";
    if (effect.name == "MakeMaterial")
        return "SweepMaterial";
    if (has(meaning, "'MTRL'"))
        return "StageMaterial";
    if (effect.library == "Swarms.so" && !has(meaning, "group"))
        return param == "secondOutput" ? "SweepRest" : has(meaning, "name") ? "SweepSwarm" : "StageSwarm";
    if (has(meaning, "swarm"))
        return "StageSwarm";
    if (has(meaning, "group's name"))
        return "SweepGroup";
    if (has(meaning, "group to copy"))
        return "StageGroup";
    if (effect.name == "CopyGroupToGroups")
        return "StageTarget";
    return "theWorld";
}

class Document
{
public:
    explicit Document(bool withTexts) : withTexts_(withTexts) {}

    int32_t text(const std::string& value)
    {
        for (size_t i = 0; i < texts_.size(); ++i)
            if (texts_[i] == value)
                return int32_t(i);
        texts_.push_back(value);
        return int32_t(texts_.size() - 1);
    }

    void add_track(const std::string& events) { tracks_.push_back("<Track>" + events + "</Track>"); }

    static std::string event(const Effect& effect, int32_t start, int32_t end,
                             const std::vector<int32_t>& words)
    {
        std::string xml = "<Event LibraryFileName=\"" + effect.library + "\" FunctionName=\"" + effect.name +
                          "\" StartTime=\"" + std::to_string(start) + "\" EndTime=\"" + std::to_string(end) +
                          "\">";
        for (int32_t word : words)
            xml += "<param type=\"const\" val=\"" + std::to_string(word) + "\"/>";
        return xml + "</Event>";
    }

    std::string xml(const std::vector<Effect>& effects, int32_t runningTime) const
    {
        std::string xml = "<?xml version=\"1.0\"?><Demo><Settings RunningTime=\"" +
                          std::to_string(runningTime) + "\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"/>";
        // Media first: it makes pictures and grids for the others.
        for (const char* library : {"Media.so", "Scaffold.so", "Swarms.so", "Emberfold.so", "Pictor.so"}) {
            xml += "<Library FileName=\"" + std::string(library) + "\">";
            for (const Effect& effect : effects) {
                if (effect.library != library)
                    continue;
                xml += "<Function Name=\"" + effect.name + "\">";
                for (const std::string& param : effect.params)
                    xml += "<Param Name=\"" + param + "\"/>";
                xml += "</Function>";
            }
            xml += "</Library>";
        }
        for (const std::string& track : tracks_)
            xml += track;
        if (withTexts_) {
            xml += "<Texts>";
            for (const std::string& text : texts_)
                xml += "<Text>" + text + "</Text>";
            xml += "</Texts>";
        }
        return xml + "</Demo>";
    }

private:
    bool withTexts_;
    std::vector<std::string> texts_{"unused"};
    std::vector<std::string> tracks_;
};

const Effect& find(const std::vector<Effect>& effects, const std::string& name)
{
    for (const Effect& effect : effects)
        if (effect.name == name)
            return effect;
    ADD_FAILURE() << name << " is not documented";
    static const Effect none;
    return none;
}

constexpr int32_t kFps = 20;
// Two frames per event: a first and a running call, then a running and a last call.
constexpr int32_t kSlot = 2 * 1000 / kFps;
constexpr int32_t kValues[] = {INT32_MIN, INT32_MAX, -1, 0};

// The whole document: Show3D on track 0 draws what the swept effects hung into the scene, the swept effects
// on tracks 1 .. N, then (with texts) the stage's producers and the camera, and Clear3D on the last track.
std::string sweep_document(const std::vector<Effect>& effects, bool withTexts, int32_t* runningTime)
{
    Document document(withTexts);
    *runningTime = int32_t(effects.size() * std::size(kValues) + 1) * kSlot;
    auto whole = [&](const std::string& name, std::vector<int32_t> words) {
        document.add_track(Document::event(find(effects, name), 0, *runningTime, words));
    };
    whole("Show3D", {0, 0, 0, 1, 0, 0, 40});
    int32_t start = 0;
    for (const Effect& effect : effects) {
        std::string events;
        for (int32_t value : kValues) {
            std::vector<int32_t> words;
            for (size_t w = 0; w < effect.params.size(); ++w) {
                const bool names = effect.meanings[w].rfind("text |", 0) == 0;
                if (!withTexts || !names)
                    words.push_back(value);
                else if (effect.params[w] == "parent")
                    words.push_back(0); // parents are found among the made groups; 0 is the scene root
                else
                    words.push_back(document.text(named_by(effect, w)));
            }
            events += Document::event(effect, start, start + kSlot, words);
            start += kSlot;
        }
        document.add_track(events);
    }
    if (withTexts) {
        for (const char* group : {"StageGroup", "StageTarget"})
            whole("Make3DGroup", {document.text(group), 0, 0, 0, 0, 0, 0, 100000, 100000, 0, 0});
        whole("MakeMaterial",
              {document.text("StageMaterial"), 50, 50, 50, 200, 100, 50, 255, 255, 255, 255, 3000});
        whole("MakeWaveGrid", {document.text("StageGrid"), 8, 8, 4000, 4000, 500, 2000, 1000, 1});
        whole("MakeCubeSwarm", {document.text("StageSwarm"), 3, 1, 0});
    }
    whole("SetCamera3D", {0, 0, 10000, 0, 0, 0, 100000, 13333, 1, 1000});
    whole("Clear3D", {});
    return document.xml(effects, *runningTime);
}

void sweep(const std::string& name, bool withTexts)
{
    const std::vector<Effect> effects = documented_effects();
    ASSERT_GT(effects.size(), 50u) << "the effect reference was not read";
    int32_t runningTime = 0;
    const std::string folder = fresh_folder(name);
    write_file(folder, "demo.xml", sweep_document(effects, withTexts, &runningTime));
    const PlayerRun run = run_player_in(
        folder, {"--capture", "frames", "--fps", std::to_string(kFps), "--size", "64x48", "demo.xml"});
    EXPECT_EQ(run.status, 0) << run.log.substr(run.log.size() > 2000 ? run.log.size() - 2000 : 0);
    EXPECT_EQ(captured_frames(folder + "/frames").size(), size_t(runningTime / (1000 / kFps) + 1));
    EXPECT_EQ(run.stderrText.find("Sanitizer"), std::string::npos) << run.stderrText;
    EXPECT_EQ(run.stderrText.find("runtime error"), std::string::npos) << run.stderrText;
}

} // namespace

TEST(EffectWords, ExtremeWordsWithoutTextsPlayEveryEffectToItsEnd)
{
    sweep("extreme_words_without_texts", false);
}

TEST(EffectWords, ExtremeNumbersBesideNamesThatExistPlayEveryEffectToItsEnd)
{
    sweep("extreme_words_with_texts", true);
}
