// The contact sheet's pieces, the pending output file and the music length reader.
#include "tools/capture/bitmap_font.h"
#include "tools/capture/contact_sheet.h"
#include "tools/offscreen/music_length.h"
#include "tools/capture/pending_output.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int litPixels(const RgbImage& image, int x0, int y0, int w, int h) {
    int lit = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) lit += image.at(x, y)[0] > 128;
    return lit;
}

TEST(SpreadFrames, CoverTheShowEvenlyFromFirstToLast) {
    const std::vector<int64_t> frames = spreadFrames(16, 9471);
    ASSERT_EQ(frames.size(), 16u);
    EXPECT_EQ(frames.front(), 0);
    EXPECT_EQ(frames.back(), 9471);
    for (size_t i = 1; i < frames.size(); ++i) {
        EXPECT_GE(frames[i] - frames[i - 1], 631);
        EXPECT_LE(frames[i] - frames[i - 1], 632);
    }
    EXPECT_EQ(spreadFrames(1, 9471), std::vector<int64_t>{0});
    EXPECT_EQ(spreadFrames(3, 2), (std::vector<int64_t>{0, 1, 2}));
}

TEST(Shrink, AveragesEachBlockIntoOnePixel) {
    RgbImage frame(8, 4, {0, 0, 0});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            if ((x + y) % 2) frame.at(x, y)[0] = 255;
    frame.at(7, 3)[1] = 200; // the bottom-right block alone has green
    const RgbImage small = shrink(frame, 2);
    ASSERT_EQ(small.width, 4);
    ASSERT_EQ(small.height, 2);
    EXPECT_EQ(small.at(0, 0)[0], 128);
    EXPECT_EQ(small.at(3, 1)[1], 50);
    EXPECT_EQ(small.at(2, 1)[1], 0);
    EXPECT_TRUE(validSheetScale(4));
    EXPECT_TRUE(validSheetScale(10));
    EXPECT_FALSE(validSheetScale(3));
    EXPECT_FALSE(validSheetScale(0));
}

TEST(BitmapFont, EveryCharacterOfALabelHasItsGlyph) {
    const std::string label = frameLabel(83.4561, 0.52341f, 3);
    EXPECT_EQ(label, "1:23.456 t 0.52341 scene 3");
    auto isBox = [](char c) {
        for (int y = 0; y < kGlyphHeight; ++y)
            for (int x = 0; x < kGlyphWidth; ++x)
                if (glyphPixel(c, x, y) != (x == 0 || y == 0 || x == 4 || y == 6)) return false;
        return true;
    };
    for (char c : label + "0123456789-=o") EXPECT_FALSE(isBox(c)) << "no glyph for '" << c << "'";
    EXPECT_TRUE(isBox('Q')) << "an unknown character shows as a box";
    // Digits must differ from one another to be read.
    for (char a = '0'; a <= '9'; ++a)
        for (char b = char(a + 1); b <= '9'; ++b) {
            bool same = true;
            for (int y = 0; y < kGlyphHeight; ++y)
                for (int x = 0; x < kGlyphWidth; ++x)
                    same &= glyphPixel(a, x, y) == glyphPixel(b, x, y);
            EXPECT_FALSE(same) << a << " and " << b;
        }
}

TEST(BitmapFont, TextIsDrawnAtItsPlaceAndClippedAtTheEdges) {
    RgbImage image(40, 20, {0, 0, 0});
    drawText(image, 2, 3, "8", 2, {255, 255, 255});
    EXPECT_EQ(textWidth("8", 2), 10);
    EXPECT_EQ(textWidth("88", 1), 11);
    // '8' is lit at its top middle and dark at its top-left corner.
    EXPECT_GT(image.at(2 + 2 * 2, 3)[0], 128);
    EXPECT_EQ(image.at(2, 3)[0], 0);
    EXPECT_EQ(litPixels(image, 0, 0, 2, 20), 0) << "nothing left of the text";
    EXPECT_EQ(litPixels(image, 0, 0, 40, 3), 0) << "nothing above the text";
    drawText(image, -7, -5, "0123456789", 3, {255, 255, 255});
    drawText(image, 35, 15, "scene 4", 3, {255, 255, 255});
    EXPECT_GT(litPixels(image, 35, 15, 5, 5), 0);
}

