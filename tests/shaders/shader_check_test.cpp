// --check's offline compile of the shaders a document names, with the real glslangValidator.
#include <gtest/gtest.h>

#include "shader_check.h"

#include <fstream>

namespace
{

void write(const std::string& name, const std::string& text)
{
    std::ofstream(name) << text;
}

Event shader_event(const char* function, int32_t text)
{
    Event event;
    event.libraryFileName = "Shaders.so";
    event.functionName = function;
    event.params.resize(function == std::string("ShaderPost") ? 5 : 11);
    event.params[0].value = text;
    return event;
}

} // namespace

TEST(ShaderCheck, ReportsEachBrokenShaderOnceWithTheAuthorsLinesAndPassesGoodOnes)
{
    write("check_good.frag", "void mainImage(out vec4 c, in vec2 p)\n{\n    c = texture(iChannel0, p);\n}\n");
    write("check_own.frag", "#version 410 core\nout vec4 o;\nvoid main() { o = vec4(1.0); }\n");
    write("check_broken.frag", "void mainImage(out vec4 c, in vec2 p)\n{\n    c = vec4(nope, 1.0);\n}\n");
    Demo demo;
    demo.texts = {"", "check_good.frag", "check_own.frag", "check_broken.frag", "check_absent.frag"};
    demo.tracks.resize(1);
    for (int32_t text : {1, 2, 3, 3, 4})
        demo.tracks[0].events.push_back(shader_event(text == 2 ? "ShaderPost" : "ShaderQuad", text));

    const std::vector<std::string> problems = check_shaders(demo);
    std::string all;
    for (const std::string& problem : problems)
        all += problem + "\n";
    ASSERT_EQ(problems.size(), 1u) << all;
    EXPECT_EQ(problems[0].rfind("check_broken.frag:3: error: 'nope' : undeclared identifier", 0), 0u)
        << problems[0];
}

TEST(ShaderCheck, SaysSoWhenTheValidatorCannotBeRun)
{
    std::vector<std::string> messages;
    EXPECT_FALSE(validate_fragment_shader("void main() {}\n", "x.frag", messages, "no-such-validator"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("cannot be run"), std::string::npos) << messages[0];
}
