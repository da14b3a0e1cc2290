// The readers take a path; a fuzz input becomes an in-memory regular file with a path of its
// own, rewritten for every input, so that no disk is touched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

inline const char* MemoryFile(const std::uint8_t* data, std::size_t size) {
    static const int fd = memfd_create("fuzz-input", MFD_CLOEXEC);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ftruncate(fd, 0) != 0 || (size > 0 && pwrite(fd, data, size, 0) != ssize_t(size)))
        std::abort(); // the harness itself failed: nothing to learn from this input
    return path.c_str();
}
