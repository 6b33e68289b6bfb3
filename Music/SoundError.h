// SoundError: a failure of the sound layer, with the one line the user reads about
// it. Thrown inside the layer (never on the audio thread); Music catches it at its
// boundary and writes the line, so no call of Music throws.
#pragma once

#include <exception>

class SoundError : public std::exception {
public:
    enum Reason {
        OUT_OF_MEMORY,
        FILE_NOT_FOUND,  // missing, unreadable, or no regular file (FIFO, device, ...)
        FILE_IS_DIRECTORY,
        FILE_EMPTY,
        FILE_BAD,        // no MPEG audio could be decoded from it (a WAV file, text, noise)
        FILE_TRUNCATED,  // it ends before the length announced in its header
        FORMAT_CHANGED,  // the sample rate or channel count changes inside it
        DECODER_FAILURE,
        AUDIO_DEVICE,  // no audio output at all, not even the silent one
        DEVICE_IN_USE,
        NOT_INITIALISED,
        ALREADY_INITIALISED,
        NO_SOUND,          // nothing was loaded
        NOT_PLAYING,       // never started, stopped, or played to its end
        INVALID_POSITION,  // past the end of the sound
        CLOCK_NOT_SETTABLE,
        CLOCK_BACKWARD,
        REASON_COUNT
    };

    explicit SoundError(Reason reason) : m_reason(reason) {}
    Reason reason() const { return m_reason; }
    const char* what() const noexcept override;  // one sentence, no end-of-line

private:
    Reason m_reason;
};
