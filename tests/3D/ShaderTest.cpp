// Shader loading on a real GL context: a good pair, unreadable files, compile and
// link failures with their reports, and release of every object on failure.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <string>
#include <typeinfo>

#include "3D/GLTestContext.h"
#include "3D/Shader.h"
#include "Zembra/Exceptions/ShaderCreationException.h"
#include "Zembra/Exceptions/ShaderLoadingException.h"

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

const char* const GOOD_VERTEX =
    "#version 120\n"
    "void main() { gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex; gl_FrontColor = gl_Color; }\n";
const char* const GOOD_FRAGMENT = "#version 120\nvoid main() { gl_FragColor = gl_Color; }\n";
const char* const BAD_VERTEX =
    "#version 120\nvoid main() { gl_Position = undeclaredVertexThing; }\n";
const char* const BAD_FRAGMENT =
    "#version 120\nvoid main() { gl_FragColor = undeclaredFragmentThing; }\n";
// Compiles (the helper is declared) but cannot link (it is never defined).
const char* const UNLINKABLE_FRAGMENT =
    "#version 120\nvec4 helperDefinedNowhere();\nvoid main() { gl_FragColor = helperDefinedNowhere(); }\n";

std::string file(const std::string& name, const char* text)
{
    return testgl::writeTempFile(name, text);
}

std::string missing(const std::string& name)
{
    return std::string(DEDOZ_BINARY_DIR) + "/tests/3D/does-not-exist-" + name;
}

GLint currentProgram()
{
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
}

// Outcome of one constructor call: the exception's dynamic type and message,
// and everything written on both streams.
struct Attempt {
    std::string type;
    std::string message;
    std::string out;
    std::string err;
};

Attempt construct(const std::string& vertexPath, const std::string& fragmentPath)
{
    Attempt attempt;
    CaptureStdout();
    CaptureStderr();
    try {
        Shader shader(vertexPath, fragmentPath);
        attempt.type = "none";
    } catch (const ShaderLoadingException& e) {
        attempt.type = "ShaderLoadingException";
        attempt.message = e.what();
    } catch (const ShaderCreationException& e) {
        attempt.type = "ShaderCreationException";
        attempt.message = e.what();
    } catch (const ShaderException& e) {
        attempt.type = "ShaderException";
        attempt.message = e.what();
    }
    attempt.err = GetCapturedStderr();
    attempt.out = GetCapturedStdout();
    return attempt;
}

// A name the driver hands out next; a failed constructor that cleans up leaves
// no shader or program behind among the names that follow.
GLuint probeName()
{
    const GLuint probe = glCreateShader(GL_VERTEX_SHADER);
    glDeleteShader(probe);
    return probe;
}

void expectNothingLeftFrom(GLuint probe)
{
    for (GLuint name = probe; name < probe + 8; ++name) {
        EXPECT_FALSE(glIsShader(name)) << "shader " << name;
        EXPECT_FALSE(glIsProgram(name)) << "program " << name;
    }
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

}  // namespace

