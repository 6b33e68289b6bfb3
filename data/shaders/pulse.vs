#version 120
// Pulse, vertex stage: the scenes draw with the fixed-function vertex and colour
// arrays and the current modelview and projection matrices; pass them through,
// with the vertex's depth in front of the eye for the fragment stage's distance fade.
// The brightness work ("amplif", "fade") happens per fragment.

varying float eyeDepth;  // world units in front of the eye

void main()
{
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
    eyeDepth = -(gl_ModelViewMatrix * gl_Vertex).z;
    gl_FrontColor = gl_Color;
    gl_BackColor = gl_Color;
}
