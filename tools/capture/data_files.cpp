#include "tools/capture/data_files.h"

#include "shell/graphics.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Why a path is no file the show can open, or null.
const char* notAFile(const char* path) {
    struct stat s;
    if (stat(path, &s) != 0) return "missing ";
    return S_ISREG(s.st_mode) ? nullptr : "not a regular file: ";
}

} // namespace

// Checked before the show starts, so that a missing bitmap is named instead of ending the run
// with the show's own terse message.
bool checkDataFiles(std::string* error) {
    const char* bad = data_files::kMusic;
    const char* why = notAFile(data_files::kMusic);
    for (const char* bitmap : data_files::kBitmaps)
        if (!why && (why = notAFile(bitmap))) bad = bitmap;
    if (!why) return true;
    char cwd[4096];
    if (error)
        *error =
            std::string(why) + bad + " (looked in " + (getcwd(cwd, sizeof cwd) ? cwd : ".") + ")";
    return false;
}

bool checkPictures(int maxSide, std::string* error) {
    for (const char* picture : data_files::kBitmaps) {
        BmpImage image;
        std::string why;
        switch (readBmp(picture, maxSide, image, &why)) {
        case BmpStatus::Ok:
            continue;
        case BmpStatus::OpenError:
            if (error) *error = std::string("cannot open ") + picture + ": " + std::strerror(errno);
            return false;
        case BmpStatus::ReadError:
            if (error)
                *error = std::string(picture) + " is no picture the show can use: " + why +
                         "; it takes an uncompressed 24- or 32-bit BMP no larger than " +
                         std::to_string(maxSide) + " pixels a side";
            return false;
        }
    }
    return true;
}
