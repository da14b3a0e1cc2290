// Writes that a pipe or a signal may cut short, carried on to the end.
#pragma once

#include <cerrno>
#include <cstddef>
#include <unistd.h>

// False when the reader is gone or the write fails.
inline bool writeAll(int fd, const void* bytes, size_t size) {
    const char* p = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t n = write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}
