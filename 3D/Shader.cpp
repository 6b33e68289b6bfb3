// Shader: GLSL program loader (file reading, compile and link reports). Depends on GLEW, RegularFile and checkGLError.
#include "3D/Shader.h"

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

// source with definitions inserted after its #version line (which must come
// first), or in front when it has none.
std::string withDefinitions(const char* source, const std::string& definitions)
{
    std::string text(source);
    if (definitions.empty())
        return text;
    if (text.compare(0, 8, "#version") != 0)
        return definitions + text;
    if (text.find('\n') == std::string::npos)
        text += '\n';
    return text.insert(text.find('\n') + 1, definitions);
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

        const GLchar* source = vertexSource.get();
        GLint length = static_cast<GLint>(std::strlen(source));
        glShaderSource(m_vertex, 1, &source, &length);
        const std::string fragmentText = withDefinitions(fragmentSource.get(), fragmentDefinitions);
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
