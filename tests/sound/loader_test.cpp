// The two loaders against files of every shape: made by sox and oggenc, or by hand where a
// shape is damaged or unusual.
#include "sound/ogg_vorbis.h"
#include "sound/wave.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

// Exposes the protected fields a test checks.
struct WaveProbe : CWave {
    const WAVEFORMATEX& Format() const { return wfx; }
    DWORD DataOffset() const { return dwDataOffset; }
    DWORD ReadPos() const { return dwReadPos; }
};
struct OggProbe : COggVorbis {
    const WAVEFORMATEX& Format() const { return wfx; }
};

int OpenWave(const std::string& bytes, const std::string& name = "shape.wav") {
    const std::string path = TempPath(name);
    WriteFile(path, bytes);
    CWave wave;
    return wave.Open(path.c_str());
}

const std::string kPcm16 = FormatBody(1, 2, 44100, 16);

// KSDATAFORMAT_SUBTYPE_PCM as it lies in a file.
std::string PcmSubFormat() {
    return std::string("\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16);
}
const std::string kData100(100, '\x11');

} // namespace

TEST(WaveLoader, ReadsEveryPcmWidthAsStored) {
    struct Case {
        const char* file;
        WORD channels, bits;
        DWORD rate;
        DWORD dataSize;
    };
    const Case cases[] = {
        {"s16_stereo_44100.wav", 2, 16, 44100, 44100 * 4},
        {"u8_mono_22050.wav", 1, 8, 22050, 11025},
        {"s24_pcm.wav", 2, 24, 44100, 22050 * 6},
        {"s24_extensible.wav", 2, 24, 44100, 22050 * 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        WaveProbe wave;
        ASSERT_EQ(wave.Open(Fixture(c.file).c_str()), int(c.dataSize));
        EXPECT_EQ(wave.GetNumChannels(), c.channels);
        EXPECT_EQ(wave.GetBitsPerSample(), c.bits);
        EXPECT_EQ(wave.GetSamplesPerSec(), c.rate);
        EXPECT_EQ(wave.GetAvgBytesPerSec(), c.rate * c.channels * c.bits / 8);
        EXPECT_EQ(wave.Format().wFormatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(wave.Format().cbSize, 0) << "no extension bytes to speak of";

        // The bytes delivered are the file's own, from the first data byte on.
        const std::string file = ReadFile(Fixture(c.file));
        ASSERT_EQ(file.compare(wave.DataOffset() - 8, 4, "data"), 0);
        ASSERT_TRUE(wave.AllocBuffer(c.dataSize));
        ASSERT_EQ(wave.Read(0), int(c.dataSize));
        EXPECT_EQ(std::memcmp(wave.GetBuffer(), file.data() + wave.DataOffset(), c.dataSize), 0);
        EXPECT_EQ(wave.Read(0), 0);
    }
}

TEST(WaveLoader, RefusesWhatIsNotPcmWithoutAMessage) {
    // WAVE_FORMAT_EXTENSIBLE with the IEEE float sub-format, and one cut short of its sub-format.
    std::string floatSub = FormatBody(0xFFFE, 2, 44100, 32, 22);
    floatSub.replace(24, 16, PcmSubFormat());
    floatSub[24] = 3;
    const std::string shortExtensible = FormatBody(0xFFFE, 2, 44100, 16, 6);
    CaptureStderr();
    for (const char* file : {"f32.wav", "mono_22050.ogg", "not_audio.txt"}) {
        CWave wave;
        EXPECT_EQ(wave.Open(Fixture(file).c_str()), -2) << file;
    }
    EXPECT_EQ(OpenWave(RiffBytes({{"fmt ", floatSub}, {"data", kData100}})), -2);
    EXPECT_EQ(OpenWave(RiffBytes({{"fmt ", shortExtensible}, {"data", kData100}})), -2);
    EXPECT_EQ(GetCapturedStderr(), "");
}

TEST(WaveLoader, ExtensiblePcmOfEveryPlayedWidthReadsLikePlainPcm) {
    for (unsigned bits : {8u, 16u, 24u}) {
        SCOPED_TRACE(bits);
        std::string extensible = FormatBody(0xFFFE, 2, 48000, bits, 22);
        extensible.replace(18, 2, Le16(bits)); // valid bits
        extensible.replace(20, 4, Le32(3));    // front left and right
        extensible.replace(24, 16, PcmSubFormat());
        const std::string data(6 * 11, '\x21');
        const std::string path = TempPath("extensible.wav");
        WriteFile(path, RiffBytes({{"fmt ", extensible}, {"data", data}}));
        WaveProbe wave;
        ASSERT_EQ(wave.Open(path.c_str()), int(data.size() - data.size() % (bits / 4)));
        EXPECT_EQ(wave.Format().wFormatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(wave.GetBitsPerSample(), bits);
        EXPECT_EQ(wave.GetAvgBytesPerSec(), 48000u * 2 * bits / 8);
        EXPECT_EQ(wave.DataOffset(), 12u + 8 + 40 + 8);
    }
}

// The frame size and byte rate count every length and play time: they come from the channels,
// bits and rate, or the file is refused, never from a header that says otherwise.
TEST(WaveLoader, WorksOutRatesAndRefusesFormatsItCannotPlay) {
    const auto fmt = [](unsigned channels, std::uint32_t rate, std::uint32_t byteRate,
                        unsigned align, unsigned bits) {
        return Le16(1) + Le16(channels) + Le32(rate) + Le32(byteRate) + Le16(align) + Le16(bits);
    };
    struct Worked {
        const char* what;
        std::string format;
    };
    const Worked worked[] = {
        {"byte rate 0", fmt(2, 44100, 0, 4, 16)},
        {"byte rate wrong", fmt(2, 44100, 1000, 4, 16)},
        {"frame size 0", fmt(2, 44100, 176400, 0, 16)},
        {"both 0", fmt(2, 44100, 0, 0, 16)},
    };
    for (const Worked& c : worked) {
        const std::string path = TempPath("worked.wav");
        WriteFile(path, RiffBytes({{"fmt ", c.format}, {"data", std::string(176400, '\x01')}}));
        WaveProbe wave;
        ASSERT_EQ(wave.Open(path.c_str()), 176400) << c.what;
        EXPECT_EQ(wave.Format().nBlockAlign, 4) << c.what;
        EXPECT_EQ(wave.GetAvgBytesPerSec(), 176400u) << c.what;
    }

    struct Refused {
        std::string format;
        const char* why;
    };
    const Refused refused[] = {
        {fmt(2, 44100, 264600, 6, 16), "frames of 6 bytes for 2 channels of 16 bits"},
        {fmt(0, 44100, 0, 0, 16), "0 channels (1 to 8 play)"},
        {fmt(9, 44100, 793800, 18, 16), "9 channels (1 to 8 play)"},
        {fmt(2, 0, 0, 4, 16), "a rate of 0 Hz (100 to 200000 play)"},
        {fmt(2, 44100, 352800, 8, 32), "32 bits per sample (8, 16 and 24 play)"},
        {fmt(1, 44100, 88200, 2, 12), "12 bits per sample (8, 16 and 24 play)"},
    };
    for (const Refused& c : refused) {
        const std::string path = TempPath("refused.wav");
        WriteFile(path, RiffBytes({{"fmt ", c.format}, {"data", kData100}}));
        CaptureStderr();
        CWave wave;
        EXPECT_EQ(wave.Open(path.c_str()), -3) << c.why;
        EXPECT_EQ(GetCapturedStderr(), "Error: Cannot play " + path + ": " + c.why + ".\n");
    }
    CaptureStderr();
    CWave wave;
    EXPECT_EQ(wave.Open(Fixture("s32_pcm.wav").c_str()), -3);
    EXPECT_NE(GetCapturedStderr().find("32 bits per sample"), std::string::npos);
}

TEST(WaveLoader, APartFrameAtTheEndIsNotData) {
    WaveProbe wave;
    const std::string path = TempPath("part_frame.wav");
    WriteFile(path, RiffBytes({{"fmt ", kPcm16}, {"data", std::string(103, '\x02')}}));
    EXPECT_EQ(wave.Open(path.c_str()), 100);
    EXPECT_EQ(wave.GetDataSize(), 100u);
}

TEST(WaveLoader, FindsChunksAroundOthersAndSkipsAnOversizedFormat) {
    // A list chunk of odd size (with its pad byte) between "fmt " and "data", junk before.
    EXPECT_EQ(OpenWave(RiffBytes({{"JUNK", std::string(7, 'j')},
                                  {"fmt ", kPcm16},
                                  {"LIST", "INFOx"},
                                  {"data", kData100}})),
              100);

    // A PCM "fmt " chunk of 40 bytes: the record takes 18, the rest is skipped.
    const std::string path = TempPath("long_fmt.wav");
    WriteFile(path, RiffBytes({{"fmt ", FormatBody(1, 2, 44100, 16, 22)}, {"data", kData100}}));
    WaveProbe wave;
    ASSERT_EQ(wave.Open(path.c_str()), 100);
    EXPECT_EQ(wave.Format().cbSize, 22);
    EXPECT_EQ(wave.Format().nChannels, 2);
    EXPECT_EQ(wave.DataOffset(), 12u + 8 + 40 + 8);
    ASSERT_TRUE(wave.AllocBuffer(100));
    ASSERT_EQ(wave.Read(0), 100);
    EXPECT_EQ(wave.GetBuffer()[0], 0x11);
}

TEST(WaveLoader, RefusesDamagedAndMisorderedFiles) {
    const std::string good = RiffBytes({{"fmt ", kPcm16}, {"data", kData100}});
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"data before fmt", RiffBytes({{"data", kData100}, {"fmt ", kPcm16}})},
        {"no data", RiffBytes({{"fmt ", kPcm16}})},
        {"float tag", RiffBytes({{"fmt ", FormatBody(3, 2, 44100, 32)}, {"data", kData100}})},
        {"fmt shorter than PCM", RiffBytes({{"fmt ", kPcm16.substr(0, 14)}, {"data", kData100}})},
        {"not WAVE", RiffBytes({{"fmt ", kPcm16}, {"data", kData100}}, "AVI ")},
        {"data runs past the file", RiffBytes({{"fmt ", kPcm16}, {"data", kData100, 5000}})},
        {"riff runs past the file",
         RiffBytes({{"fmt ", kPcm16}, {"data", kData100}}, "WAVE", 9000)},
        {"fmt runs past the form", RiffBytes({{"fmt ", kPcm16, 4000}})},
        {"truncated in the data", good.substr(0, good.size() - 30)},
        {"truncated in a header", good.substr(0, 20)},
        {"empty", ""},
    };
    CaptureStderr();
    for (const Case& c : cases) EXPECT_EQ(OpenWave(c.bytes), -2) << c.what;
    EXPECT_EQ(GetCapturedStderr(), "");
}

TEST(WaveLoader, ReadsDataThatRunsPastAFormStatedTooShort) {
    // As some sound themes ship: the RIFF size is four bytes short of the data's end.
    const std::string exact = RiffBytes({{"fmt ", kPcm16}, {"data", kData100}});
    const std::string path = TempPath("short_form.wav");
    WriteFile(path, RiffBytes({{"fmt ", kPcm16}, {"data", kData100}}, "WAVE",
                              std::int64_t(exact.size()) - 8 - 4));
    WaveProbe wave;
    ASSERT_EQ(wave.Open(path.c_str()), 100);
    ASSERT_TRUE(wave.AllocBuffer(100));
    EXPECT_EQ(wave.Read(0), 100);
    EXPECT_EQ(wave.GetBuffer()[99], BYTE(kData100[99]));
}

TEST(WaveLoader, ReadAndSeekClampToTheData) {
    const std::string path = TempPath("counting.wav");
    std::string data(300, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = char(i);
    WriteFile(path, RiffBytes({{"fmt ", FormatBody(1, 1, 8000, 8)}, {"data", data}}));
    WaveProbe wave;
    ASSERT_EQ(wave.Open(path.c_str()), 300);
    ASSERT_TRUE(wave.AllocBuffer(176400));

    EXPECT_EQ(wave.Seek(200), 200);
    // Fewer bytes left than the buffer holds: the buffer is zeroed, then the rest is read.
    std::memset(wave.GetBuffer(), 0x7F, 176400);
    EXPECT_EQ(wave.Read(0), 100);
    EXPECT_EQ(wave.GetBuffer()[0], BYTE(200));
    EXPECT_EQ(wave.GetBuffer()[100], 0);
    EXPECT_EQ(wave.GetBuffer()[176399], 0);
    // At the end nothing is read and the buffer is left as it was.
    wave.GetBuffer()[0] = 0x42;
    EXPECT_EQ(wave.Read(0), 0);
    EXPECT_EQ(wave.GetBuffer()[0], 0x42);

    EXPECT_EQ(wave.Seek(-5), 0);
    EXPECT_EQ(wave.Read(10), 10);
    EXPECT_EQ(wave.GetBuffer()[9], 9);
    EXPECT_EQ(wave.ReadPos(), 10u);
    EXPECT_EQ(wave.Read(500000), 290) << "a size over the buffer means one buffer";
    EXPECT_EQ(wave.Seek(100000), 300);
    EXPECT_EQ(wave.Seek(7), 7) << "positions are not aligned to frames";
    EXPECT_EQ(wave.Read(1), 1);
    EXPECT_EQ(wave.GetBuffer()[0], 7);
}

TEST(WaveLoader, MissingFileNamesTheWholeNameOnce) {
    const std::string longName = "Data/" + std::string(300, 'n') + ".wav";
    for (const std::string& name : {std::string("Data/none.wav"), longName}) {
        CaptureStderr();
        CWave wave;
        EXPECT_EQ(wave.Open(name.c_str()), -3);
        EXPECT_EQ(GetCapturedStderr(), "Error: File open error : " + name + "\n");
    }
    // A long name that exists opens like any other.
    const std::string path = TempPath(std::string(200, 'L') + ".wav");
    WriteFile(path, RiffBytes({{"fmt ", kPcm16}, {"data", kData100}}));
    CWave wave;
    EXPECT_EQ(wave.Open(path.c_str()), 100);
}

TEST(LoaderBase, ReadSizesAndBufferReuse) {
    WaveProbe wave;
    ASSERT_GT(wave.Open(Fixture("s16_stereo_44100.wav").c_str()), 0);
    ASSERT_TRUE(wave.AllocBuffer(1000));
    ASSERT_TRUE(wave.AllocBuffer(400));
    EXPECT_EQ(wave.GetBufferSize(), 400u);
    EXPECT_EQ(wave.Read(0), 400);
    EXPECT_EQ(wave.Read(100000), 400);
    EXPECT_EQ(wave.Read(12), 12);
    wave.Close();
    EXPECT_EQ(wave.GetBuffer(), nullptr);
    EXPECT_EQ(wave.GetBufferSize(), 0u);
    EXPECT_EQ(wave.GetDataSize(), 0u);
    EXPECT_EQ(wave.GetNumChannels(), 0);
    EXPECT_EQ(wave.Read(0), 0) << "closed: at the end of no data";
}

TEST(OggLoader, ReportsTheStreamAs16BitPcm) {
    OggProbe mono;
    ASSERT_EQ(mono.Open(Fixture("mono_22050.ogg").c_str()), 22050 * 2);
    EXPECT_EQ(mono.Format().wFormatTag, 1);
    EXPECT_EQ(mono.GetNumChannels(), 1);
    EXPECT_EQ(mono.Format().nBlockAlign, 2);
    EXPECT_EQ(mono.GetAvgBytesPerSec(), 44100u);
    EXPECT_EQ(mono.GetBitsPerSample(), 16);
    EXPECT_EQ(mono.Format().cbSize, 18);

    OggProbe stereo;
    EXPECT_EQ(stereo.Open(Fixture("stereo_441000.ogg").c_str()), 1764000);
    EXPECT_EQ(stereo.GetAvgBytesPerSec(), 176400u);
}

TEST(OggLoader, DecodesInBlocksAndSeeksToFrames) {
    const std::string path = Fixture("stereo_441000.ogg");
    const std::vector<std::int16_t> pcm = DecodeOgg(path, nullptr, nullptr);
    ASSERT_EQ(pcm.size(), 441000u * 2);
    const auto* bytes = reinterpret_cast<const BYTE*>(pcm.data());

    COggVorbis ogg;
    ASSERT_EQ(ogg.Open(path.c_str()), 1764000);
    ASSERT_TRUE(ogg.AllocBuffer(176400));
    // Whole blocks, in order, though each ov_read gives far less.
    for (int block = 0; block < 3; ++block) {
        ASSERT_EQ(ogg.Read(0), 176400);
        ASSERT_EQ(std::memcmp(ogg.GetBuffer(), bytes + block * 176400, 176400), 0) << block;
    }
    // Seek goes to the frame holding the byte and gives the byte back.
    EXPECT_EQ(ogg.Seek(1002), 1002);
    ASSERT_EQ(ogg.Read(400), 400);
    EXPECT_EQ(std::memcmp(ogg.GetBuffer(), bytes + 1000, 400), 0);
    // Near the end: what is left, then nothing.
    EXPECT_EQ(ogg.Seek(1764000 - 1000), 1764000 - 1000);
    EXPECT_EQ(ogg.Read(0), 1000);
    EXPECT_EQ(ogg.Read(0), 0);
    EXPECT_EQ(ogg.Seek(5000000), 5000000) << "beyond the data: the last position";
    EXPECT_EQ(ogg.Read(0), 0);
    EXPECT_EQ(ogg.Seek(-40), -40);
    ASSERT_EQ(ogg.Read(8), 8);
    EXPECT_EQ(std::memcmp(ogg.GetBuffer(), bytes, 8), 0);
}

TEST(OggLoader, ARequestOfLessThanAFrameIsADecodeError) {
    COggVorbis ogg;
    ASSERT_GT(ogg.Open(Fixture("stereo_441000.ogg").c_str()), 0);
    ASSERT_TRUE(ogg.AllocBuffer(1000));
    CaptureStderr();
    EXPECT_EQ(ogg.Read(6), -1);
    EXPECT_EQ(GetCapturedStderr(), "Error: Ogg vorbis decoede error.\n");
}

TEST(OggLoader, RefusalsCloseTheFileAndSayNothing) {
    CaptureStderr(); // opens a file of its own
    const int before = OpenDescriptorCount();
    for (const char* file : {"not_audio.txt", "s16_stereo_44100.wav"}) {
        COggVorbis ogg;
        EXPECT_EQ(ogg.Open(Fixture(file).c_str()), -2) << file;
        EXPECT_EQ(OpenDescriptorCount(), before) << file;
    }
    EXPECT_EQ(GetCapturedStderr(), "");

    const std::string longName = std::string(280, 'o') + ".ogg";
    CaptureStderr();
    COggVorbis ogg;
    EXPECT_EQ(ogg.Open(longName.c_str()), -3);
    EXPECT_EQ(GetCapturedStderr(), "Error: File open error : " + longName + "\n");
    EXPECT_EQ(ogg.Seek(0), -1) << "nothing open: no decoder to seek";
}

TEST(OggLoader, CloseReleasesTheFileOnce) {
    const int before = OpenDescriptorCount();
    {
        COggVorbis ogg;
        ASSERT_GT(ogg.Open(Fixture("mono_22050.ogg").c_str()), 0);
        EXPECT_EQ(OpenDescriptorCount(), before) << "the file is read whole and closed by Open";
        ogg.Close();
        EXPECT_EQ(OpenDescriptorCount(), before);
        ogg.Close();
    }
    {
        COggVorbis ogg; // destroyed while open
        ASSERT_GT(ogg.Open(Fixture("mono_22050.ogg").c_str()), 0);
    }
    EXPECT_EQ(OpenDescriptorCount(), before);
}
