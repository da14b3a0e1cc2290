// The Ogg guard: the crafted file that crashes libogg under vorbisfile's seek, damaged copies
// of a good file (one fault each), and chained files, through COggVorbis and CdSound.
#include "sound/cdsound.h"
#include "sound/dsound_device.h"
#include "sound/ogg_layout.h"
#include "sound/ogg_vorbis.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <ogg/ogg.h>

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

struct Page {
    std::string header, body;
    unsigned flags() const { return unsigned(header[5]) & 0xFF; }
    void setFlags(unsigned f) { header[5] = char(f); }
    void setSerial(std::uint32_t s) { header.replace(14, 4, Le32(s)); }
    void setGranule(std::uint32_t g) { header.replace(6, 8, Le32(g) + Le32(0)); }
};

std::vector<Page> SplitPages(const std::string& file) {
    std::vector<Page> pages;
    for (size_t at = 0; at + 27 <= file.size();) {
        const size_t segments = std::uint8_t(file[at + 26]);
        size_t body = 0;
        for (size_t i = 0; i < segments; ++i) body += std::uint8_t(file[at + 27 + i]);
        pages.push_back({file.substr(at, 27 + segments), file.substr(at + 27 + segments, body)});
        at += 27 + segments + body;
    }
    return pages;
}

// The pages again, each with its checksum made right by libogg, so that only the fault put in
// on purpose remains.
std::string JoinPages(std::vector<Page> pages) {
    std::string file;
    for (Page& p : pages) {
        ogg_page page{reinterpret_cast<unsigned char*>(p.header.data()), long(p.header.size()),
                      reinterpret_cast<unsigned char*>(p.body.data()), long(p.body.size())};
        ogg_page_checksum_set(&page);
        file += p.header + p.body;
    }
    return file;
}

// Opens a file with COggVorbis; what it gives and what it says.
std::pair<int, std::string> OpenOgg(const std::string& path) {
    CaptureStderr();
    COggVorbis ogg;
    const int result = ogg.Open(path.c_str());
    return {result, GetCapturedStderr()};
}

std::string DecodeAll(COggVorbis& ogg) {
    std::string pcm;
    for (int got; (got = ogg.Read(0)) > 0;)
        pcm.append(reinterpret_cast<const char*>(ogg.GetBuffer()), size_t(got));
    return pcm;
}

std::string Bytes(const std::vector<std::int16_t>& samples) {
    return std::string(reinterpret_cast<const char*>(samples.data()), samples.size() * 2);
}

} // namespace

TEST(OggGuard, TheCraftedFileIsRefusedBeforeTheDecoderSeesIt) {
    const std::string file = ReadFile(KV_CRAFTED_OGG);
    ASSERT_EQ(file.size(), 12723u);
    const OggLayout layout =
        CheckOggLayout(reinterpret_cast<const unsigned char*>(file.data()), file.size());
    EXPECT_EQ(layout.verdict, OggVerdict::Damaged);
    EXPECT_EQ(layout.nAt, 4400u) << "the first page after the headers is damaged";

    const auto [result, said] = OpenOgg(KV_CRAFTED_OGG);
    EXPECT_EQ(result, -3);
    EXPECT_EQ(said, std::string("Error: Ogg file refused : ") + KV_CRAFTED_OGG +
                        " : a page fails its checksum (the page at byte 4400)\n");

    // The show's own path: CdSound tries the WAVE loader, then this one, and gives up.
    InstallManualOutput();
    ASSERT_TRUE(InitDirectSound(reinterpret_cast<HWND>(0x1)));
    CaptureStderr();
    {
        CdSound sound;
        EXPECT_FALSE(sound.Open(KV_CRAFTED_OGG));
    }
    EXPECT_NE(GetCapturedStderr().find("a page fails its checksum"), std::string::npos);
    ReleaseDirectSound();
    RestoreDefaultOutput();
}

