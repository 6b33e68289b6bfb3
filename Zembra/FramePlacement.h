// FramePlacement: where a frame of one size lands on a surface of another: the
// largest rectangle with the frame's shape that fits, centred, the rest left for
// black bars. Pure integer arithmetic on pixel sizes; no GL, no SDL.
#pragma once

struct PixelRect {
    int x;  // from the surface's left edge, pixels
    int y;  // from the surface's bottom edge (GL's origin), pixels
    int width;
    int height;
};

// The frame's rectangle on a surface of surfaceWidth x surfaceHeight. Sides are
// rounded to the nearest pixel and never below 1 (a 1 x 16384 frame still shows
// as a line); bars are split evenly, the odd pixel on the right or top. A frame
// side below 1 gives the whole surface; a surface side below 1 an empty rectangle.
PixelRect placeFrame(int frameWidth, int frameHeight, int surfaceWidth, int surfaceHeight);
