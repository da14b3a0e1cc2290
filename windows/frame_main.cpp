// kelvaster-frame.exe: the show's frame at a given show clock, drawn cold as the Linux frame
// tool draws it, but in a window through Windows' OpenGL, written as a binary PPM. The tests
// set these frames against the Linux renderer's under Wine.
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
int status = 1;

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
    drawShow(clockArg);
    std::vector<unsigned char> rgb(size_t(kFrameWidth) * kFrameHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, kFrameWidth, kFrameHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    status = 0;
    if (!writePpm(outPath, rgb)) {
        std::fprintf(stderr, "kelvaster-frame: cannot write %s\n", outPath);
        status = 1;
    }
    glutLeaveMainLoop();
}

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: kelvaster-frame <t> <out.ppm>\n");
        return 2;
    }
    char* end = nullptr;
    errno = 0;
    clockArg = std::strtof(argv[1], &end);
    if (end == argv[1] || *end != '\0' || errno == ERANGE) {
        std::fprintf(stderr, "kelvaster-frame: not a show clock: %s\n", argv[1]);
        return 2;
    }
    outPath = argv[2];
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(kFrameWidth, kFrameHeight);
    glutCreateWindow("kelvaster-frame");
    const GraphicsStart graphics = initGraphics();
    if (!graphics.ok()) {
        std::fprintf(stderr, "kelvaster-frame: %s: %s\n", graphics.picture,
                     startErrorMessage(graphics.status));
        return 1;
    }
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    glutDisplayFunc(drawOnce);
    glutMainLoop();
    return status;
}
