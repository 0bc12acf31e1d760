// The effect reference (docs/effects.md) read as a demo maker reads it, held against what the build makes:
// every effect each plug-in exports is documented and nothing else is, each documented declaration has the
// parameters of the effect's prototype in its header, the plug-ins' own descriptions of their effects
// (Vortel_DescribeEffects) are complete and agree with both, and the page is what its generator writes
// from those descriptions now.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <vortel/effect_description.h>

namespace fs = std::filesystem;

namespace
{

const std::string kSource = VORTEL_SOURCE_DIR;
const std::string kBin = VORTEL_BIN_DIR;

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Output {
    int status = -1;
    std::string text; // stdout and stderr
};

Output run(const std::string& command)
{
    Output out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 4096> buffer;
    for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        out.text.append(buffer.data(), n);
    const int status = pclose(pipe);
    out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

// What the page documents, library by library.
struct Library {
    std::map<std::string, std::vector<std::string>> effects; // name -> declared parameter names
    std::set<std::string> alsoExported;                      // exported functions that are not effects
};

std::map<std::string, Library> read_reference()
{
    std::map<std::string, Library> libraries;
    std::istringstream page(read_file(kSource + "/docs/effects.md"));
    const std::regex library(R"(^## (\S+\.so)$)");
    const std::regex effect(R"(^### `(\w+)`$)");
    const std::regex also(R"(^Also exported, not an effect: `(\w+)`)");
    const std::regex declaration(R"re(^<Function Name="(\w+)">(.*)</Function>$)re");
    const std::regex param(R"re(<Param Name="(\w+)"/>)re");
    Library* current = nullptr;
    std::string currentEffect;
    std::smatch m;
    for (std::string line; std::getline(page, line);) {
        if (std::regex_match(line, m, library)) {
            current = &libraries[m[1]];
        } else if (current && std::regex_match(line, m, effect)) {
            currentEffect = m[1];
            EXPECT_TRUE(current->effects.emplace(currentEffect, std::vector<std::string>{}).second)
                << currentEffect << " is documented twice";
        } else if (current && std::regex_search(line, m, also)) {
            current->alsoExported.insert(m[1]);
        } else if (current && std::regex_match(line, m, declaration)) {
            EXPECT_EQ(m[1], currentEffect) << "a declaration under the heading of another effect";
            const std::string params = m[2];
            for (auto it = std::sregex_iterator(params.begin(), params.end(), param);
                 it != std::sregex_iterator(); ++it)
                current->effects[currentEffect].push_back((*it)[1]);
        }
    }
    return libraries;
}

// The product plug-ins: every vortel_plugin(NAME) in scaffold/ and plugins/*/.
std::set<std::string> product_plugins()
{
    std::set<std::string> names;
    std::vector<fs::path> lists = {kSource + "/scaffold/CMakeLists.txt"};
    for (const auto& entry : fs::directory_iterator(kSource + "/plugins"))
        if (fs::exists(entry.path() / "CMakeLists.txt"))
            lists.push_back(entry.path() / "CMakeLists.txt");
    const std::regex call(R"(^\s*vortel_plugin\((\w+)\))");
    for (const fs::path& list : lists) {
        std::istringstream text(read_file(list.string()));
        std::smatch m;
        for (std::string line; std::getline(text, line);)
            if (std::regex_search(line, m, call))
                names.insert(m[1].str() + ".so");
    }
    return names;
}

// The plain-named functions a shared object defines and exports, without the plug-in entry points.
std::set<std::string> exported_functions(const std::string& path)
{
    const Output nm = run("nm -D --defined-only '" + path + "'");
    EXPECT_EQ(nm.status, 0) << nm.text;
    std::set<std::string> names;
    std::istringstream lines(nm.text);
    for (std::string address, kind, name; lines >> address >> kind >> name;)
        if ((kind == "T" || kind == "W") && name[0] != '_' && name.rfind("Vortel_", 0) != 0)
            names.insert(name);
    return names;
}

// Every effect prototype of the plug-ins' headers: name -> parameter names after state and privateData.
// A variadic effect maps to {"..."}.
std::map<std::string, std::vector<std::string>> header_prototypes()
{
    std::map<std::string, std::vector<std::string>> prototypes;
    std::vector<fs::path> headers;
    for (const char* folder : {"/scaffold/effects", "/plugins"})
        for (const auto& entry : fs::recursive_directory_iterator(kSource + folder))
            if (entry.path().extension() == ".h")
                headers.push_back(entry.path());
    const std::regex prototype(
        R"(VORTEL_EXPORT\s+bool\s+(\w+)\s*\(\s*StateStruct\s*\*\s*\w*\s*,([^;]*)\)\s*;)");
    const std::regex word(R"(int32_t\s+(\w+))");
    for (const fs::path& header : headers) {
        const std::string text = read_file(header.string());
        for (auto it = std::sregex_iterator(text.begin(), text.end(), prototype);
             it != std::sregex_iterator(); ++it) {
            const std::string rest = (*it)[2];
            std::vector<std::string>& names = prototypes[(*it)[1]];
            if (rest.find("...") != std::string::npos) {
                names = {"..."};
                continue;
            }
            for (auto w = std::sregex_iterator(rest.begin(), rest.end(), word); w != std::sregex_iterator();
                 ++w)
                names.push_back((*w)[1]);
        }
    }
    return prototypes;
}

std::string joined(const std::set<std::string>& names)
{
    std::string out;
    for (const std::string& name : names)
        out += (out.empty() ? "" : ", ") + name;
    return out;
}

TEST(EffectReference, DocumentsEveryProductPluginAndEveryEffectItExportsAndNothingElse)
{
    const std::map<std::string, Library> reference = read_reference();
    const std::set<std::string> plugins = product_plugins();
    ASSERT_GE(plugins.size(), 5u) << "scaffold/ and plugins/ name the product plug-ins";

    std::set<std::string> documentedLibraries;
    for (const auto& [file, library] : reference)
        documentedLibraries.insert(file);
    EXPECT_EQ(documentedLibraries, plugins) << "the reference has one section per product plug-in";

    for (const std::string& plugin : plugins) {
        const std::string path = kBin + "/" + plugin;
        ASSERT_TRUE(fs::exists(path)) << path << " is built before the test";
        const std::set<std::string> exported = exported_functions(path);
        ASSERT_FALSE(exported.empty()) << plugin;
        const auto found = reference.find(plugin);
        if (found == reference.end())
            continue;
        std::set<std::string> documented = found->second.alsoExported;
        for (const auto& [name, params] : found->second.effects)
            documented.insert(name);

        std::set<std::string> missing, stale;
        std::set_difference(exported.begin(), exported.end(), documented.begin(), documented.end(),
                            std::inserter(missing, missing.end()));
        std::set_difference(documented.begin(), documented.end(), exported.begin(), exported.end(),
                            std::inserter(stale, stale.end()));
        EXPECT_TRUE(missing.empty()) << plugin << " exports undocumented functions: " << joined(missing);
        EXPECT_TRUE(stale.empty()) << plugin << " does not export the documented: " << joined(stale);
    }
}

TEST(EffectReference, DeclaresTheParametersOfEachEffectsPrototype)
{
    const std::map<std::string, Library> reference = read_reference();
    const auto prototypes = header_prototypes();
    ASSERT_GT(prototypes.size(), 50u) << "the headers' prototypes were found";

    std::set<std::string> documented;
    for (const auto& [file, library] : reference)
        for (const auto& [name, params] : library.effects) {
            documented.insert(name);
            const auto prototype = prototypes.find(name);
            ASSERT_NE(prototype, prototypes.end()) << name << " has no prototype in the plug-ins' headers";
            if (prototype->second == std::vector<std::string>{"..."})
                EXPECT_FALSE(params.empty()) << name << " takes its words variadically; declare them all";
            else
                EXPECT_EQ(params, prototype->second) << "declared parameters of " << name;
        }
    for (const auto& [name, params] : prototypes)
        EXPECT_TRUE(documented.count(name)) << name << " has a prototype but no entry in the reference";
}

TEST(EffectReference, EveryExportedEffectDescribesTheWordsItReads)
{
    const std::map<std::string, Library> reference = read_reference();
    const auto prototypes = header_prototypes();
    for (const std::string& plugin : product_plugins()) {
        SCOPED_TRACE(plugin);
        void* library = dlopen((kBin + "/" + plugin).c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_TRUE(library) << dlerror();
        auto describe =
            reinterpret_cast<VortelDescribeEffectsFn>(dlsym(library, VORTEL_DESCRIBE_EFFECTS_NAME));
        ASSERT_TRUE(describe) << "no " VORTEL_DESCRIBE_EFFECTS_NAME;
        ASSERT_TRUE(describe());
        const VortelEffectTable table = vortel_read_table(describe());
        EXPECT_EQ(table.version, kVortelDescriptionVersion);
        EXPECT_TRUE(table.about) << "the library introduces itself";

        std::map<std::string, std::vector<std::string>> described;
        for (int32_t e = 0; e < table.effectCount; ++e) {
            const VortelEffectDescription effect = vortel_read_effect(table, e);
            EXPECT_TRUE(effect.about) << effect.name << " says what it does";
            std::vector<std::string>& names = described[effect.name];
            for (int32_t p = 0; p < effect.paramCount; ++p) {
                const VortelParamDescription param = vortel_read_param(table, effect, p);
                const std::string where = std::string(effect.name) + "." + param.name;
                names.push_back(param.name);
                EXPECT_TRUE(param.kind >= kVortelParamNumber && param.kind <= kVortelParamText) << where;
                EXPECT_EQ(param.kind == kVortelParamText, param.resourceType != 0)
                    << where << ": a text index names its resource type";
                EXPECT_TRUE(param.unit && param.meaning) << where << " has a unit and a meaning";
                EXPECT_EQ(param.kind == kVortelParamText, param.scale == 0)
                    << where << ": a number has a scale";
                EXPECT_LE(param.minimum, param.maximum) << where;
            }
        }
        std::set<std::string> effects = exported_functions(kBin + "/" + plugin);
        const auto documented = reference.find(plugin);
        if (documented != reference.end())
            for (const std::string& other : documented->second.alsoExported)
                effects.erase(other);
        for (const std::string& name : effects) {
            const auto description = described.find(name);
            if (description == described.end()) {
                ADD_FAILURE() << name << " has no description";
                continue;
            }
            // What the effect reads: its prototype's words, or for a variadic one the words it is declared
            // with.
            const auto prototype = prototypes.find(name);
            std::vector<std::string> reads;
            if (prototype != prototypes.end() && prototype->second != std::vector<std::string>{"..."})
                reads = prototype->second;
            else if (documented != reference.end() && documented->second.effects.count(name))
                reads = documented->second.effects.at(name);
            EXPECT_EQ(description->second, reads) << "the parameters " << name << " reads";
        }
        for (const auto& [name, params] : described)
            EXPECT_TRUE(effects.count(name)) << name << " is described but not exported as an effect";
        dlclose(library);
    }
}

TEST(EffectReference, IsWhatItsGeneratorWritesFromThePluginsDescriptions)
{
    const Output check =
        run("python3 '" + kSource + "/scripts/effect-reference' --bin '" + kBin + "' --check");
    EXPECT_EQ(check.status, 0) << check.text;
}

} // namespace
