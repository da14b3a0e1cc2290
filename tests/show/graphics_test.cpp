#include "gfx/textures.h"
#include "show/data_files.h"
#include "show/graphics.h"
#include "tests/show/bmp_fixture.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A Data/ folder of small bitmaps, each 4 texels wide and as tall as its place in the table + 1.
std::string makeDataDir(const char* skip = nullptr) {
    const std::string root =
        tempDir() + (skip ? "/without_" + std::string(data_files::stem(skip)) : "/full");
    mkdir(root.c_str(), 0700);
    mkdir((root + "/Data").c_str(), 0700);
    for (int i = 0; i < 12; ++i) {
        const char* path = data_files::kBitmaps[i];
        if (path == skip) continue;
        BmpFixture f;
        f.width = 4, f.height = i + 1;
        f.pixels.assign(size_t(12 * f.height), 100);
        writeBmp(root + "/" + path, f);
    }
    return root;
}

struct InDir {
    std::string old;
    explicit InDir(const std::string& dir) {
        char buf[4096];
        old = getcwd(buf, sizeof buf);
        EXPECT_EQ(chdir(dir.c_str()), 0);
    }
    ~InDir() { EXPECT_EQ(chdir(old.c_str()), 0); }
};

TEST(InitGraphics, SetsTheStartingStateThenMakesTwentyTexturesInTableOrder) {
    InDir in(makeDataDir());
    glrec::reset();
    ASSERT_TRUE(initGraphics().ok());

    const auto persp = glrec::named("gluPerspective").at(0);
    EXPECT_EQ(persp.args, (std::vector<double>{60.0, 1.3333333333333333, 1.0, 3000.0}));
    const std::vector<std::string> order = {
        "glViewport",   "glMatrixMode", "glLoadIdentity", "gluPerspective", "glMatrixMode",
        "glClearColor", "glCullFace",   "glEnable",       "glEnable",       "glEnable",
        "glEnable",     "glShadeModel", "glEnable"};
    const auto names = glrec::names();
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + order.size()), order);
    const glrec::State& s = glrec::state();
    for (GLenum cap : {GL_CULL_FACE, GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL})
        EXPECT_TRUE(s.isEnabled(cap)) << cap;
    EXPECT_FALSE(s.isEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(s.isEnabled(GL_BLEND));
    EXPECT_EQ(s.clearColor[0] + s.clearColor[1] + s.clearColor[2] + s.clearColor[3], 4);
    EXPECT_EQ(s.matrixMode, GLenum(GL_MODELVIEW));

    // Names are handed out in table order; each file keeps its own size, targets are 128 RGBA.
    const GLuint* table[20] = {
        &tex::title,        &tex::sceneOneGlow,   &tex::floorCubeSkin,  &tex::unusedTargetA,
        &tex::sceneTwoGlow, &tex::crossShellSkin, &tex::uprightBanner,  &tex::bannerAlongX,
        &tex::bannerAlongZ, &tex::unusedTargetB,  &tex::lateScenesGlow, &tex::cubeFieldPicture,
        &tex::wheelFace,    &tex::smokePuff,      &tex::structureSkin,  &tex::smokePicture,
        &tex::hubMark,      &tex::eyeMask,        &tex::greeting,       &tex::wallPicture};
    for (GLuint i = 0; i < 20; ++i) EXPECT_EQ(*table[i], i + 1);
    const auto uploads = glrec::named("glTexImage2D");
    ASSERT_EQ(uploads.size(), 20u);
    int file = 0;
    for (int i = 0; i < 20; ++i) {
        const bool isTarget = uploads[i].arg(2) == 4;
        if (isTarget) {
            EXPECT_EQ(uploads[i].arg(3), 128);
            EXPECT_EQ(uploads[i].arg(6), GL_RGBA);
        } else {
            EXPECT_EQ(uploads[i].arg(4), ++file) << data_files::kBitmaps[file - 1];
        }
    }
    EXPECT_EQ(file, 12);
    EXPECT_EQ(s.boundTexture, tex::wallPicture);
}

// The host is told which picture failed and how, to say so in the show's own words.
TEST(InitGraphics, NamesTheFirstPictureItCannotUse) {
    const struct {
        const char* broken;
        const char* how; // what is done to the picture
        BmpStatus status;
        const char* message;
    } cases[] = {
        {data_files::moll4, "removed", BmpStatus::OpenError, "file open error."},
        {data_files::letter02, "cut short", BmpStatus::ReadError, "file read error."},
    };
    for (const auto& c : cases) {
        const std::string dir = makeDataDir(c.broken);
        if (std::string(c.how) == "cut short") {
            FILE* f = std::fopen((dir + "/" + c.broken).c_str(), "wb");
            ASSERT_TRUE(f);
            std::fputs("BM", f);
            std::fclose(f);
        }
        InDir in(dir);
        const GraphicsStart start = initGraphics();
        EXPECT_FALSE(start.ok()) << c.how;
        EXPECT_EQ(start.status, c.status) << c.how;
        EXPECT_STREQ(start.picture, c.broken) << c.how;
        EXPECT_STREQ(startErrorMessage(start.status), c.message) << c.how;
    }
}

} // namespace
