// XwdImage: a screenshot of the X display in xwd's dump format (ZPixmap, 24 or 32
// bits per pixel, true colour), decoded so tests can check what reaches the screen.
// Owns the raw dump. Coordinates: pixels, origin at the top-left of the screen.
#pragma once

#include <string>

class XwdImage {
public:
    struct Rgb {
        int r, g, b;  // 0-255
    };

    // Decodes a dump; false (with a reason in error()) when it is not a readable one.
    bool load(const std::string& bytes);
    // Runs "xwd -root -silent" on $DISPLAY and decodes its output.
    bool captureRoot();

    int width() const { return m_width; }
    int height() const { return m_height; }
    Rgb pixel(int x, int y) const;  // asserts that (x, y) lies inside the image
    const std::string& error() const { return m_error; }

private:
    unsigned channel(unsigned pixelValue, unsigned mask) const;

    std::string m_bytes;
    std::string m_error;
    int m_width = 0;
    int m_height = 0;
    std::size_t m_dataOffset = 0;
    unsigned m_bytesPerLine = 0;
    unsigned m_bytesPerPixel = 0;
    bool m_msbFirst = false;
    unsigned m_redMask = 0, m_greenMask = 0, m_blueMask = 0;
};
