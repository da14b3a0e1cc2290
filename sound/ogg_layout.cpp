#include "sound/ogg_layout.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ogg/ogg.h>
#include <vector>
#include <vorbis/codec.h>

namespace {

constexpr std::size_t kPageHeader = 27;
constexpr std::int64_t kNoPosition = -1;
constexpr unsigned kContinued = 1, kFirst = 2, kLast = 4;

std::uint32_t Le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::int64_t Le64(const unsigned char* p) {
    return std::int64_t(std::uint64_t(Le32(p)) | std::uint64_t(Le32(p + 4)) << 32);
}

// Whether a page's checksum matches, computed by libogg on a copy of the header (libogg writes
// the checksum into the header it is given).
bool ChecksumMatches(const unsigned char* page, std::size_t header, std::size_t body) {
    unsigned char copy[kPageHeader + 255];
    std::memcpy(copy, page, header);
    ogg_page og{copy, long(header), const_cast<unsigned char*>(page + header), long(body)};
    ogg_page_checksum_set(&og);
    return std::memcmp(copy + 22, page + 22, 4) == 0;
}

bool IsVorbisHeader(const unsigned char* packet, std::size_t length, unsigned char type) {
    return length >= 7 && packet[0] == type && std::memcmp(packet + 1, "vorbis", 6) == 0;
}

// The link being walked: its stream's serial number and how far its pages have come.
struct Link {
    std::uint32_t dwSerial = 0;
    std::uint32_t dwNextPage = 0;
    bool bPacketOpen = false; // the last page ended inside a packet
    bool bEnded = false;      // its last page has been seen
    int nPackets = 0;         // packets completed so far
    std::size_t nPacketBytes = 0;
    unsigned char packetStart[7] = {}; // enough to tell the Vorbis headers
    std::int64_t qwPosition = 0;       // the highest granule position so far
    int nChannels = 0;
    long nRate = 0;
};

std::string Format(const Link& link) {
    return std::to_string(link.nRate) + " Hz with " + std::to_string(link.nChannels) +
           (link.nChannels == 1 ? " channel" : " channels");
}

// The three headers of the link being walked, read by libvorbis itself, and the decoder they
// describe built once: vorbisfile gives up half-way through finding a chain's links when a
// later link's headers cannot be read (and leaks what it had gathered), so such a file is
// refused here instead.
class HeaderReader {
  public:
    HeaderReader() = default;
    HeaderReader(const HeaderReader&) = delete;
    HeaderReader& operator=(const HeaderReader&) = delete;
    ~HeaderReader() { Reset(); }

    void Begin(std::uint32_t serial) {
        Reset();
        ogg_stream_init(&stream, int(serial));
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
        bActive = true;
    }
    // Takes a whole page of the link (its checksum already checked); false when libvorbis
    // refuses a header on it.
    bool Page(const unsigned char* page, std::size_t header, std::size_t body) {
        if (!bActive || nRead == 3) return true;
        ogg_page og{const_cast<unsigned char*>(page), long(header),
                    const_cast<unsigned char*>(page + header), long(body)};
        if (ogg_stream_pagein(&stream, &og) != 0) return false;
        ogg_packet packet;
        while (nRead < 3 && ogg_stream_packetout(&stream, &packet) == 1) {
            if (vorbis_synthesis_headerin(&info, &comment, &packet) != 0) return false;
            ++nRead;
        }
        return nRead < 3 || DecoderBuilds();
    }

  private:
    // The decoder made from the headers, as vorbisfile makes it before the first packet. A
    // codebook that unpacks but cannot be built fails here; vorbisfile would try again on the
    // next read, find libvorbis's half-built codebooks and divide by a zero dimension.
    bool DecoderBuilds() {
        vorbis_dsp_state decoder;
        if (vorbis_synthesis_init(&decoder, &info) != 0) return false; // cleared by libvorbis
        vorbis_dsp_clear(&decoder);
        return true;
    }

    void Reset() {
        if (bActive) {
            ogg_stream_clear(&stream);
            vorbis_comment_clear(&comment);
            vorbis_info_clear(&info);
        }
        bActive = false;
        nRead = 0;
    }

    ogg_stream_state stream;
    vorbis_info info;
    vorbis_comment comment;
    bool bActive = false;
    int nRead = 0;
};

class Walker {
  public:
    Walker(const unsigned char* data, std::size_t size) : pData(data), nSize(size) {}
    OggLayout Run();

  private:
    bool Page(std::size_t at, std::size_t* length);
    bool Packets(const unsigned char* lacing, int segments, const unsigned char* body, bool first);
    bool Fail(const char* problem) {
        layout.verdict = OggVerdict::Damaged;
        layout.problem = problem;
        layout.nAt = nAt;
        return false;
    }

