// The page-level check an Ogg Vorbis file passes before the decoder sees it. vorbisfile trusts
// what it reads once a page's checksum matches, and a file that mixes damaged pages with good
// ones can lead its seek into handing libogg a page whose header and body come from different
// places in its buffer (a negative-size copy inside libogg). So the whole file is walked here
// first: every page whole, in place and with a matching checksum, one logical stream per link,
// pages numbered without gaps, continuations that continue something, the three Vorbis headers
// in their pages, and every link in the first link's format.
#pragma once

#include <cstddef>
#include <string>

enum class OggVerdict {
    Sound,     // the decoder may have it
    NotOgg,    // no Ogg page at the start: some other kind of file
    NotVorbis, // Ogg, but its first stream is not Vorbis
    Damaged,   // an Ogg Vorbis file the decoder must not see
};

struct OggLayout {
    OggVerdict verdict = OggVerdict::NotOgg;
    std::string problem; // what is wrong, for a damaged file
    std::size_t nAt = 0; // byte offset of the page at fault
    int nLinks = 0;      // chained streams, one after another
    int nChannels = 0;   // of every link
    long nRate = 0;      // of every link
};

OggLayout CheckOggLayout(const unsigned char* data, std::size_t size);
