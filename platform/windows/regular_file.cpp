#include "platform/regular_file.h"

#include <cerrno>
#include <sys/stat.h>

std::FILE* OpenRegularFile(const char* path) {
    if (!path) {
        errno = EINVAL;
        return nullptr;
    }
    // Windows has no FIFOs to block on; a device name (CON, NUL...) opens as a character
    // device, and the check is on what was opened.
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return nullptr;
    struct _stat64 s {};
    const bool known = _fstat64(_fileno(file), &s) == 0;
    if (!known || (s.st_mode & _S_IFMT) != _S_IFREG) {
        const int why = !known ? errno : (s.st_mode & _S_IFMT) == _S_IFDIR ? EISDIR : ENXIO;
        std::fclose(file);
        errno = why;
        return nullptr;
    }
    return file;
}
