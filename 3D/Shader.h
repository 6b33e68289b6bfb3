// Shader: owns one linked GLSL program and its vertex and fragment shader
// objects, built from two text files (one fragment source may serve several
// programs through definitions put in front of it). Exists only fully linked (a
// failing constructor throws and releases what it created). Sets no uniforms.
#pragma once

#include <GL/glew.h>

#include <memory>
#include <string>

class Shader {
public:
    // Reads, compiles and links; never changes the current program.
    // Throws GLErrorException ("glCreateShader"), ShaderException ("Fail to read
    // shaders"), ShaderCreationException (compile) or ShaderLoadingException (link).
    // fragmentDefinitions (e.g. "#define BLUR_VERTICAL\n") go in front of the
    // fragment source, after its #version line when it has one; the driver's log
    // then counts their lines too.
    Shader(const std::string& vertexPath, const std::string& fragmentPath,
           const std::string& fragmentDefinitions = std::string());
    // Leaves no program current, then deletes program and shaders; no log.
    ~Shader();

    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    // GL state: makes this program current.
    void use() const;
    // GL state: makes program 0 (fixed function) current.
    static void unuse();
    GLuint getProgramId() const;

private:
    // The whole file as a zero-terminated buffer, or null (after writing
    // "Erreur d'ouverture du fichier: '<path>'" to standard error).
    static std::unique_ptr<char[]> readFile(const std::string& path);
    // True when the shader compiled; otherwise prints its log on standard output.
    static bool checkCompilation(const std::string& path, GLuint shader);
    // Detaches and deletes whatever the constructor created before throwing.
    void release() noexcept;

    GLuint m_vertex;
    GLuint m_fragment;
    GLuint m_program;
};