TEST(OggGuard, EachDamageToAGoodFileIsNamed) {
    const std::vector<Page> good = SplitPages(ReadFile(Fixture("stream_6s5.ogg")));
    ASSERT_EQ(good.size(), 8u);
    ASSERT_FALSE(good[4].flags() & 1) << "page 4 should begin with a fresh packet";

    struct Case {
        const char* problem;
        std::function<std::string(std::vector<Page>)> damage;
    };
    const Case cases[] = {
        {"a page fails its checksum",
         [](std::vector<Page> p) {
             std::string file = JoinPages(p);
             file[p[0].header.size() + p[0].body.size() + 40] ^= 0x10;
             return file;
         }},
        {"bytes that are no page lie between pages",
         [](std::vector<Page> p) {
             const std::string head = JoinPages({p.begin(), p.begin() + 4});
             return head + "junk" + JoinPages({p.begin() + 4, p.end()});
         }},
        {"a page is missing or out of order",
         [](std::vector<Page> p) {
             p.erase(p.begin() + 5);
             return JoinPages(p);
         }},
        {"the file ends inside a page",
         [](std::vector<Page> p) {
             const std::string file = JoinPages(p);
             return file.substr(0, file.size() - 100);
         }},
        {"a page continues a packet that was never begun",
         [](std::vector<Page> p) {
             p[4].setFlags(p[4].flags() | 1);
             return JoinPages(p);
         }},
        {"a second stream begins inside the first",
         [](std::vector<Page> p) {
             Page other = p[0];
             other.setSerial(77);
             p.insert(p.begin() + 3, other);
             return JoinPages(p);
         }},
        {"a page of another stream is mixed in",
         [](std::vector<Page> p) {
             p[5].setSerial(77);
             return JoinPages(p);
         }},
        {"a page's sample position goes back",
         [](std::vector<Page> p) {
             p[6].setGranule(1);
             return JoinPages(p);
         }},
        {"a page follows the last page of its stream",
         [](std::vector<Page> p) {
             p.push_back(p.back());
             return JoinPages(p);
         }},
        {"a stream holds no sound after its headers",
         [](std::vector<Page> p) {
             p.resize(2); // the id header, then the comment and setup headers
             p.back().setFlags(p.back().flags() | 4);
             return JoinPages(p);
         }},
        {"a stream's comment header is missing",
         [](std::vector<Page> p) {
             p[1].body[1] = 'V';
             return JoinPages(p);
         }},
    };
    // Rewritten but undamaged, the pages pass: the faults below are the only ones.
    const std::string intact = TempPath("intact.ogg");
    WriteFile(intact, JoinPages(good));
    EXPECT_EQ(OpenOgg(intact), std::make_pair(int(44100 * 6.5) * 4, std::string()));

    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        const std::string path = TempPath("damaged.ogg");
        WriteFile(path, c.damage(good));
        const auto [result, said] = OpenOgg(path);
        EXPECT_EQ(result, -3);
        EXPECT_EQ(said.rfind("Error: Ogg file refused : " + path + " : " + c.problem, 0), 0u)
            << said;
    }

    // A packet that runs on into the next page, whose flag is then cleared.
    std::vector<Page> paged = SplitPages(ReadFile(Fixture("long_pages.ogg")));
    ASSERT_EQ(paged.size(), 4u);
    ASSERT_TRUE(paged[3].flags() & 1) << "the last page should finish a packet begun before it";
    const std::string joined = TempPath("long_pages.ogg");
    WriteFile(joined, JoinPages(paged));
    EXPECT_EQ(OpenOgg(joined).first, 2 * 44100 * 4);
    paged[3].setFlags(paged[3].flags() & ~1u);
    WriteFile(joined, JoinPages(paged));
    EXPECT_EQ(OpenOgg(joined),
              std::make_pair(-3, "Error: Ogg file refused : " + joined +
                                     " : a packet is left unfinished (the "
                                     "page at byte " +
                                     std::to_string(paged[0].header.size() + paged[0].body.size() +
                                                    paged[1].header.size() + paged[1].body.size() +
                                                    paged[2].header.size() + paged[2].body.size()) +
                                     ")\n"));

    // Ogg holding something other than Vorbis is another kind of file: refused without a word.
    std::vector<Page> other = good;
    other[0].body[1] = 'V';
    const std::string path = TempPath("not_vorbis.ogg");
    WriteFile(path, JoinPages(other));
    EXPECT_EQ(OpenOgg(path), std::make_pair(-2, std::string()));
}

