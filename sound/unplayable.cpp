#include "sound/unplayable.h"

#include "platform/regular_file.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kPlays = " (Ogg Vorbis and PCM WAVE play)";

struct Magic {
    std::size_t nAt;
    const char* szBytes;
    const char* szWhat;
};

// Tracker modules and other sound formats that carry a signature at a fixed place.
constexpr Magic kKinds[] = {
    {0, "ID3", "an MP3 file"},
    {0, "fLaC", "a FLAC file"},
    {0, "Extended Module: ", "a tracker module (XM)"},
    {0, "IMPM", "a tracker module (IT)"},
    {44, "SCRM", "a tracker module (S3M)"},
    {1080, "M.K.", "a tracker module (MOD)"},
    {1080, "M!K!", "a tracker module (MOD)"},
    {1080, "FLT4", "a tracker module (MOD)"},
    {1080, "4CHN", "a tracker module (MOD)"},
    {1080, "6CHN", "a tracker module (MOD)"},
    {1080, "8CHN", "a tracker module (MOD)"},
    {0, "MThd", "a MIDI file"},
    {0, "FORM", "an AIFF file"},
};

// Codecs an Ogg stream may hold, by the start of its first packet.
constexpr Magic kOggCodecs[] = {
    {0, "\x80theora", "an Ogg Theora video, not Vorbis sound"},
    {0, "OpusHead", "Ogg Opus sound, not Vorbis"},
    {0,
     "\x7F"
     "FLAC",
     "Ogg FLAC sound, not Vorbis"},
    {0, "Speex   ", "Ogg Speex sound, not Vorbis"},
    {0, "\x01vorbis", "an Ogg Vorbis file whose headers cannot be read"},
};

bool Has(const unsigned char* head, std::size_t size, std::size_t at, const char* bytes) {
    const std::size_t n = std::strlen(bytes);
    return at + n <= size && std::memcmp(head + at, bytes, n) == 0;
}

unsigned Le16(const unsigned char* p) {
    return unsigned(p[0] | p[1] << 8);
}

std::string OggKind(const unsigned char* head, std::size_t size) {
    if (size < 27) return "an Ogg file cut short";
    const std::size_t packet = 27 + std::size_t(head[26]);
    for (const Magic& m : kOggCodecs)
        if (Has(head, size, packet, m.szBytes)) return m.szWhat;
    return "an Ogg file that holds no Vorbis sound";
}

std::string WaveKind(const unsigned char* head, std::size_t size) {
    // The format chunk is the first one in nearly every file; a rarer layout gets the
    // general answer.
    if (!Has(head, size, 12, "fmt ") || size < 22) return "a WAVE file without a readable format";
    const unsigned tag = Le16(head + 20);
    if (tag == 3) return "a WAVE file of floating-point samples, not PCM";
    if (tag == 0x55) return "a WAVE file of MP3 data, not PCM";
    if (tag == 1 || tag == 0xFFFE) {
        if (tag == 0xFFFE && size >= 46 && Le16(head + 44) == 3)
            return "a WAVE file of floating-point samples, not PCM";
        return "a WAVE file whose chunks are damaged or missing";
    }
    char text[64];
    std::snprintf(text, sizeof text, "a WAVE file in format 0x%04X, not PCM", tag);
    return text;
}

} // namespace

std::string WhyUnplayable(const unsigned char* head, std::size_t size) {
    if (size == 0) return "the file is empty";
    if (Has(head, size, 0, "OggS")) return OggKind(head, size) + kPlays;
    if (Has(head, size, 0, "RIFF") && Has(head, size, 8, "WAVE")) return WaveKind(head, size);
    if (Has(head, size, 0, "RIFF")) return std::string("a RIFF file that is not WAVE") + kPlays;
    for (const Magic& m : kKinds)
        if (Has(head, size, m.nAt, m.szBytes)) return m.szWhat + std::string(kPlays);
    // An MP3 without a tag starts on a frame header: eleven set bits.
    if (size >= 2 && head[0] == 0xFF && (head[1] & 0xE0) == 0xE0)
        return std::string("an MP3 file") + kPlays;
    return std::string("neither Ogg Vorbis nor PCM WAVE");
}

std::string WhyUnplayable(const char* fileName) {
    std::FILE* file = OpenRegularFile(fileName);
    if (!file) return "it cannot be read";
    unsigned char head[1084];
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    return WhyUnplayable(head, got);
}
