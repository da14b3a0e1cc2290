// Input files that are not regular files: a FIFO (which would block a plain open until a writer
// came), a directory and a device are refused at once, by the helper and by both loaders.
#include "platform/regular_file.h"
#include "sound/cdsound.h"
#include "sound/dsound_device.h"
#include "sound/ogg_vorbis.h"
#include "sound/wave.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <sys/stat.h>
#include <unistd.h>

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

struct NotAFile {
    std::string path;
    int error;
};

// A FIFO with no writer, a directory and a character device.
std::vector<NotAFile> NotFiles() {
    const std::string fifo = TempPath("fifo.ogg");
    const std::string dir = TempPath("dir.ogg");
    unlink(fifo.c_str());
    rmdir(dir.c_str());
    EXPECT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(mkdir(dir.c_str(), 0700), 0);
    return {{fifo, ENXIO}, {dir, EISDIR}, {"/dev/zero", ENXIO}};
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

TEST(RegularFile, OpensRegularFilesOnlyAndNeverBlocks) {
    const std::string plain = TempPath("plain.txt");
    WriteFile(plain, "sound");
    std::FILE* file = OpenRegularFile(plain.c_str());
    ASSERT_NE(file, nullptr);
    char text[8] = {};
    EXPECT_EQ(std::fread(text, 1, sizeof text, file), 5u);
    EXPECT_STREQ(text, "sound");
    std::fclose(file);

    errno = 0;
    EXPECT_EQ(OpenRegularFile(TempPath("missing").c_str()), nullptr);
    EXPECT_EQ(errno, ENOENT);

    const int before = OpenDescriptorCount();
    for (const NotAFile& n : NotFiles()) {
        SCOPED_TRACE(n.path);
        const auto start = std::chrono::steady_clock::now();
        alarm(10); // a blocking open ends the test here instead of hanging it
        errno = 0;
        EXPECT_EQ(OpenRegularFile(n.path.c_str()), nullptr);
        EXPECT_EQ(errno, n.error);
        alarm(0);
        EXPECT_LT(SecondsSince(start), 1.0);
    }
    EXPECT_EQ(OpenDescriptorCount(), before) << "a refused file stays open";
}

TEST(RegularFile, BothLoadersAndCdSoundGiveTheOpenErrorForWhatIsNoFile) {
    InstallManualOutput();
    ASSERT_TRUE(InitDirectSound(reinterpret_cast<HWND>(0x1)));
    alarm(10);
    for (const NotAFile& n : NotFiles()) {
        SCOPED_TRACE(n.path);
        const std::string message = "Error: File open error : " + n.path + "\n";
        CaptureStderr();
        CWave wave;
        EXPECT_EQ(wave.Open(n.path.c_str()), -3);
        COggVorbis ogg;
        EXPECT_EQ(ogg.Open(n.path.c_str()), -3);
        EXPECT_EQ(GetCapturedStderr(), message + message);

        // CdSound stops at the WAVE loader's -3: one message, no second loader.
        CaptureStderr();
        CdSound sound;
        EXPECT_FALSE(sound.Open(n.path.c_str()));
        EXPECT_EQ(GetCapturedStderr(), message);
    }
    alarm(0);
    ReleaseDirectSound();
    RestoreDefaultOutput();
}
