#include "sound/ogg_vorbis.h"

#include "platform/regular_file.h"
#include "sound/ogg_layout.h"
#include "sound/sound_error.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace {

void ShowRefusal(const char* fileName, const std::string& why) {
    const std::string text = std::string("Ogg file refused : ") + fileName + " : " + why;
    ShowSoundError(text.c_str());
}

// The output plays what the WAVE loader lets through; the same limits, in the same words.
constexpr int kMaxChannels = 8;
constexpr long kMinRate = 100, kMaxRate = 200000;

} // namespace

COggVorbis::COggVorbis() : bDecoder(false) {
    std::memset(&vf, 0, sizeof vf);
}

COggVorbis::~COggVorbis() {
    ReleaseDecoder();
}

int COggVorbis::Open(const char* fileName) {
    Close();
    std::FILE* file = OpenRegularFile(fileName);
    if (!file) {
        ShowFileOpenError(fileName);
        return -3;
    }
    const bool loaded = source.Load(file);
    std::fclose(file);
    if (!loaded) {
        ShowRefusal(fileName, "it cannot be read whole (a read error, or over " +
                                  std::to_string(OggSource::kLimit >> 20) + " MiB)");
        return RefuseSaid();
    }
    const OggLayout layout = CheckOggLayout(source.Data(), source.Size());
    if (layout.verdict == OggVerdict::Damaged) {
        ShowRefusal(fileName, layout.problem + (layout.nAt ? " (the page at byte " +
                                                                 std::to_string(layout.nAt) + ")"
                                                           : ""));
        return RefuseSaid();
    }
    if (layout.verdict != OggVerdict::Sound) return Refuse(); // another kind of file: no message
    // From here on it is Ogg Vorbis: every refusal says why.
    if (ov_open_callbacks(&source, &vf, nullptr, 0, OggSource::Callbacks()) < 0) {
        ShowRefusal(fileName, "its Vorbis headers cannot be decoded");
        return RefuseSaid();
    }
    bDecoder = true;
    // vorbisfile leaves a chained file standing in its last link once it has found the links.
    if (!ov_seekable(&vf) || (ov_streams(&vf) > 1 && ov_pcm_seek(&vf, 0) != 0)) {
        ShowRefusal(fileName, "it cannot be sought to its start");
        return RefuseSaid();
    }
    const vorbis_info* info = ov_info(&vf, -1);
    const ogg_int64_t frames = ov_pcm_total(&vf, -1);
    if (!info || frames < 0) {
        ShowRefusal(fileName, "its length cannot be told");
        return RefuseSaid();
    }
    std::string unplayable;
    if (info->channels < 1 || info->channels > kMaxChannels)
        unplayable = std::to_string(info->channels) + " channels (1 to 8 play)";
    else if (info->rate < kMinRate || info->rate > kMaxRate)
        unplayable = "a rate of " + std::to_string(info->rate) + " Hz (100 to 200000 play)";
    if (!unplayable.empty()) {
        ShowSoundError((std::string("Cannot play ") + fileName + ": " + unplayable + ".").c_str());
        return RefuseSaid();
    }

    wfx.wFormatTag = WAVE_FORMAT_PCM;
    wfx.nChannels = WORD(info->channels);
    wfx.nSamplesPerSec = DWORD(info->rate);
    wfx.wBitsPerSample = 16;
    wfx.nBlockAlign = WORD(wfx.nChannels * 2);
    wfx.nAvgBytesPerSec = wfx.nBlockAlign * wfx.nSamplesPerSec;
    wfx.cbSize = 18;
    // Open reports the size as an int: longer streams are refused rather than wrapped.
    if (std::uint64_t(frames) * wfx.nBlockAlign > std::uint64_t(INT_MAX)) {
        ShowRefusal(fileName, "over 2 GiB of decoded sound");
        return RefuseSaid();
    }
    dwDataSize = DWORD(frames) * wfx.nBlockAlign;
    return int(dwDataSize);
}

int COggVorbis::Refuse() {
    Close();
    return -2;
}

int COggVorbis::RefuseSaid() {
    Close();
    return -3;
}

void COggVorbis::ReleaseDecoder() {
    if (bDecoder) ov_clear(&vf);
    bDecoder = false;
}

void COggVorbis::Close() {
    CSoundLoader::Close();
    ReleaseDecoder();
    source.Clear();
}

int COggVorbis::Read(DWORD dwSize) {
    if (!bDecoder || !pBuffer) return -1;
    DWORD wanted = BlockSize(dwSize);
    DWORD delivered = 0;
    while (wanted > 0) {
        int stream = 0;
        const long got = ov_read(&vf, reinterpret_cast<char*>(pBuffer) + delivered,
                                 int(std::min<DWORD>(wanted, INT_MAX)), 0, 2, 1, &stream);
        if (got == 0) break;
        if (got < 0) {
            ShowSoundError("Ogg vorbis decoede error.");
            return -1;
        }
        delivered += DWORD(got);
        wanted -= DWORD(got);
    }
    return int(delivered);
}

int COggVorbis::Seek(LONG position) {
    if (!bDecoder) return -1;
    const LONG align = wfx.nBlockAlign;
    const ogg_int64_t last = dwDataSize / DWORD(align);
    const ogg_int64_t frame = std::clamp<ogg_int64_t>(position / align, 0, last);
    if (ov_pcm_seek(&vf, frame) != 0) {
        ShowSoundError("Ogg vorbis seek error.");
        return -1;
    }
    return position;
}
