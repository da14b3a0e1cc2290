#include "tools/capture/data_files.h"

#include "shell/graphics.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The pictures the show loads at start-up; checked first so that a missing one is named
// instead of ending the run with the show's own terse message.
const char* const kPictures[] = {"Data/title2.bmp",   "Data/aba2.bmp",     "Data/sc02cross.bmp",
                                 "Data/letter01.bmp", "Data/letter02.bmp", "Data/letter03.bmp",
                                 "Data/moll4.bmp",    "Data/smoke4.bmp",   "Data/sc03objecs03.bmp",
                                 "Data/r.bmp",        "Data/eyeeye2.bmp",  "Data/greeting.bmp"};

// Why a path is no file the show can open, or null.
const char* notAFile(const char* path) {
    struct stat s;
    if (stat(path, &s) != 0) return "missing ";
    return S_ISREG(s.st_mode) ? nullptr : "not a regular file: ";
}

} // namespace

bool checkDataFiles(std::string* error) {
    const char* bad = kMusicFile;
    const char* why = notAFile(kMusicFile);
    for (const char* picture : kPictures)
        if (!why && (why = notAFile(picture))) bad = picture;
    if (!why) return true;
    char cwd[4096];
    if (error)
        *error =
            std::string(why) + bad + " (looked in " + (getcwd(cwd, sizeof cwd) ? cwd : ".") + ")";
    return false;
}

bool checkPictures(int maxSide, std::string* error) {
    for (const char* picture : kPictures) {
        BmpImage image;
        switch (readBmp(picture, maxSide, image)) {
        case BmpStatus::Ok:
            continue;
        case BmpStatus::OpenError:
            if (error) *error = std::string("cannot open ") + picture + ": " + std::strerror(errno);
            return false;
        case BmpStatus::ReadError:
            if (error)
                *error = std::string(picture) +
                         " is no picture the show can use (an uncompressed 24- or 32-bit BMP "
                         "no larger than " +
                         std::to_string(maxSide) + " pixels a side)";
            return false;
        }
    }
    return true;
}
