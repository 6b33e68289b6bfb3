// XwdImage: decoder of xwd's window dump format, for screen checks under Xvfb.
#include "support/XwdImage.h"

#include <cassert>

#include "support/Process.h"

namespace {

// The header is 25 big-endian 32-bit fields, then the window name.
unsigned field(const std::string& bytes, int index)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + 4 * index;
    return (unsigned(p[0]) << 24) | (unsigned(p[1]) << 16) | (unsigned(p[2]) << 8) | p[3];
}

const int HEADER_FIELDS = 25;
const unsigned COLOR_ENTRY_BYTES = 12;
const unsigned ZPIXMAP = 2;

}  // namespace

bool XwdImage::load(const std::string& bytes)
{
    m_bytes = bytes;
    m_width = m_height = 0;
    if (bytes.size() < 4u * HEADER_FIELDS) {
        m_error = "dump shorter than its header";
        return false;
    }
    const unsigned headerSize = field(bytes, 0);
    const unsigned format = field(bytes, 2);
    const unsigned width = field(bytes, 4), height = field(bytes, 5);
    const unsigned byteOrder = field(bytes, 7);
    const unsigned bitsPerPixel = field(bytes, 11);
    const unsigned bytesPerLine = field(bytes, 12);
    const unsigned colorCount = field(bytes, 19);
    if (format != ZPIXMAP || (bitsPerPixel != 24 && bitsPerPixel != 32)) {
        m_error = "unsupported pixel format";
        return false;
    }
    if (width == 0 || height == 0 || width > 65535 || height > 65535 ||
        bytesPerLine < width * (bitsPerPixel / 8)) {
        m_error = "bad geometry";
        return false;
    }
    const std::size_t offset =
        std::size_t(headerSize) + std::size_t(colorCount) * COLOR_ENTRY_BYTES;
    if (offset + std::size_t(bytesPerLine) * height > bytes.size()) {
        m_error = "pixel data truncated";
        return false;
    }
    m_dataOffset = offset;
    m_bytesPerLine = bytesPerLine;
    m_bytesPerPixel = bitsPerPixel / 8;
    m_msbFirst = byteOrder != 0;
    m_redMask = field(bytes, 14);
    m_greenMask = field(bytes, 15);
    m_blueMask = field(bytes, 16);
    m_width = int(width);
    m_height = int(height);
    m_error.clear();
    return true;
}

bool XwdImage::captureRoot()
{
    const Process::Result shot = Process::run({"xwd", "-root", "-silent"}, {}, 20000);
    if (!shot.started || shot.exitCode != 0) {
        m_error = "xwd failed: " + shot.err;
        return false;
    }
    return load(shot.out);
}

unsigned XwdImage::channel(unsigned pixelValue, unsigned mask) const
{
    if (mask == 0)
        return 0;
    unsigned shift = 0;
    while (((mask >> shift) & 1u) == 0)
        ++shift;
    const unsigned maxValue = mask >> shift;
    return ((pixelValue & mask) >> shift) * 255u / maxValue;
}

XwdImage::Rgb XwdImage::pixel(int x, int y) const
{
    assert(x >= 0 && x < m_width && y >= 0 && y < m_height);
    const auto* p = reinterpret_cast<const unsigned char*>(m_bytes.data()) + m_dataOffset +
                    std::size_t(y) * m_bytesPerLine + std::size_t(x) * m_bytesPerPixel;
    unsigned value = 0;
    for (unsigned i = 0; i < m_bytesPerPixel; ++i) {
        const unsigned byte = p[i];
        value |= m_msbFirst ? byte << (8 * (m_bytesPerPixel - 1 - i)) : byte << (8 * i);
    }
    return {int(channel(value, m_redMask)), int(channel(value, m_greenMask)),
            int(channel(value, m_blueMask))};
}
