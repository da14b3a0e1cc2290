#include "tools/capture/data_files.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The pictures the show loads at start-up; checked first so that a missing one is named
// instead of ending the run with the show's own terse message.
const char* const kPictures[] = {"Data/title2.bmp",   "Data/aba2.bmp",     "Data/sc02cross.bmp",
                                 "Data/letter01.bmp", "Data/letter02.bmp", "Data/letter03.bmp",
                                 "Data/moll4.bmp",    "Data/smoke4.bmp",   "Data/sc03objecs03.bmp",
                                 "Data/r.bmp",        "Data/eyeeye2.bmp",  "Data/greeting.bmp"};

bool isFile(const char* path) {
    struct stat s;
    return stat(path, &s) == 0 && S_ISREG(s.st_mode);
}

} // namespace

bool checkDataFiles(std::string* error) {
    const char* missing = isFile(kMusicFile) ? nullptr : kMusicFile;
    for (const char* picture : kPictures)
        if (!missing && !isFile(picture)) missing = picture;
    if (!missing) return true;
    char cwd[4096];
    if (error)
        *error = std::string("missing ") + missing + " (looked in " +
                 (getcwd(cwd, sizeof cwd) ? cwd : ".") + ")";
    return false;
}
