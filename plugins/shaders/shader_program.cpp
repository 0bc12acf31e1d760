#include "shader_program.h"

#include "compiler_messages.h"
#include "shader_source.h"

#include <GL/glew.h>

#include <cstring>

namespace shaders
{

namespace
{

struct KnownUniform {
    const char* name;
    GLenum type;
};

// In the order of ShaderProgram::Uniform.
constexpr KnownUniform kUniforms[] = {{"iResolution", GL_FLOAT_VEC3},
                                      {"iTime", GL_FLOAT},
                                      {"iTimeDelta", GL_FLOAT},
                                      {"iFrame", GL_INT},
                                      {"iFrameRate", GL_FLOAT},
                                      {"iDemoTime", GL_FLOAT},
                                      {"iParams", GL_FLOAT_VEC4},
                                      {"iOpacity", GL_FLOAT},
                                      {"iChannelResolution", GL_FLOAT_VEC3},
                                      {"iSampleRate", GL_FLOAT},
                                      {"fGlobalTime", GL_FLOAT},
                                      {"v2Resolution", GL_FLOAT_VEC2},
                                      {glsl::kFrameUniform, GL_FLOAT_VEC4},
                                      {"iChannel0", GL_SAMPLER_2D},
                                      {"iChannel1", GL_SAMPLER_2D}};

constexpr float kSampleRate = 44100.0f;

std::string info_log(GLuint object, bool isProgram)
{
    GLint length = 0;
    if (isProgram)
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    else
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    std::string text(size_t(length > 0 ? length : 0), '\0');
    if (length > 0) {
        if (isProgram)
            glGetProgramInfoLog(object, length, nullptr, &text[0]);
        else
            glGetShaderInfoLog(object, length, nullptr, &text[0]);
    }
    text.resize(std::strlen(text.c_str()));
    return text;
}

// A compiled shader, or 0 with the compiler's log in `log`.
GLuint compile(GLenum stage, const std::string& text, std::string& log)
{
    GLuint shader = glCreateShader(stage);
    const char* source = text.c_str();
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE)
        return shader;
    log = info_log(shader, false);
    glDeleteShader(shader);
    return 0;
}

} // namespace

static_assert(sizeof(kUniforms) / sizeof(kUniforms[0]) == 15, "one entry per ShaderProgram::Uniform");

ShaderProgram::~ShaderProgram()
{
    if (program_)
        glDeleteProgram(program_);
}

bool ShaderProgram::build(const std::string& source, const std::string& file, std::string& errors)
{
    const std::string fragmentText = glsl::fragment_shader(source);
    std::string log;
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentText, log);
    if (!fragment) {
        errors = glsl::joined_messages(log.empty() ? "does not compile" : log, file);
        return false;
    }
    const GLuint vertex = compile(GL_VERTEX_SHADER, glsl::vertex_shader_for(fragmentText), log);
    if (!vertex) {
        glDeleteShader(fragment);
        errors = glsl::joined_messages("the vertex shader for its #version does not compile: " + log, file);
        return false;
    }
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glBindAttribLocation(program, 0, glsl::kPositionAttribute);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        log = info_log(program, true);
        glDeleteProgram(program);
        errors = glsl::joined_messages(log.empty() ? "does not link" : log, file);
        return false;
    }
    if (program_)
        glDeleteProgram(program_);
    program_ = program;
    find_uniforms();
    return true;
}

void ShaderProgram::find_uniforms()
{
    for (int32_t& location : locations_)
        location = -1;
    GLint count = 0;
    glGetProgramiv(program_, GL_ACTIVE_UNIFORMS, &count);
    for (GLint i = 0; i < count; ++i) {
        char name[256];
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program_, GLuint(i), sizeof name, nullptr, &size, &type, name);
        // An array is listed as "name[0]".
        if (char* bracket = std::strchr(name, '['))
            *bracket = '\0';
        for (int u = 0; u < kUniformCount; ++u)
            if (type == kUniforms[u].type && std::strcmp(name, kUniforms[u].name) == 0) {
                locations_[u] = glGetUniformLocation(program_, name);
                if (u == kChannelResolution)
                    channelResolutions_ = size < 2 ? size : 2;
            }
    }
    glUseProgram(program_);
    for (int channel = 0; channel < 2; ++channel)
        if (locations_[kChannel0 + channel] >= 0)
            glUniform1i(locations_[kChannel0 + channel], channel);
    glUseProgram(0);
}

void ShaderProgram::use(const ShaderInputs& in) const
{
    glUseProgram(program_);
    const int32_t* at = locations_;
    if (at[kResolution] >= 0)
        glUniform3f(at[kResolution], in.width, in.height, 1.0f);
    if (at[kResolution2] >= 0)
        glUniform2f(at[kResolution2], in.width, in.height);
    if (at[kTime] >= 0)
        glUniform1f(at[kTime], in.time);
    if (at[kGlobalTime] >= 0)
        glUniform1f(at[kGlobalTime], in.time);
    if (at[kTimeDelta] >= 0)
        glUniform1f(at[kTimeDelta], in.timeDelta);
    if (at[kFrameRate] >= 0)
        glUniform1f(at[kFrameRate], in.timeDelta > 0 ? 1.0f / in.timeDelta : 0.0f);
    if (at[kFrame] >= 0)
        glUniform1i(at[kFrame], in.frame);
    if (at[kDemoTime] >= 0)
        glUniform1f(at[kDemoTime], in.demoTime);
    if (at[kParams] >= 0)
        glUniform4fv(at[kParams], 1, in.params);
    if (at[kOpacity] >= 0)
        glUniform1f(at[kOpacity], in.opacity);
    if (at[kSampleRate] >= 0)
        glUniform1f(at[kSampleRate], kSampleRate);
    if (at[kFrameMap] >= 0)
        glUniform4f(at[kFrameMap], in.x0, in.y0, in.sy, 0.0f);
    if (at[kChannelResolution] >= 0) {
        const float sizes[6] = {in.channelSize[0][0], in.channelSize[0][1], 1.0f,
                                in.channelSize[1][0], in.channelSize[1][1], 1.0f};
        glUniform3fv(at[kChannelResolution], channelResolutions_, sizes);
    }
}

} // namespace shaders
