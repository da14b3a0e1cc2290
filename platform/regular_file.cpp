#include "platform/regular_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::FILE* OpenRegularFile(const char* path) {
    if (!path) {
        errno = EINVAL;
        return nullptr;
    }
    // O_NONBLOCK lets a FIFO without a writer open at once, so that it can be refused; the
    // check is on what was opened, not on the name, so nothing can be swapped in between.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat s {};
    const bool known = fstat(fd, &s) == 0;
    if (!known || !S_ISREG(s.st_mode)) {
        const int why = !known ? errno : S_ISDIR(s.st_mode) ? EISDIR : ENXIO;
        close(fd);
        errno = why;
        return nullptr;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        close(fd);
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "rb");
    if (!file) close(fd);
    return file;
}
