// SoundResult: the result codes of the sound layer (0 = success) and their
// messages. Every sound-layer call returns one of these codes; codes 1 to 97 are
// reserved for the layer, and anything above 97 is unknown.
#pragma once

class SoundResult {
public:
    enum Code : int {
        Ok = 0,
        InvalidParam = 1,        // null pointer, out-of-range number or unsupported option
        InvalidHandle = 2,       // null handle, or a handle to an object that is gone
        NotInitialised = 3,      // the system has not been initialised (or was closed)
        AlreadyInitialised = 4,  // init called twice
        OutOfMemory = 5,
        FileNotFound = 6,  // the path does not exist, cannot be opened or is no regular file
        FileIsDirectory = 7,
        FileEmpty = 8,
        FileBad = 9,  // no MPEG audio could be decoded from the file (a WAV file, text, noise)
        FileTruncated = 10,   // the file ends before the length announced in its header
        FormatChanged = 11,   // sample rate or channel count changes inside the file
        DecoderFailure = 12,  // libmpg123 could not be set up
        AudioDevice = 13,     // no audio output at all, not even the silent one
        NoFreeChannel = 14,
        ChannelStopped = 15,    // the channel finished or was stopped
        DeviceInUse = 16,       // another sound system holds the audio output
        InvalidPosition = 17,   // a position past the end of the sound
        ClockNotSettable = 18,  // setClock on a system that runs on its audio device's clock
        LastKnown = 18
    };

    // "No errors." for 0, "Unknown error." for codes above 97 (and for negative
    // codes), a plain sentence for each code above; never null.
    static const char* errorString(int code);
};
