#include "shader_source.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdlib>

namespace glsl
{

namespace
{

// Everything the mainImage form may read, then its main. Everything here precedes the author's text,
// which mainImage's prototype lets come last, so that every message the compiler gives is about a line
// of the author's file.
constexpr const char* kMainImagePrelude = R"(#version 330 core
uniform vec3 iResolution;
uniform float iTime;
uniform float iTimeDelta;
uniform int iFrame;
uniform float iFrameRate;
uniform float iChannelTime[4];
uniform vec3 iChannelResolution[4];
uniform vec4 iMouse;
uniform vec4 iDate;
uniform float iSampleRate;
uniform sampler2D iChannel0;
uniform sampler2D iChannel1;
uniform sampler2D iChannel2;
uniform sampler2D iChannel3;
uniform vec4 iParams;
uniform float iDemoTime;
uniform float iOpacity;
uniform vec4 vortelFrame;
out vec4 vortelColor;
vec2 vortelUpright(vec2 p) { return vec2(p.x, 1.0 - p.y); }
vec4 vortelTexture(sampler2D s, vec2 p) { return texture(s, vortelUpright(p)); }
vec4 vortelTexture(sampler2D s, vec2 p, float bias) { return texture(s, vortelUpright(p), bias); }
vec4 vortelTextureLod(sampler2D s, vec2 p, float lod) { return textureLod(s, vortelUpright(p), lod); }
vec4 vortelTextureGrad(sampler2D s, vec2 p, vec2 dx, vec2 dy)
{
    return textureGrad(s, vortelUpright(p), vec2(dx.x, -dx.y), vec2(dy.x, -dy.y));
}
vec4 vortelTexelFetch(sampler2D s, ivec2 p, int lod)
{
    return texelFetch(s, ivec2(p.x, textureSize(s, lod).y - 1 - p.y), lod);
}
#define texture vortelTexture
#define textureLod vortelTextureLod
#define textureGrad vortelTextureGrad
#define texelFetch vortelTexelFetch
void mainImage(out vec4 fragColor, in vec2 fragCoord);
void main()
{
    vec4 color = vec4(0.0, 0.0, 0.0, 1.0);
    mainImage(color, vec2(gl_FragCoord.x - vortelFrame.x, vortelFrame.y + vortelFrame.z * gl_FragCoord.y));
    vortelColor = vec4(color.rgb, color.a * iOpacity);
}
#line 1
)";

bool is_identifier_char(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// `source` with every comment replaced by a blank (line breaks kept).
std::string without_comments(const std::string& source)
{
    std::string out;
    out.reserve(source.size());
    for (size_t i = 0; i < source.size(); ++i) {
        if (source.compare(i, 2, "//") == 0) {
            while (i < source.size() && source[i] != '\n')
                ++i;
            if (i < source.size())
                out += '\n';
        } else if (source.compare(i, 2, "/*") == 0) {
            const size_t end = source.find("*/", i + 2);
            for (size_t j = i; j < std::min(end, source.size()); ++j)
                if (source[j] == '\n')
                    out += '\n';
            out += ' ';
            i = end == std::string::npos ? source.size() : end + 1;
        } else {
            out += source[i];
        }
    }
    return out;
}

// Whether `text` has the identifier `name` (whole) followed by an opening parenthesis.
bool names_function(const std::string& text, const std::string& name)
{
    for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
        const size_t end = at + name.size();
        if ((at > 0 && is_identifier_char(text[at - 1])) ||
            (end < text.size() && is_identifier_char(text[end])))
            continue;
        size_t next = end;
        while (next < text.size() && std::isspace(static_cast<unsigned char>(text[next])))
            ++next;
        if (next < text.size() && text[next] == '(')
            return true;
    }
    return false;
}

// The #version line of a shader (without its line break), empty when it has none.
std::string version_line(const std::string& shader)
{
    const std::string text = without_comments(shader);
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        size_t first = text.find_first_not_of(" \t\r", at);
        if (first < end && text.compare(first, 1, "#") == 0) {
            size_t word = text.find_first_not_of(" \t", first + 1);
            if (word < end && text.compare(word, 7, "version") == 0)
                return text.substr(first, end - first);
        }
        at = end + 1;
    }
    return "";
}

// The number of a #version line, 110 when there is none.
int version_number(const std::string& line)
{
    const size_t digit = line.find_first_of("0123456789");
    return digit == std::string::npos ? 110 : std::atoi(line.c_str() + digit);
}

} // namespace

SourceForm source_form(const std::string& source)
{
    const std::string text = without_comments(source);
    if (names_function(text, "main"))
        return SourceForm::OwnMain;
    return names_function(text, "mainImage") ? SourceForm::MainImage : SourceForm::OwnMain;
}

std::string fragment_shader(const std::string& source)
{
    if (source_form(source) == SourceForm::OwnMain)
        return source;
    return kMainImagePrelude + source;
}

std::string vertex_shader_for(const std::string& fragmentShader)
{
    const std::string version = version_line(fragmentShader);
    const bool es = version.find(" es") != std::string::npos;
    const bool modern = version_number(version) >= (es ? 300 : 130);
    std::string shader = version.empty() ? "" : version + "\n";
    shader += modern ? "in" : "attribute";
    shader += std::string(" vec2 ") + kPositionAttribute + ";\nvoid main()\n{\n    gl_Position = vec4(" +
              kPositionAttribute + ", 0.0, 1.0);\n}\n";
    return shader;
}

} // namespace glsl
