// SoundResult: messages of the sound layer's result codes. No dependencies.
#include "Music/SoundResult.h"

const char* SoundResult::errorString(int code)
{
    switch (code) {
    case Ok: return "No errors.";
    case InvalidParam: return "A sound call was given a missing or out-of-range argument.";
    case InvalidHandle: return "The sound object is missing or has already been released.";
    case NotInitialised: return "The sound system has not been initialised.";
    case AlreadyInitialised: return "The sound system is already initialised.";
    case OutOfMemory: return "Not enough memory for the sound data.";
    case FileNotFound: return "The sound file does not exist or cannot be opened.";
    case FileIsDirectory: return "The sound file path names a directory.";
    case FileEmpty: return "The sound file is empty.";
    case FileBad: return "The sound file holds no MPEG audio that can be decoded.";
    case FileTruncated: return "The sound file is cut short: it ends before its announced length.";
    case FormatChanged: return "The sound file changes its sample rate or channel count midway.";
    case DecoderFailure: return "The MP3 decoder could not be started.";
    case AudioDevice: return "No audio output could be opened, not even the silent one.";
    case NoFreeChannel: return "Every sound channel is busy.";
    case ChannelStopped: return "The sound channel has stopped playing.";
    case DeviceInUse: return "Another sound system already holds the audio output.";
    case InvalidPosition: return "The position lies past the end of the sound.";
    case ClockNotSettable:
        return "The sound system runs on its audio device's clock, which cannot be set.";
    default: break;
    }
    // Codes 19 to 97 are reserved for the layer but unused: the layer never returns
    // them, so they are as unknown to a reader as the codes above 97.
    return "Unknown error.";
}
