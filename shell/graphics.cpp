#include "shell/graphics.h"

#include "gfx/textures.h"
#include "platform/win32.h"
#include "shell/data_files.h"

#include <cstdio>

namespace {

// The texture table in the order the names are made; no file means a render target.
struct TextureSlot {
    GLuint* name;
    const char* file;
};
constexpr TextureSlot kTextureTable[20] = {
    {&tex::title2, data_files::title2},
    {&tex::target1, nullptr},
    {&tex::aba2, data_files::aba2},
    {&tex::target2, nullptr},
    {&tex::target3, nullptr},
    {&tex::sc02cross, data_files::sc02cross},
    {&tex::letter01, data_files::letter01},
    {&tex::letter02, data_files::letter02},
    {&tex::letter03, data_files::letter03},
    {&tex::target4, nullptr},
    {&tex::target5, nullptr},
    {&tex::target6, nullptr},
    {&tex::moll4, data_files::moll4},
    {&tex::smoke4, data_files::smoke4},
    {&tex::sc03objecs03, data_files::sc03objecs03},
    {&tex::target7, nullptr},
    {&tex::r, data_files::r},
    {&tex::eyeeye2, data_files::eyeeye2},
    {&tex::greeting, data_files::greeting},
    {&tex::target8, nullptr},
};

[[noreturn]] void fail(const char* message) {
    std::fprintf(stderr, "%s\n", message);
    ExitProcess(1);
}

} // namespace

GLuint loadBmpTexture(const char* path) {
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    BmpImage image;
    switch (readBmp(path, maxSide, image)) {
    case BmpStatus::OpenError:
        fail("file open error.");
    case BmpStatus::ReadError:
        fail("file read error.");
    case BmpStatus::Ok:
        break;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // Rows are padded to 4 bytes, which is GL's default unpack alignment.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 image.rgb.data());
    return name;
}

GLuint createRenderTarget() {
    static const unsigned char zeros[128 * 128 * 4] = {};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, 128, 128, 0, GL_RGBA, GL_UNSIGNED_BYTE, zeros);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}

void initGraphics() {
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 1.3333333333333333, 1.0, 3000.0);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(1, 1, 1, 1);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glShadeModel(GL_FLAT);
    glEnable(GL_COLOR_MATERIAL);
    for (const TextureSlot& slot : kTextureTable)
        *slot.name = slot.file ? loadBmpTexture(slot.file) : createRenderTarget();
}