TEST(Shader, GoodPairLinksSilentlyAndLeavesTheCurrentProgramAlone)
{
    testgl::engine();
    const std::string vs = file("good.vs", GOOD_VERTEX);
    const std::string ps = file("good.ps", GOOD_FRAGMENT);

    const Shader first(vs, ps);
    first.use();
    ASSERT_EQ(static_cast<GLint>(first.getProgramId()), currentProgram());

    GLuint program = 0;
    CaptureStdout();
    CaptureStderr();
    {
        const Shader second(vs, ps);
        program = second.getProgramId();
        EXPECT_NE(0u, program);
        EXPECT_NE(first.getProgramId(), program);
        EXPECT_EQ(static_cast<GLint>(first.getProgramId()), currentProgram());

        GLint linked = 0;
        GLint attached = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        glGetProgramiv(program, GL_ATTACHED_SHADERS, &attached);
        EXPECT_EQ(GL_TRUE, linked);
        EXPECT_EQ(2, attached);

        second.use();
        EXPECT_EQ(static_cast<GLint>(program), currentProgram());
        Shader::unuse();
        EXPECT_EQ(0, currentProgram());
        second.use();
    }
    EXPECT_EQ("", GetCapturedStderr());
    EXPECT_EQ("", GetCapturedStdout());
    // The destructor leaves no program current and deletes its objects.
    EXPECT_EQ(0, currentProgram());
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST(Shader, UnreadableFilesAreReportedOnceEachAfterBothReads)
{
    testgl::engine();
    const std::string vs = file("read.vs", GOOD_VERTEX);
    const std::string ps = file("read.ps", GOOD_FRAGMENT);

    GLuint probe = probeName();
    Attempt attempt = construct(vs, missing("read.ps"));
    EXPECT_EQ("ShaderException", attempt.type);
    EXPECT_EQ("Fail to read shaders", attempt.message);
    EXPECT_EQ("Erreur d'ouverture du fichier: '" + missing("read.ps") + "'\n", attempt.err);
    EXPECT_EQ("", attempt.out);
    expectNothingLeftFrom(probe);

    // Both missing: the vertex file is reported first, then the fragment file.
    probe = probeName();
    attempt = construct(missing("a.vs"), missing("b.ps"));
    EXPECT_EQ("ShaderException", attempt.type);
    EXPECT_EQ("Erreur d'ouverture du fichier: '" + missing("a.vs") +
                  "'\nErreur d'ouverture du fichier: '" + missing("b.ps") + "'\n",
              attempt.err);
    expectNothingLeftFrom(probe);

    // A directory opens on POSIX but is no shader source.
    const std::string directory = std::string(DEDOZ_BINARY_DIR) + "/tests/3D";
    attempt = construct(directory, ps);
    EXPECT_EQ("ShaderException", attempt.type);
    EXPECT_EQ("Erreur d'ouverture du fichier: '" + directory + "'\n", attempt.err);
}

TEST(Shader, CompileFailuresPrintTheFirstFailingLog)
{
    testgl::engine();
    const std::string goodVs = file("compile-good.vs", GOOD_VERTEX);
    const std::string goodPs = file("compile-good.ps", GOOD_FRAGMENT);
    const std::string badVs = file("compile-bad.vs", BAD_VERTEX);
    const std::string badPs = file("compile-bad.ps", BAD_FRAGMENT);
    const std::string prefix = "Fail to link the shader '";

    GLuint probe = probeName();
    Attempt attempt = construct(badVs, goodPs);
    EXPECT_EQ("ShaderCreationException", attempt.type);
    EXPECT_EQ("Fail to create the shader", attempt.message);
    EXPECT_EQ(0u, attempt.out.rfind(prefix + badVs + "': ", 0)) << attempt.out;
    EXPECT_NE(std::string::npos, attempt.out.find("undeclaredVertexThing"))
        << "the driver's log is printed";
    EXPECT_EQ('\n', attempt.out.back());
    EXPECT_EQ("", attempt.err);
    expectNothingLeftFrom(probe);

    // Both broken: only the vertex shader's log.
    probe = probeName();
    attempt = construct(badVs, badPs);
    EXPECT_EQ("ShaderCreationException", attempt.type);
    EXPECT_EQ(0u, attempt.out.rfind(prefix + badVs + "': ", 0)) << attempt.out;
    EXPECT_EQ(std::string::npos, attempt.out.find(badPs));
    EXPECT_EQ(std::string::npos, attempt.out.find("undeclaredFragmentThing"));
    expectNothingLeftFrom(probe);

    // Only the fragment shader broken: its log, with its path.
    attempt = construct(goodVs, badPs);
    EXPECT_EQ("ShaderCreationException", attempt.type);
    EXPECT_EQ(0u, attempt.out.rfind(prefix + badPs + "': ", 0)) << attempt.out;
    EXPECT_NE(std::string::npos, attempt.out.find("undeclaredFragmentThing"));
}

TEST(Shader, LinkFailurePrintsTheProgramLogAndNamesBothFiles)
{
    testgl::engine();
    const std::string vs = file("link.vs", GOOD_VERTEX);
    const std::string ps = file("link.ps", UNLINKABLE_FRAGMENT);

    const GLuint probe = probeName();
    const Attempt attempt = construct(vs, ps);
    EXPECT_EQ("ShaderLoadingException", attempt.type);
    EXPECT_EQ("Fail to create the shader: " + vs + " " + ps + " Linking", attempt.message);
    EXPECT_EQ(0u, attempt.err.rfind("Erreur lors du liage du shader:\n", 0)) << attempt.err;
    EXPECT_GT(attempt.err.size(), std::string("Erreur lors du liage du shader:\n").size())
        << "the driver's link log follows the header";
    EXPECT_EQ("", attempt.out);
    expectNothingLeftFrom(probe);
}

TEST(Shader, EmptyFileReachesTheCompiler)
{
    testgl::engine();
    const std::string empty = file("empty.vs", "");
    const std::string ps = file("empty-partner.ps", GOOD_FRAGMENT);

    const GLuint probe = probeName();
    const Attempt attempt = construct(empty, ps);
    // An empty source is read fine; whether the driver rejects it when compiling
    // (no main) or when linking is its own business, but it is never a read failure.
    EXPECT_TRUE(attempt.type == "ShaderCreationException" ||
                attempt.type == "ShaderLoadingException")
        << attempt.type;
    EXPECT_EQ(std::string::npos, attempt.err.find("Erreur d'ouverture"));
    expectNothingLeftFrom(probe);
}
