// Soundtrack: the sound layer's decoder, pulled in encoder-sized pieces; the gapless
// tag is honoured, so the first sample is the one the player starts with.
#include "Capture/Soundtrack.h"

#include <algorithm>
#include <climits>

#include "Capture/CaptureError.h"
#include "Music/MpegReader.h"
#include "Music/SoundFile.h"
#include "Music/SoundResult.h"

Soundtrack::Soundtrack() = default;
Soundtrack::~Soundtrack() = default;

bool Soundtrack::load(const std::string& path, std::string& reason)
{
    std::unique_ptr<SoundFile> file;
    int result = SoundFile::open(path.c_str(), &file);
    auto reader = std::make_unique<MpegReader>();
    int64_t frames = 0;
    if (result == SoundResult::Ok)
        result = reader->open(*file);
    if (result == SoundResult::Ok)
        result = reader->check(&frames);
    if (result != SoundResult::Ok || reader->channels() < 1 || reader->sampleRate() < 1) {
        reason = SoundResult::errorString(result);
        return false;
    }
    m_path = path;
    m_channels = reader->channels();
    m_sampleRate = reader->sampleRate();
    m_file = std::move(file);
    m_reader = std::move(reader);
    seek(0);  // check() decoded the first frames
    return true;
}

void Soundtrack::seek(uint64_t frame)
{
    if (!m_reader)
        return;
    // The start by a fresh decoder: a seek's first samples may differ from a straight
    // decode's, and the capture of a whole show keeps the track's exact samples.
    int result = SoundResult::Ok;
    if (frame == 0) {
        m_reader = std::make_unique<MpegReader>();
        result = m_reader->open(*m_file);
    } else {
        result = m_reader->seek(static_cast<int64_t>(frame));
    }
    // A position past the end is refused by the decoder: all that follows is silence.
    if (result == SoundResult::InvalidPosition) {
        m_ended = true;
        return;
    }
    if (result != SoundResult::Ok)
        throw CaptureError("cannot read the soundtrack '" + m_path +
                           "': " + SoundResult::errorString(result));
    m_ended = false;
}

void Soundtrack::read(float* out, size_t frames)
{
    const size_t width = static_cast<size_t>(m_channels);
    size_t filled = 0;
    while (!m_ended && filled < frames) {
        const int wanted = static_cast<int>(std::min<size_t>(frames - filled, INT_MAX / width));
        int got = 0;
        const int result = m_reader->read(out + filled * width, wanted, &got, &m_ended);
        if (result != SoundResult::Ok)
            throw CaptureError("cannot read the soundtrack '" + m_path +
                               "': " + SoundResult::errorString(result));
        filled += static_cast<size_t>(got);
        if (got == 0)
            m_ended = true;  // nothing more comes, whatever the decoder says
    }
    std::fill(out + filled * width, out + frames * width, 0.0f);
}
