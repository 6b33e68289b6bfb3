#version 120
// Pulse, vertex stage: the scenes draw with the fixed-function vertex and colour
// arrays and the current modelview and projection matrices; pass them through,
// with the vertex's depth in front of the eye for the fragment stage's distance fade.
// The brightness work ("amplif", "fade") happens per fragment.

varying float eyeDepth;  // world units in front of the eye

#ifdef GL_ES
uniform float u_pointSize;  // pixels: glPointSize, as the browser's GL emulation hands it on
#endif

void main()
{
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
    eyeDepth = -(gl_ModelViewMatrix * gl_Vertex).z;
    gl_FrontColor = gl_Color;
#ifdef GL_ES
    gl_PointSize = u_pointSize;  // WebGL sizes points in the vertex stage only
#else
    gl_BackColor = gl_Color;
#endif
}