    const unsigned char* pData;
    std::size_t nSize;
    std::size_t nAt = 0;
    OggLayout layout;
    std::vector<Link> links;
    HeaderReader headers;
};

OggLayout Walker::Run() {
    if (nSize < kPageHeader || std::memcmp(pData, "OggS", 4) != 0) return layout;
    layout.verdict = OggVerdict::Sound;
    while (nAt < nSize) {
        std::size_t length = 0;
        if (!Page(nAt, &length)) return layout;
        nAt += length;
    }
    for (const Link& link : links) {
        if (link.nPackets < 4) {
            Fail(link.nPackets < 3 ? "a stream lacks its Vorbis headers"
                                   : "a stream holds no sound after its headers");
            return layout;
        }
        if (link.nChannels != links[0].nChannels || link.nRate != links[0].nRate) {
            layout.verdict = OggVerdict::Damaged;
            layout.nAt = 0;
            layout.problem = "its chained streams differ in format (" + Format(links[0]) +
                             ", then " + Format(link) + "); the music plays in one format";
            return layout;
        }
    }
    layout.nLinks = int(links.size());
    layout.nChannels = links[0].nChannels;
    layout.nRate = links[0].nRate;
    return layout;
}

bool Walker::Page(std::size_t at, std::size_t* length) {
    const unsigned char* p = pData + at;
    const std::size_t left = nSize - at;
    if (left < kPageHeader) return Fail("the file ends inside a page header");
    if (std::memcmp(p, "OggS", 4) != 0) return Fail("bytes that are no page lie between pages");
    if (p[4] != 0) return Fail("a page has an unknown version");
    const unsigned flags = p[5];
    if (flags & ~(kContinued | kFirst | kLast)) return Fail("a page has unknown flags");
    const int segments = p[26];
    if (left < kPageHeader + segments) return Fail("the file ends inside a page header");
    std::size_t body = 0;
    for (int i = 0; i < segments; ++i) body += p[kPageHeader + i];
    *length = kPageHeader + segments + body;
    if (left < *length) return Fail("the file ends inside a page");
    if (!ChecksumMatches(p, kPageHeader + segments, body)) return Fail("a page fails its checksum");

    const std::int64_t position = Le64(p + 6);
    const std::uint32_t serial = Le32(p + 14);
    const std::uint32_t number = Le32(p + 18);
    Link* link = links.empty() ? nullptr : &links.back();
    if (flags & kFirst) {
        if (link && !link->bEnded)
            return Fail("a second stream begins inside the first (multiplexed streams)");
        for (const Link& earlier : links)
            if (earlier.dwSerial == serial)
                return Fail("two chained streams share a serial number");
        links.emplace_back();
        link = &links.back();
        link->dwSerial = serial;
    } else if (!link) {
        return Fail("the first page does not begin a stream");
    } else if (link->bEnded) {
        return Fail("a page follows the last page of its stream");
    } else if (serial != link->dwSerial) {
        return Fail("a page of another stream is mixed in (multiplexed streams)");
    }
    if (number != link->dwNextPage) return Fail("a page is missing or out of order");
    link->dwNextPage = number + 1;
    if (bool(flags & kContinued) != link->bPacketOpen)
        return Fail(link->bPacketOpen ? "a packet is left unfinished"
                                      : "a page continues a packet that was never begun");
    if (position != kNoPosition) {
        if (position < 0 || position < link->qwPosition)
            return Fail("a page's sample position goes back");
        link->qwPosition = position;
    }
    if (!Packets(p + kPageHeader, segments, p + kPageHeader + segments, flags & kFirst))
        return false;
    if (flags & kFirst) headers.Begin(serial);
    if (!headers.Page(p, kPageHeader + segments, body))
        return Fail("a stream's Vorbis headers cannot be read or built into a decoder");
    if (flags & kLast) {
        if (link->bPacketOpen) return Fail("a stream ends inside a packet");
        link->bEnded = true;
    }
    return true;
}

bool Walker::Packets(const unsigned char* lacing, int segments, const unsigned char* body,
                     bool first) {
    Link& link = links.back();
    if (first) {
        // The identification header, alone on the stream's first page.
        if (segments != 1 || lacing[0] != 30 || !IsVorbisHeader(body, 30, 1)) {
            if (links.size() == 1) {
                layout.verdict = OggVerdict::NotVorbis;
                return false;
            }
            return Fail("a chained stream is not Vorbis");
        }
        link.nChannels = body[11];
        link.nRate = long(Le32(body + 12));
        if (Le32(body + 7) != 0 || link.nChannels == 0 || link.nRate <= 0 || !(body[29] & 1))
            return Fail("a stream's Vorbis identification header is damaged");
        link.nPackets = 1;
        return true;
    }
    std::size_t offset = 0;
    for (int i = 0; i < segments; ++i) {
        const unsigned value = lacing[i];
        for (unsigned k = 0; k < value && link.nPacketBytes + k < sizeof link.packetStart; ++k)
            link.packetStart[link.nPacketBytes + k] = body[offset + k];
        link.nPacketBytes += value;
        offset += value;
        if (value == 255) continue;
        const std::size_t kept = std::min(link.nPacketBytes, sizeof link.packetStart);
        if (link.nPackets == 1 && !IsVorbisHeader(link.packetStart, kept, 3))
            return Fail("a stream's comment header is missing");
        if (link.nPackets == 2) {
            if (!IsVorbisHeader(link.packetStart, kept, 5))
                return Fail("a stream's setup header is missing");
            if (i != segments - 1) return Fail("sound begins on the page of the last header");
        }
        ++link.nPackets;
        link.nPacketBytes = 0;
    }
    if (segments > 0) link.bPacketOpen = lacing[segments - 1] == 255;
    return true;
}

} // namespace

OggLayout CheckOggLayout(const unsigned char* data, std::size_t size) {
    if (!data) return OggLayout();
    return Walker(data, size).Run();
}
