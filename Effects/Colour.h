// Colour: RGBA as four floats from 0 to 1, copied by value; and restColour, the
// resting colour of the floor grid (also the colour of the world scene's objects).
#pragma once

struct Colour {
    float r, g, b, a;
};

// (117/255, 117/255, 117/255, 0.7)
constexpr Colour restColour = {117.0f / 255.0f, 117.0f / 255.0f, 117.0f / 255.0f, 0.7f};

// RGB without alpha, for objects whose alpha is fixed by their own class.
struct Rgb {
    float r, g, b;
};
