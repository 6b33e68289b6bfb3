// SoundError: the messages. The file and device lines reach the demo's users.
#include "Music/SoundError.h"

const char* SoundError::what() const noexcept
{
    switch (m_reason) {
    case OUT_OF_MEMORY: return "Not enough memory for the sound data.";
    case FILE_NOT_FOUND: return "The sound file does not exist or cannot be opened.";
    case FILE_IS_DIRECTORY: return "The sound file path names a directory.";
    case FILE_EMPTY: return "The sound file is empty.";
    case FILE_BAD: return "The sound file holds no MPEG audio that can be decoded.";
    case FILE_TRUNCATED: return "The sound file is cut short: it ends before its announced length.";
    case FORMAT_CHANGED: return "The sound file changes its sample rate or channel count midway.";
    case DECODER_FAILURE: return "The MP3 decoder could not be started.";
    case AUDIO_DEVICE: return "No audio output could be opened, not even the silent one.";
    case DEVICE_IN_USE: return "Another sound system already holds the audio output.";
    case NOT_INITIALISED: return "The sound system has not been initialised.";
    case ALREADY_INITIALISED: return "The sound system is already initialised.";
    case NO_SOUND: return "No sound has been loaded.";
    case NOT_PLAYING: return "The sound channel has stopped playing.";
    case INVALID_POSITION: return "The position lies past the end of the sound.";
    case CLOCK_NOT_SETTABLE:
        return "The sound system runs on its audio device's clock, which cannot be set.";
    case CLOCK_BACKWARD: return "The sound clock cannot move backward.";
    case REASON_COUNT: break;
    }
    return "Unknown sound error.";
}
