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

std::uint32_t le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::int64_t le64(const unsigned char* p) {
    return std::int64_t(std::uint64_t(le32(p)) | std::uint64_t(le32(p + 4)) << 32);
}

// Whether a page's checksum matches, computed by libogg on a copy of the header (libogg writes
// the checksum into the header it is given).
bool checksumMatches(const unsigned char* page, std::size_t header, std::size_t body) {
    unsigned char copy[kPageHeader + 255];
    std::memcpy(copy, page, header);
    ogg_page og{copy, long(header), const_cast<unsigned char*>(page + header), long(body)};
    ogg_page_checksum_set(&og);
    return std::memcmp(copy + 22, page + 22, 4) == 0;
}

bool isVorbisHeader(const unsigned char* packet, std::size_t length, unsigned char type) {
    return length >= 7 && packet[0] == type && std::memcmp(packet + 1, "vorbis", 6) == 0;
}

// The link being walked: its stream's serial number and how far its pages have come.
struct Link {
    std::uint32_t serial = 0;
    std::uint32_t nextPage = 0;
    bool packetOpen = false; // the last page ended inside a packet
    bool ended = false;      // its last page has been seen
    int packets = 0;         // packets completed so far
    std::size_t packetBytes = 0;
    unsigned char packetStart[7] = {}; // enough to tell the Vorbis headers
    std::int64_t position = 0;         // the highest granule position so far
    int channels = 0;
    long rate = 0;
};

std::string format(const Link& link) {
    return std::to_string(link.rate) + " Hz with " + std::to_string(link.channels) +
           (link.channels == 1 ? " channel" : " channels");
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
    ~HeaderReader() { reset(); }

    void begin(std::uint32_t serial) {
        reset();
        ogg_stream_init(&stream_, int(serial));
        vorbis_info_init(&info_);
        vorbis_comment_init(&comment_);
        active_ = true;
    }
    // Takes a whole page of the link (its checksum already checked); false when libvorbis
    // refuses a header on it.
    bool page(const unsigned char* page, std::size_t header, std::size_t body) {
        if (!active_ || read_ == 3) return true;
        ogg_page og{const_cast<unsigned char*>(page), long(header),
                    const_cast<unsigned char*>(page + header), long(body)};
        if (ogg_stream_pagein(&stream_, &og) != 0) return false;
        ogg_packet packet;
        while (read_ < 3 && ogg_stream_packetout(&stream_, &packet) == 1) {
            if (vorbis_synthesis_headerin(&info_, &comment_, &packet) != 0) return false;
            ++read_;
        }
        return read_ < 3 || decoderBuilds();
    }

  private:
    // The decoder made from the headers, as vorbisfile makes it before the first packet. A
    // codebook that unpacks but cannot be built fails here; vorbisfile would try again on the
    // next read, find libvorbis's half-built codebooks and divide by a zero dimension.
    bool decoderBuilds() {
        vorbis_dsp_state decoder;
        if (vorbis_synthesis_init(&decoder, &info_) != 0) return false; // cleared by libvorbis
        vorbis_dsp_clear(&decoder);
        return true;
    }

    void reset() {
        if (active_) {
            ogg_stream_clear(&stream_);
            vorbis_comment_clear(&comment_);
            vorbis_info_clear(&info_);
        }
        active_ = false;
        read_ = 0;
    }

    ogg_stream_state stream_;
    vorbis_info info_;
    vorbis_comment comment_;
    bool active_ = false;
    int read_ = 0;
};

