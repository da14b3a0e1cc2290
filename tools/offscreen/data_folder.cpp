#include "tools/offscreen/data_folder.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

void enterDataFolder() {
    struct stat s;
    if (stat("Data", &s) == 0 && S_ISDIR(s.st_mode)) return;
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return;
    std::string dir(self, size_t(n));
    dir.resize(dir.rfind('/') + 1);
    if (chdir(dir.c_str()) != 0) std::perror(dir.c_str());
}
