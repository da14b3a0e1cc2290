// kelvaster-frame.exe: the show's frames at given show clocks, each drawn cold as the Linux
// frame tool draws it, but in a window through Windows' OpenGL, written as binary PPMs. The
// tests set these frames against the Linux renderer's under Wine; many in one run, as Wine
// takes seconds to start.
#include "gfx/frame.h"
#include "show/graphics.h"
#include "show/show.h"

#include <GL/freeglut.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

float clockArg = 0;
const char* outPath = nullptr;
bool drawn = false;
bool written = false;

bool writePpm(const char* path, const std::vector<unsigned char>& rgb) {
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", kFrameWidth, kFrameHeight);
    const size_t row = size_t(kFrameWidth) * 3;
    // GL's first row is the bottom one.
    bool ok = true;
    for (int y = kFrameHeight - 1; y >= 0 && ok; --y)
        ok = std::fwrite(rgb.data() + size_t(y) * row, 1, row, f) == row;
    return std::fclose(f) == 0 && ok;
}

void drawOnce() {
    if (drawn) return;
    drawShow(clockArg);
    std::vector<unsigned char> rgb(size_t(kFrameWidth) * kFrameHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, kFrameWidth, kFrameHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    written = writePpm(outPath, rgb);
    drawn = true;
}

// One frame in a window and GL context of its own, which start as a new process's would: the
// frame is drawn cold, as the Linux tool draws it.
int drawFrame(const char* clockText, const char* path) {
    char* end = nullptr;
    errno = 0;
    clockArg = std::strtof(clockText, &end);
    if (end == clockText || *end != '\0' || errno == ERANGE) {
        std::fprintf(stderr, "kelvaster-frame: not a show clock: %s\n", clockText);
        return 2;
    }
    outPath = path;
    drawn = written = false;
    showState = ShowState{};
    const int window = glutCreateWindow("kelvaster-frame");
    const GraphicsStart graphics = initGraphics();
    if (!graphics.ok()) {
        std::fprintf(stderr, "kelvaster-frame: %s: %s\n", graphics.picture,
                     startErrorMessage(graphics.status));
        return 1;
    }
    glutDisplayFunc(drawOnce);
    while (!drawn) glutMainLoopEvent();
    glutDestroyWindow(window);
    if (!written) {
        std::fprintf(stderr, "kelvaster-frame: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: kelvaster-frame <t> <out.ppm> [<t> <out.ppm>...]\n");
        return 2;
    }
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(kFrameWidth, kFrameHeight);
    for (int i = 1; i < argc; i += 2)
        if (const int status = drawFrame(argv[i], argv[i + 1])) return status;
    return 0;
}
