#version 120
// Blur, vertex stage of both blur programs: the screen quad (unit square under an
// orthographic projection) with its texture coordinates passed through for unit 0.

void main()
{
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
    gl_TexCoord[0] = gl_MultiTexCoord0;
}