class Walker {
  public:
    Walker(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
    OggLayout run();

  private:
    bool page(std::size_t at, std::size_t* length);
    bool packets(const unsigned char* lacing, int segments, const unsigned char* body, bool first);
    bool fail(const char* problem) {
        layout_.verdict = OggVerdict::Damaged;
        layout_.problem = problem;
        layout_.at = at_;
        return false;
    }

    const unsigned char* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    OggLayout layout_;
    std::vector<Link> links_;
    HeaderReader headers_;
};

OggLayout Walker::run() {
    if (size_ < kPageHeader || std::memcmp(data_, "OggS", 4) != 0) return layout_;
    layout_.verdict = OggVerdict::Sound;
    while (at_ < size_) {
        std::size_t length = 0;
        if (!page(at_, &length)) return layout_;
        at_ += length;
    }
    for (const Link& link : links_) {
        if (link.packets < 4) {
            fail(link.packets < 3 ? "a stream lacks its Vorbis headers"
                                  : "a stream holds no sound after its headers");
            return layout_;
        }
        if (link.channels != links_[0].channels || link.rate != links_[0].rate) {
            layout_.verdict = OggVerdict::Damaged;
            layout_.at = 0;
            layout_.problem = "its chained streams differ in format (" + format(links_[0]) +
                              ", then " + format(link) + "); the music plays in one format";
            return layout_;
        }
    }
    layout_.links = int(links_.size());
    layout_.channels = links_[0].channels;
    layout_.rate = links_[0].rate;
    return layout_;
}

bool Walker::page(std::size_t at, std::size_t* length) {
    const unsigned char* p = data_ + at;
    const std::size_t left = size_ - at;
    if (left < kPageHeader) return fail("the file ends inside a page header");
    if (std::memcmp(p, "OggS", 4) != 0) return fail("bytes that are no page lie between pages");
    if (p[4] != 0) return fail("a page has an unknown version");
    const unsigned flags = p[5];
    if (flags & ~(kContinued | kFirst | kLast)) return fail("a page has unknown flags");
    const int segments = p[26];
    if (left < kPageHeader + segments) return fail("the file ends inside a page header");
    std::size_t body = 0;
    for (int i = 0; i < segments; ++i) body += p[kPageHeader + i];
    *length = kPageHeader + segments + body;
    if (left < *length) return fail("the file ends inside a page");
    if (!checksumMatches(p, kPageHeader + segments, body)) return fail("a page fails its checksum");

    const std::int64_t position = le64(p + 6);
    const std::uint32_t serial = le32(p + 14);
    const std::uint32_t number = le32(p + 18);
    Link* link = links_.empty() ? nullptr : &links_.back();
    if (flags & kFirst) {
        if (link && !link->ended)
            return fail("a second stream begins inside the first (multiplexed streams)");
        for (const Link& earlier : links_)
            if (earlier.serial == serial) return fail("two chained streams share a serial number");
        links_.emplace_back();
        link = &links_.back();
        link->serial = serial;
    } else if (!link) {
        return fail("the first page does not begin a stream");
    } else if (link->ended) {
        return fail("a page follows the last page of its stream");
    } else if (serial != link->serial) {
        return fail("a page of another stream is mixed in (multiplexed streams)");
    }
    if (number != link->nextPage) return fail("a page is missing or out of order");
    link->nextPage = number + 1;
    if (bool(flags & kContinued) != link->packetOpen)
        return fail(link->packetOpen ? "a packet is left unfinished"
                                     : "a page continues a packet that was never begun");
    if (position != kNoPosition) {
        if (position < 0 || position < link->position)
            return fail("a page's sample position goes back");
        link->position = position;
    }
    if (!packets(p + kPageHeader, segments, p + kPageHeader + segments, flags & kFirst))
        return false;
    if (flags & kFirst) headers_.begin(serial);
    if (!headers_.page(p, kPageHeader + segments, body))
        return fail("a stream's Vorbis headers cannot be read or built into a decoder");
    if (flags & kLast) {
        if (link->packetOpen) return fail("a stream ends inside a packet");
        link->ended = true;
    }
    return true;
}

bool Walker::packets(const unsigned char* lacing, int segments, const unsigned char* body,
                     bool first) {
    Link& link = links_.back();
    if (first) {
        // The identification header, alone on the stream's first page.
        if (segments != 1 || lacing[0] != 30 || !isVorbisHeader(body, 30, 1)) {
            if (links_.size() == 1) {
                layout_.verdict = OggVerdict::NotVorbis;
                return false;
            }
            return fail("a chained stream is not Vorbis");
        }
        link.channels = body[11];
        link.rate = long(le32(body + 12));
        if (le32(body + 7) != 0 || link.channels == 0 || link.rate <= 0 || !(body[29] & 1))
            return fail("a stream's Vorbis identification header is damaged");
        link.packets = 1;
        return true;
    }
    std::size_t offset = 0;
    for (int i = 0; i < segments; ++i) {
        const unsigned value = lacing[i];
        for (unsigned k = 0; k < value && link.packetBytes + k < sizeof link.packetStart; ++k)
            link.packetStart[link.packetBytes + k] = body[offset + k];
        link.packetBytes += value;
        offset += value;
        if (value == 255) continue;
        const std::size_t kept = std::min(link.packetBytes, sizeof link.packetStart);
        if (link.packets == 1 && !isVorbisHeader(link.packetStart, kept, 3))
            return fail("a stream's comment header is missing");
        if (link.packets == 2) {
            if (!isVorbisHeader(link.packetStart, kept, 5))
                return fail("a stream's setup header is missing");
            if (i != segments - 1) return fail("sound begins on the page of the last header");
        }
        ++link.packets;
        link.packetBytes = 0;
    }
    if (segments > 0) link.packetOpen = lacing[segments - 1] == 255;
    return true;
}

} // namespace

OggLayout CheckOggLayout(const unsigned char* data, std::size_t size) {
    if (!data) return OggLayout();
    return Walker(data, size).run();
}
