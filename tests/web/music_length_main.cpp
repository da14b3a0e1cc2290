// Prints each music file's length in milliseconds as the native sound engine counts it, one a
// line, for the page's tests to compare with the module's reading of the same file.
#include "tools/offscreen/music_length.h"

#include <cstdio>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        double totalMs = 0;
        std::string error;
        if (!musicLengthMs(argv[i], totalMs, &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        std::printf("%.0f\n", totalMs);
    }
    return 0;
}
