#include "tools/capture/data_files.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isFile(const char* path) {
    struct stat s;
    return stat(path, &s) == 0 && S_ISREG(s.st_mode);
}

} // namespace

// Checked before the show starts, so that a missing bitmap is named instead of ending the run
// with the show's own terse message.
bool checkDataFiles(std::string* error) {
    const char* missing = isFile(data_files::kMusic) ? nullptr : data_files::kMusic;
    for (const char* bitmap : data_files::kBitmaps)
        if (!missing && !isFile(bitmap)) missing = bitmap;
    if (!missing) return true;
    char cwd[4096];
    if (error)
        *error = std::string("missing ") + missing + " (looked in " +
                 (getcwd(cwd, sizeof cwd) ? cwd : ".") + ")";
    return false;
}
