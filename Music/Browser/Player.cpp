// Player and Sound in the page: the clocks, the start and moves of the playback and
// the spectrum of what is heard, over the page's sound functions (sound.js).
#include "Music/Browser/Player.h"

#include <emscripten.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "Music/FrameTime.h"
#include "Music/RiffCheck.h"
#include "Music/SoundError.h"
#include "Music/SpectrumAnalyser.h"

// The page's side (Music/Browser/sound.js).
extern "C" {
int dedoz_sound_decode(const unsigned char* bytes, int size);  // id, or < 0: SoundDecodeFailure
double dedoz_sound_frames(int id);                             // whole frames
int dedoz_sound_rate(int id);
void dedoz_sound_release(int id);
// Frames [endFrame - count, endFrame) of channel 0 into out; silence outside the sound.
// An int, not a double: it reaches JavaScript as a small integer, never as a boxed number.
void dedoz_sound_copy(int id, int endFrame, int count, float* out);
int dedoz_audio_open();
void dedoz_audio_close();
int dedoz_audio_running();  // 1 while the browser lets the context play
double dedoz_audio_time();  // seconds of the audio clock heard now
// Plays from offsetSeconds in place of what played; returns the audio time it starts at.
double dedoz_audio_play(int id, double offsetSeconds);
void dedoz_audio_stop();
}

namespace {

// dedoz_sound_decode's failures.
enum SoundDecodeFailure { DECODER_NOT_READY = -1, NO_AUDIO = -2, NO_MEMORY = -3 };

const int DEMO_SPECTRUM_COUNT = 512;

bool powerOfTwo(int n)
{
    return n >= 1 && (n & (n - 1)) == 0;
}

std::vector<unsigned char> readWhole(const char* path)
{
    struct stat info;
    if (!path || ::stat(path, &info) != 0)
        throw SoundError(SoundError::FILE_NOT_FOUND);
    if (S_ISDIR(info.st_mode))
        throw SoundError(SoundError::FILE_IS_DIRECTORY);
    if (!S_ISREG(info.st_mode))
        throw SoundError(SoundError::FILE_NOT_FOUND);
    if (info.st_size == 0)
        throw SoundError(SoundError::FILE_EMPTY);
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "rb"), std::fclose);
    if (!file)
        throw SoundError(SoundError::FILE_NOT_FOUND);
    std::vector<unsigned char> bytes(static_cast<size_t>(info.st_size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        throw SoundError(SoundError::FILE_NOT_FOUND);
    return bytes;
}

}  // namespace

Sound::Sound(const char* path) : id(0), frames(0), sampleRate(0)
{
    const std::vector<unsigned char> bytes = readWhole(path);
    const auto readAt = [&bytes](void* buffer, size_t size, int64_t offset) -> long long {
        if (offset < 0 || static_cast<uint64_t>(offset) >= bytes.size())
            return 0;
        const size_t n = std::min(size, bytes.size() - static_cast<size_t>(offset));
        std::memcpy(buffer, bytes.data() + offset, n);
        return static_cast<long long>(n);
    };
    if (riffWithoutMpeg(readAt))
        throw SoundError(SoundError::FILE_BAD);
    const int decoded = dedoz_sound_decode(bytes.data(), static_cast<int>(bytes.size()));
    if (decoded == DECODER_NOT_READY)
        throw SoundError(SoundError::DECODER_FAILURE);
    if (decoded == NO_MEMORY)
        throw std::bad_alloc();
    if (decoded <= 0)
        throw SoundError(SoundError::FILE_BAD);
    id = decoded;
    frames = static_cast<int64_t>(dedoz_sound_frames(id));
    sampleRate = dedoz_sound_rate(id);
    const std::string whole(path);
    const size_t slash = whole.find_last_of('/');
    name = slash == std::string::npos ? whole : whole.substr(slash + 1);
}

Sound::~Sound()
{
    dedoz_sound_release(id);
}

Player::Player(bool withAudio, unsigned int clockMs)
    : m_manualClock(!withAudio), m_clockNs(static_cast<int64_t>(clockMs) * 1000000),
      m_withAudio(false), m_onAudio(false), m_sound(nullptr), m_paused(false), m_anchorFrame(0),
      m_anchorNs(0)
{
    // The demo's spectrum is planned now, not on the first frame.
    m_analyser.reset(new SpectrumAnalyser(DEMO_SPECTRUM_COUNT));
    m_window.reset(new float[2 * DEMO_SPECTRUM_COUNT]);
    // A page without Web Audio still shows the show, on the page's clock.
    if (withAudio)
        m_withAudio = dedoz_audio_open() != 0;
}

