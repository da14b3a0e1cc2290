// Mutations of Ogg files that keep most pages' checksums right: a mutated byte almost always
// breaks a page's checksum, and the decoder behind the page check would then go unexplored.
// One input in eight keeps whatever checksums the mutation left, for the check itself.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ogg/ogg.h>

extern "C" size_t LLVMFuzzerMutate(std::uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(std::uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    if (seed % 8 == 0) return size;
    for (size_t at = 0; at + 27 <= size;) {
        if (std::memcmp(data + at, "OggS", 4) != 0) {
            ++at;
            continue;
        }
        const size_t segments = data[at + 26];
        size_t body = 0;
        for (size_t i = 0; i < segments && at + 27 + i < size; ++i) body += data[at + 27 + i];
        const size_t header = 27 + segments;
        if (at + header + body > size) break;
        ogg_page page{data + at, long(header), data + at + header, long(body)};
        ogg_page_checksum_set(&page);
        at += header + body;
    }
    return size;
}
