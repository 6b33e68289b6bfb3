// Soundtrack: the sound layer's decoder, pulled in encoder-sized pieces; the gapless
// tag is honoured, so the first sample is the one the player starts with.
#include "Capture/Soundtrack.h"

#include <algorithm>
#include <climits>
#include <new>

#include "Capture/CaptureError.h"
#include "Music/MpegReader.h"
#include "Music/SoundError.h"

Soundtrack::Soundtrack() = default;
Soundtrack::~Soundtrack() = default;

bool Soundtrack::load(const std::string& path, std::string& reason)
{
    std::unique_ptr<SoundFile> file;
    try {
        file.reset(new SoundFile(path.c_str()));
        MpegReader(*file).check();
    } catch (const SoundError& e) {
        reason = e.what();
        return false;
    } catch (const std::bad_alloc&) {
        reason = SoundError(SoundError::OUT_OF_MEMORY).what();
        return false;
    }
    m_path = path;
    m_file = std::move(file);
    seek(0);
    m_channels = m_reader->channels();
    m_sampleRate = m_reader->sampleRate();
    return true;
}

void Soundtrack::seek(uint64_t frame)
{
    if (!m_file)
        return;
    try {
        // The start by a fresh decoder: a seek's first samples may differ from a
        // straight decode's, and the capture of a whole show keeps the track's exact
        // samples.
        if (frame == 0 || !m_reader)
            m_reader.reset(new MpegReader(*m_file));
        // A position past the end is refused by the decoder: all that follows is silence.
        m_ended = frame != 0 && !m_reader->seek(static_cast<int64_t>(frame));
    } catch (const SoundError& e) {
        throw CaptureError("cannot read the soundtrack '" + m_path + "': " + e.what());
    }
}

void Soundtrack::read(float* out, size_t frames)
{
    const size_t width = static_cast<size_t>(m_channels);
    size_t filled = 0;
    while (!m_ended && filled < frames) {
        const int wanted = static_cast<int>(std::min<size_t>(frames - filled, INT_MAX / width));
        int got = 0;
        try {
            got = m_reader->read(out + filled * width, wanted, m_ended);
        } catch (const SoundError& e) {
            throw CaptureError("cannot read the soundtrack '" + m_path + "': " + e.what());
        }
        filled += static_cast<size_t>(got);
        if (got == 0)
            m_ended = true;  // nothing more comes, whatever the decoder says
    }
    std::fill(out + filled * width, out + frames * width, 0.0f);
}