Player::~Player()
{
    stop();
    if (m_withAudio)
        dedoz_audio_close();
}

int64_t Player::clockNs(bool audio) const
{
    if (m_manualClock)
        return m_clockNs;
    if (audio)
        return std::llround(dedoz_audio_time() * 1e9);
    return std::llround(emscripten_get_now() * 1e6);  // ms, sub-millisecond precision
}

uint64_t Player::heardFrame() const
{
    const uint64_t length = static_cast<uint64_t>(m_sound->frames) << 32;
    if (m_paused)
        return std::min(m_anchorFrame, length);
    const uint64_t ahead =
        frameTime::framesIn(clockNs(m_onAudio) - m_anchorNs, m_sound->sampleRate);
    return std::min(m_anchorFrame + ahead, length);
}

void Player::restartSource()
{
    m_anchorNs = clockNs(m_onAudio);
    if (!m_onAudio)
        return;
    const double offset = std::ldexp(static_cast<double>(m_anchorFrame), -32) / m_sound->sampleRate;
    m_anchorNs = std::llround(dedoz_audio_play(m_sound->id, offset) * 1e9);
}

void Player::update()
{
    const bool audio = m_withAudio && dedoz_audio_running() != 0;
    if (audio != m_onAudio) {
        // The context started (a user gesture) or stopped: the position heard on the
        // old clock carries over to the other, and the source node follows.
        const bool moving = m_sound && !m_paused;
        if (moving) {
            m_anchorFrame = heardFrame();
            if (m_onAudio)
                dedoz_audio_stop();
        }
        m_onAudio = audio;
        if (moving)
            restartSource();
    }
    if (m_sound && heardFrame() >= static_cast<uint64_t>(m_sound->frames) << 32)
        stop();  // played to its end
}

void Player::setClock(unsigned int ms)
{
    if (!m_manualClock)
        throw SoundError(SoundError::CLOCK_NOT_SETTABLE);
    const int64_t time = static_cast<int64_t>(ms) * 1000000;
    if (time < m_clockNs)
        throw SoundError(SoundError::CLOCK_BACKWARD);
    m_clockNs = time;
    update();
}

void Player::start(const Sound& sound)
{
    stop();
    update();  // which clock is in force
    m_sound = &sound;
    m_paused = false;
    m_anchorFrame = 0;
    restartSource();
}

void Player::stop()
{
    if (m_sound && m_onAudio)
        dedoz_audio_stop();
    m_sound = nullptr;
    m_paused = false;
}

bool Player::paused()
{
    update();
    return m_sound && m_paused;
}

void Player::setPaused(bool paused)
{
    update();
    if (!m_sound || paused == m_paused)
        return;
    if (paused) {
        // Keeps the frame heard now, so resuming replays nothing and skips nothing.
        m_anchorFrame = heardFrame();
        m_paused = true;
        if (m_onAudio)
            dedoz_audio_stop();
    } else {
        m_paused = false;
        restartSource();
    }
}

void Player::setPosition(unsigned int ms)
{
    update();
    if (!m_sound)
        throw SoundError(SoundError::NOT_PLAYING);
    const uint64_t frames = frameTime::fromMs(ms, m_sound->sampleRate);
    if (frames > static_cast<uint64_t>(m_sound->frames) << 32)
        throw SoundError(SoundError::INVALID_POSITION);
    m_anchorFrame = frames;
    if (!m_paused)
        restartSource();  // a new source node replaces the playing one
}

unsigned int Player::position()
{
    update();
    if (!m_sound)
        throw SoundError(SoundError::NOT_PLAYING);
    return frameTime::toMs(heardFrame(), m_sound->sampleRate);
}

void Player::spectrum(float* out, int count)
{
    if (!powerOfTwo(count) || count > MAX_SPECTRUM_COUNT)
        return;
    update();
    if (!m_sound || m_paused)
        return;
    if (m_analyser->count() != count) {
        // Another count than the demo's is planned when it is asked for.
        m_window.reset(new float[2 * static_cast<size_t>(count)]);
        m_analyser.reset(new SpectrumAnalyser(count));
    }
    const int64_t heard = static_cast<int64_t>(heardFrame() >> 32);
    // Fits an int: a page cannot hold the 8 GB of samples of a longer sound.
    dedoz_sound_copy(m_sound->id, static_cast<int>(heard), 2 * count, m_window.get());
    m_analyser->compute(m_window.get(), 2 * static_cast<size_t>(count), 1, 0, 2 * count, out);
}