TEST(OggGuard, AChainInOneFormatPlaysFromItsFirstSampleAndSeeksIntoItsSecondLink) {
    // What the two links decode to, each on its own.
    const std::string path = Fixture("chain_same.ogg");
    const std::vector<Page> pages = SplitPages(ReadFile(path));
    ASSERT_EQ(pages.size(), 6u);
    ASSERT_TRUE(pages[3].flags() & 2) << "the second link should begin at page 3";
    std::string expected;
    for (const auto& [first, last] : {std::pair{0, 3}, std::pair{3, 6}}) {
        const std::string part = TempPath("link.ogg");
        WriteFile(part, JoinPages({pages.begin() + first, pages.begin() + last}));
        expected += Bytes(DecodeOgg(part, nullptr, nullptr));
    }
    ASSERT_EQ(expected.size(), size_t(44100 * 4 * 1.5));

    COggVorbis ogg;
    ASSERT_EQ(ogg.Open(path.c_str()), int(expected.size()));
    ASSERT_TRUE(ogg.AllocBuffer(44100 * 4));
    EXPECT_TRUE(DecodeAll(ogg) == expected) << "the first Read starts at sample 0";
    // 1.2 s in: 0.6 s into the second link.
    const int at = 52920 * 4;
    ASSERT_EQ(ogg.Seek(at), at);
    ASSERT_EQ(ogg.Read(4000), 4000);
    EXPECT_EQ(std::memcmp(ogg.GetBuffer(), expected.data() + at, 4000), 0);
}

TEST(OggGuard, AChainedStreamWhoseHeadersLibvorbisRefusesIsRefusedFirst) {
    // The second link's setup header (after the 68-byte comment header on its second page)
    // loses its first codebook's sync pattern: vorbisfile would fail half-way through finding
    // the links.
    std::vector<Page> pages = SplitPages(ReadFile(Fixture("chain_same.ogg")));
    ASSERT_EQ(pages.size(), 6u);
    ASSERT_EQ(pages[4].body.compare(68, 7, "\x05vorbis"), 0);
    ASSERT_EQ(pages[4].body.compare(76, 3, "BCV"), 0);
    pages[4].body[76] = 'X';
    const std::string path = TempPath("bad_setup.ogg");
    WriteFile(path, JoinPages(pages));
    const size_t at = pages[0].header.size() + pages[0].body.size() + pages[1].header.size() +
                      pages[1].body.size() + pages[2].header.size() + pages[2].body.size() +
                      pages[3].header.size() + pages[3].body.size();
    EXPECT_EQ(OpenOgg(path), std::make_pair(-3, "Error: Ogg file refused : " + path +
                                                    " : a stream's Vorbis headers cannot be read "
                                                    "or built into a decoder (the page at byte " +
                                                    std::to_string(at) + ")\n"));
}

TEST(OggGuard, ACodebookLibvorbisCannotBuildIsRefused) {
    // Found by the fuzzer: the headers unpack, but a codebook cannot be built. vorbisfile's
    // seek fails on it, and the next read finds the codebooks half built and divides by zero
    // inside libvorbis (SIGFPE).
    const std::string path = KV_HALF_BUILT_CODEBOOK_OGG;
    EXPECT_EQ(OpenOgg(path), std::make_pair(-3, "Error: Ogg file refused : " + path +
                                                    " : a stream's Vorbis headers cannot be read "
                                                    "or built into a decoder (the page at byte "
                                                    "58)\n"));
}

TEST(OggGuard, AChainWhoseLinksDifferInFormatIsRefused) {
    const std::string path = Fixture("chain_mixed.ogg");
    const auto [result, said] = OpenOgg(path);
    EXPECT_EQ(result, -3);
    EXPECT_EQ(said, "Error: Ogg file refused : " + path +
                        " : its chained streams differ in format (8000 Hz with 1 channel, then "
                        "44100 Hz with 2 channels); the music plays in one format\n");
}
