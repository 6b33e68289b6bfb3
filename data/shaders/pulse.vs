#version 120
// Pulse, vertex stage: the scenes draw with the fixed-function vertex and colour
// arrays and the current modelview and projection matrices; pass them through,
// with the eye's distance to the vertex for the fragment stage's distance fade.
// The brightness work ("amplif", "fade") happens per fragment.

varying float eyeDistance;  // world units

void main()
{
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
    eyeDistance = length((gl_ModelViewMatrix * gl_Vertex).xyz);
    gl_FrontColor = gl_Color;
    gl_BackColor = gl_Color;
}
