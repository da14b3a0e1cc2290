// Encodes a stereo track as Ogg Vorbis with libvorbisenc. The stream's serial number is fixed,
// so the same samples always give the same bytes.
#pragma once

#include "synth.h"

bool WriteOggVorbis(const char* path, const Track& track, float quality);
