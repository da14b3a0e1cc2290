#include "vorbis_writer.h"

#include <algorithm>
#include <cstdio>
#include <vorbis/vorbisenc.h>

namespace {

constexpr int kSerial = 0x4B764D75; // fixed: oggenc would pick a random one
constexpr int kChunk = 4096;

bool writePage(std::FILE* file, const ogg_page& page) {
    return std::fwrite(page.header, 1, size_t(page.header_len), file) == size_t(page.header_len) &&
           std::fwrite(page.body, 1, size_t(page.body_len), file) == size_t(page.body_len);
}

} // namespace

bool WriteOggVorbis(const char* path, const Track& track, float quality) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;

    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, kRate, quality) != 0) {
        vorbis_info_clear(&info);
        std::fclose(file);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "tech");
    vorbis_comment_add_tag(&comment, "ARTIST", "Kelvaster");

    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, kSerial);

    bool ok = true;
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ok && ogg_stream_flush(&stream, &page)) ok = writePage(file, page);

    // Feed the samples, then an empty write to mark the end; the last page's granule position
    // then gives the exact length.
    size_t done = 0;
    bool ended = false;
    while (ok && !ended) {
        const size_t n = std::min<size_t>(kChunk, track.frames() - done);
        if (n > 0) {
            float** in = vorbis_analysis_buffer(&dsp, int(n));
            std::copy_n(track.left.data() + done, n, in[0]);
            std::copy_n(track.right.data() + done, n, in[1]);
            done += n;
        }
        vorbis_analysis_wrote(&dsp, int(n));
        ended = n == 0;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ok && ogg_stream_pageout(&stream, &page)) ok = writePage(file, page);
            }
        }
    }
    while (ok && ogg_stream_flush(&stream, &page)) ok = writePage(file, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return std::fclose(file) == 0 && ok;
}
