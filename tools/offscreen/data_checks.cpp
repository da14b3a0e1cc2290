#include "tools/offscreen/data_checks.h"

#include "show/graphics.h"

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

bool startShowGraphics(std::string* error) {
    errno = 0;
    const GraphicsStart start = initGraphics();
    // The failed open is the last call that set errno.
    const int openErrno = errno;
    if (start.ok()) return true;
    if (!error) return false;
    if (start.status == BmpStatus::OpenError) {
        *error = std::string("cannot open ") + start.picture + ": " + std::strerror(openErrno);
        return false;
    }
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    // Start-up says only that it failed; the reader, asked again, says why.
    BmpImage image;
    std::string why;
    readBmp(start.picture, maxSide, image, &why);
    *error = std::string(start.picture) + " is no picture the show can use: " + why +
             "; it takes an uncompressed 24- or 32-bit BMP no larger than " +
             std::to_string(maxSide) + " pixels a side";
    return false;
}
