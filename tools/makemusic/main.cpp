// makemusic OUTPUT.ogg: writes the show's music, synthesised from the score, as Ogg Vorbis.
#include "mixdown.h"
#include "score.h"
#include "vorbis_writer.h"

#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: makemusic OUTPUT.ogg\n");
        return 2;
    }
    auto stems = std::make_unique<Stems>();
    WriteScore(*stems);
    const Track mix = Mixdown(*stems);
    stems.reset();
    if (!WriteOggVorbis(argv[1], mix, 0.4f)) {
        std::fprintf(stderr, "makemusic: cannot write %s\n", argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
