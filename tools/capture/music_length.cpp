#include "tools/capture/music_length.h"

#include <vorbis/vorbisfile.h>

#include <cstdint>
#include <cstdio>

bool musicLengthMs(const std::string& path, double& totalMs, std::string* error) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (error) *error = "cannot open " + path;
        return false;
    }
    OggVorbis_File vf;
    // On success the decoder owns the file and closes it in ov_clear.
    if (ov_open(file, &vf, nullptr, 0) != 0) {
        std::fclose(file);
        if (error) *error = path + " is not an Ogg Vorbis file";
        return false;
    }
    const vorbis_info* info = ov_info(&vf, -1);
    const ogg_int64_t samples = ov_pcm_total(&vf, -1);
    if (!info || samples < 0 || info->channels <= 0 || info->rate <= 0) {
        ov_clear(&vf);
        if (error) *error = path + " has no length";
        return false;
    }
    // 16-bit samples; the sizes are the engine's unsigned 32-bit fields.
    const uint32_t blockAlign = uint32_t(2 * info->channels);
    const uint32_t dataBytes = uint32_t(uint64_t(samples) * blockAlign);
    const uint32_t bytesPerSecond = blockAlign * uint32_t(info->rate);
    ov_clear(&vf);
    totalMs = double(uint32_t(double(dataBytes) / double(bytesPerSecond) * 1000));
    return true;
}
