// The one way a sound file is opened, for the show and for the tools that must agree with it.
#pragma once

class CSoundLoader;

// The file's loader, opened: RIFF WAVE PCM first, then Ogg Vorbis. Null when neither reads
// it; a file that cannot be opened, or is read but cannot be played, has had its message.
// The caller owns the loader (Close, then delete).
CSoundLoader* OpenSoundFile(const char* fileName);
