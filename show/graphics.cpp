#include "show/graphics.h"

#include "gfx/frame.h"
#include "gfx/textures.h"
#include "show/data_files.h"

#include <cstdio>

namespace {

// The texture table in the order the names are made; no file means a render target.
struct TextureSlot {
    GLuint* name;
    const char* file;
};
constexpr TextureSlot kTextureTable[20] = {
    {&tex::title, data_files::title2},
    {&tex::sceneOneGlow, nullptr},
    {&tex::floorCubeSkin, data_files::aba2},
    {&tex::unusedTargetA, nullptr},
    {&tex::sceneTwoGlow, nullptr},
    {&tex::crossShellSkin, data_files::sc02cross},
    {&tex::uprightBanner, data_files::letter01},
    {&tex::bannerAlongX, data_files::letter02},
    {&tex::bannerAlongZ, data_files::letter03},
    {&tex::unusedTargetB, nullptr},
    {&tex::lateScenesGlow, nullptr},
    {&tex::cubeFieldPicture, nullptr},
    {&tex::wheelFace, data_files::moll4},
    {&tex::smokePuff, data_files::smoke4},
    {&tex::structureSkin, data_files::sc03objecs03},
    {&tex::smokePicture, nullptr},
    {&tex::hubMark, data_files::r},
    {&tex::eyeMask, data_files::eyeeye2},
    {&tex::greeting, data_files::greeting},
    {&tex::wallPicture, nullptr},
};

} // namespace

const char* startErrorMessage(BmpStatus status) {
    return status == BmpStatus::OpenError ? "file open error." : "file read error.";
}

BmpStatus loadBmpTexture(const char* path, GLuint& name) {
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    BmpImage image;
    const BmpStatus status = readBmp(path, maxSide, image);
    if (status != BmpStatus::Ok) return status;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // Rows are padded to 4 bytes, which is GL's default unpack alignment.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 image.rgb.data());
    return BmpStatus::Ok;
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

GraphicsStart initGraphics() {
    restoreFrameViewport();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    applyPerspective(kStartPerspective);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(1, 1, 1, 1);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glShadeModel(GL_FLAT);
    glEnable(GL_COLOR_MATERIAL);
    for (const TextureSlot& slot : kTextureTable) {
        if (!slot.file) {
            *slot.name = createRenderTarget();
            continue;
        }
        const BmpStatus status = loadBmpTexture(slot.file, *slot.name);
        if (status != BmpStatus::Ok) return {status, slot.file};
    }
    return {BmpStatus::Ok, nullptr};
}