TEST(ContactSheetGrid, ThumbnailsAndLabelsLandInTheirCells) {
    ContactSheet sheet(6, 4, 20, 15);
    const RgbImage& image = sheet.image();
    // 4 columns of 20 with gaps of 8; 2 rows of 15 + a 13-pixel label each.
    EXPECT_EQ(image.width, 8 + 4 * 28);
    EXPECT_EQ(image.height, 8 + 2 * (15 + 13 + 8));
    const RgbImage white(20, 15, {255, 255, 255});
    sheet.place(5, white, "1:00.000");
    EXPECT_EQ(sheet.cellX(5), 36);
    EXPECT_EQ(sheet.cellY(5), 44);
    EXPECT_EQ(litPixels(image, 36, 44, 20, 15), 20 * 15);
    EXPECT_EQ(litPixels(image, 8, 8, 20, 15), 0) << "other cells untouched";
    EXPECT_GT(litPixels(image, 36, 44 + 15, 20, 13), 10) << "the label under the thumbnail";
    EXPECT_EQ(litPixels(image, 36 + 20, 44, 8, 28), 0) << "the gap stays clear";
}

class Scratch : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/kv-capture-test-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
    }
    void TearDown() override { std::system(("rm -rf " + dir).c_str()); }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        if (DIR* d = opendir(dir.c_str())) {
            while (dirent* e = readdir(d))
                if (e->d_name[0] != '.' || e->d_name[1] > '.') names.push_back(e->d_name);
            closedir(d);
        }
        return names;
    }
    std::string dir;
};

using PendingFile = Scratch;

TEST_F(PendingFile, AppearsUnderItsNameOnlyWhenCommitted) {
    const std::string target = dir + "/out.png";
    std::string error;
    {
        PendingOutput out;
        ASSERT_TRUE(out.create(target, &error)) << error;
        EXPECT_NE(out.tempPath(), target);
        std::ofstream(out.tempPath()) << "done";
        EXPECT_EQ(access(target.c_str(), F_OK), -1);
        ASSERT_TRUE(out.commit(&error)) << error;
    }
    EXPECT_EQ(files(), std::vector<std::string>{"out.png"});
    {
        PendingOutput out;
        ASSERT_TRUE(out.create(dir + "/abandoned.mp4", &error));
        EXPECT_EQ(files().size(), 2u);
    }
    EXPECT_EQ(files(), std::vector<std::string>{"out.png"}) << "an abandoned output leaves nothing";
}

TEST_F(PendingFile, AnUnwritablePlaceIsRefusedBeforeAnyWork) {
    PendingOutput out;
    std::string error;
    EXPECT_FALSE(out.create(dir + "/no/such/folder/out.mp4", &error));
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    EXPECT_FALSE(out.create(dir, &error));
    EXPECT_NE(error.find("it is a folder"), std::string::npos) << error;
    EXPECT_TRUE(files().empty());
}

using MusicLength = Scratch;

TEST_F(MusicLength, IsTheEnginesWholeMillisecondsOfDecodedData) {
    const std::string ogg = dir + "/m.ogg";
    // 66150 stereo samples at 44100 Hz: 1.5 s exactly.
    const std::string make = "ffmpeg -v error -f lavfi -i sine=frequency=440:sample_rate=44100 "
                             "-af aformat=channel_layouts=stereo -t 1.5 -c:a libvorbis -y " +
                             ogg;
    ASSERT_EQ(std::system(make.c_str()), 0);
    double ms = 0;
    std::string error;
    ASSERT_TRUE(musicLengthMs(ogg, ms, &error)) << error;
    EXPECT_EQ(ms, 1500);

    std::ofstream(dir + "/not.ogg") << "RIFF but not really";
    EXPECT_FALSE(musicLengthMs(dir + "/not.ogg", ms, &error));
    EXPECT_NE(error.find("not an Ogg Vorbis file"), std::string::npos) << error;
    EXPECT_FALSE(musicLengthMs(dir + "/missing.ogg", ms, &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}

} // namespace
