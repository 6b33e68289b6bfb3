// Shader: GLSL program loader (file reading, compile and link reports). Depends on GLEW, RegularFile and checkGLError.
#include "3D/Shader.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <new>
#include <string>

#include "Zembra/Exceptions/ShaderCreationException.h"
#include "Zembra/Exceptions/ShaderLoadingException.h"
#include "Zembra/GLError.h"
#include "Zembra/RegularFile.h"

namespace {

// The driver's log of a shader or a program, zero-terminated. A driver may
// report no log at all: one byte is kept for the terminator.
std::unique_ptr<char[]> infoLog(GLuint object, PFNGLGETSHADERIVPROC getParameter,
                                PFNGLGETSHADERINFOLOGPROC getLog)
{
    GLint logLength = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &logLength);
    const GLsizei size = logLength > 0 ? logLength : 1;
    std::unique_ptr<char[]> log(new char[size]);
    log[0] = '\0';
    getLog(object, size, nullptr, log.get());
    return log;
}

#ifdef __EMSCRIPTEN__
// The browser's WebGL takes GLSL ES 1.00: no "#version 120", and no #version line at
// all, since emscripten's GL emulation puts declarations of its own in front of the
// source (the fixed-function inputs it replaces). For the same reason the default
// float precision of the fragment stage is its to give, ahead of those
// declarations: highp where the device has it, else mediump. The screen-space
// derivatives are an extension.
const char* const ES_FRAGMENT_PREAMBLE = "#extension GL_OES_standard_derivatives : enable\n";
#endif

// source with definitions inserted after its #version line (which must come
// first), or in front when it has none. In the browser the #version line gives way
// to the GLSL ES preamble of the stage, followed by the definitions.
std::string withDefinitions(const char* source, const std::string& definitions, GLenum stage)
{
    std::string text(source);
#ifdef __EMSCRIPTEN__
    if (text.compare(0, 8, "#version") == 0)
        text.erase(0, std::min(text.find('\n'), text.size()));  // its end of line stays
    return (stage == GL_FRAGMENT_SHADER ? ES_FRAGMENT_PREAMBLE : "") + definitions + text;
#else
    static_cast<void>(stage);
    if (definitions.empty())
        return text;
    if (text.compare(0, 8, "#version") != 0)
        return definitions + text;
    if (text.find('\n') == std::string::npos)
        text += '\n';
    return text.insert(text.find('\n') + 1, definitions);
#endif
}

}  // namespace

Shader::Shader(const std::string& vertexPath, const std::string& fragmentPath,
               const std::string& fragmentDefinitions)
    : m_vertex(0), m_fragment(0), m_program(0)
{
    m_vertex = glCreateShader(GL_VERTEX_SHADER);
    m_fragment = glCreateShader(GL_FRAGMENT_SHADER);
    try {
        checkGLError("glCreateShader");

        // Both files are read before either result is looked at, so a missing
        // fragment file is reported even when the vertex file is fine (and both
        // when both are missing).
        const std::unique_ptr<char[]> vertexSource = readFile(vertexPath);
        const std::unique_ptr<char[]> fragmentSource = readFile(fragmentPath);
        if (!vertexSource || !fragmentSource)
            throw ShaderException("Fail to read shaders");

        const std::string vertexText =
            withDefinitions(vertexSource.get(), std::string(), GL_VERTEX_SHADER);
        const GLchar* source = vertexText.c_str();
        GLint length = static_cast<GLint>(vertexText.size());
        glShaderSource(m_vertex, 1, &source, &length);
        const std::string fragmentText =
            withDefinitions(fragmentSource.get(), fragmentDefinitions, GL_FRAGMENT_SHADER);
        source = fragmentText.c_str();
        length = static_cast<GLint>(fragmentText.size());
        glShaderSource(m_fragment, 1, &source, &length);

        glCompileShader(m_vertex);
        glCompileShader(m_fragment);
        // Only the first failure is reported: a broken vertex shader hides the fragment log.
        if (!checkCompilation(vertexPath, m_vertex) || !checkCompilation(fragmentPath, m_fragment))
            throw ShaderCreationException("Fail to create the shader");

        m_program = glCreateProgram();
        glAttachShader(m_program, m_vertex);
        glAttachShader(m_program, m_fragment);
        glLinkProgram(m_program);

        GLint linked = 0;
        glGetProgramiv(m_program, GL_LINK_STATUS, &linked);
        if (linked == 1)
            return;

        const std::unique_ptr<char[]> log = infoLog(m_program, glGetProgramiv, glGetProgramInfoLog);
        std::fprintf(stderr, "Erreur lors du liage du shader:\n%s", log.get());
        throw ShaderLoadingException("Fail to create the shader: " + vertexPath + " " +
                                     fragmentPath + " Linking");
    } catch (...) {
        release();
        throw;
    }
}

Shader::~Shader()
{
    glUseProgram(0);
    release();
}

void Shader::use() const
{
    glUseProgram(m_program);
}

void Shader::unuse()
{
    glUseProgram(0);
}

GLuint Shader::getProgramId() const
{
    return m_program;
}

std::unique_ptr<char[]> Shader::readFile(const std::string& path)
{
    // Only a regular file counts as readable: a directory would report an absurd
    // size, and a FIFO would block the start-up until something wrote to it.
    std::string text;
    if (!RegularFile::read(path, text)) {
        std::cerr << "Erreur d'ouverture du fichier: '" << path << "'" << std::endl;
        return nullptr;
    }
    std::unique_ptr<char[]> buffer(new char[text.size() + 1]);
    text.copy(buffer.get(), text.size());
    buffer[text.size()] = '\0';
    return buffer;
}

bool Shader::checkCompilation(const std::string& path, GLuint shader)
{
    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == 1)
        return true;

    const std::unique_ptr<char[]> log = infoLog(shader, glGetShaderiv, glGetShaderInfoLog);
    std::cout << "Fail to link the shader '" << path << "': " << log.get() << std::endl;
    return false;
}

void Shader::release() noexcept
{
    // Zero names are skipped: a program that was never created has nothing attached.
    if (m_program != 0) {
        if (m_fragment != 0)
            glDetachShader(m_program, m_fragment);
        if (m_vertex != 0)
            glDetachShader(m_program, m_vertex);
        glDeleteProgram(m_program);
    }
    if (m_fragment != 0)
        glDeleteShader(m_fragment);
    if (m_vertex != 0)
        glDeleteShader(m_vertex);
    m_program = m_fragment = m_vertex = 0;
}
