#version 120
// Pulse, vertex stage: the scenes draw with the fixed-function vertex and colour
// arrays and the current modelview and projection matrices; pass them through.
// The brightness work ("amplif", "fade") happens per fragment.

void main()
{
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
    gl_FrontColor = gl_Color;
    gl_BackColor = gl_Color;
}
