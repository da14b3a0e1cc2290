#include "tools/bench/bench_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool parse(std::vector<const char*> args, BenchOptions& o, std::string* error = nullptr) {
    args.insert(args.begin(), "kelvaster-bench");
    return parseBenchOptions(int(args.size()), args.data(), o, error);
}

TEST(BenchOptions, ReadsEachOption) {
    BenchOptions o;
    ASSERT_TRUE(parse({"--frames", "7", "--stretch", "3b", "--stretch", "1", "--driver", "noop",
                       "--allocator", "512M,1K,65536"},
                      o));
    EXPECT_EQ(o.frames, 7);
    EXPECT_EQ(o.stretches, (std::vector<std::string>{"3b", "1"}));
    EXPECT_FALSE(o.llvmpipe);
    EXPECT_TRUE(o.noop);
    EXPECT_TRUE(o.tuned);
    EXPECT_EQ(o.allocator.trimThreshold, 512 << 20);
    EXPECT_EQ(o.allocator.topPad, 1024);
    EXPECT_EQ(o.allocator.mmapThreshold, 65536);

    BenchOptions plain;
    ASSERT_TRUE(parse({"--no-tuning", "--driver", "llvmpipe"}, plain));
    EXPECT_FALSE(plain.tuned);
    EXPECT_TRUE(plain.llvmpipe);
    EXPECT_FALSE(plain.noop);
}

TEST(BenchOptions, RefusesBadValuesNamingThem) {
    const std::vector<std::vector<const char*>> bad = {
        {"--frames", "0"},
        {"--frames", "361"},
        {"--frames", "12x"},
        {"--stretch", "3"},
        {"--driver", "softpipe"},
        {"--allocator", "1G,2M"},
        {"--allocator", "1,2,3,4"},
        {"--allocator", "2G,1M,1M"},
        {"--allocator", "1T,1M,1M"},
        {"--allocator", "-1,1,1"},
        {"--frames"},
        {"--fast"},
    };
    for (const auto& args : bad) {
        BenchOptions o;
        std::string error;
        EXPECT_FALSE(parse(args, o, &error)) << args[0];
        EXPECT_NE(error.find(args.back()), std::string::npos) << error;
    }
    BenchOptions o;
    std::string error = "unset";
    EXPECT_FALSE(parse({"--help"}, o, &error));
    EXPECT_EQ(error, "");
}

// What the parent hands a child must read back as the same settings.
TEST(BenchOptions, ChildArgumentsCarryTheSettingsAcross) {
    BenchOptions o;
    ASSERT_TRUE(parse({"--frames", "9", "--allocator", "1073741823,3K,32M"}, o));
    const std::vector<std::string> args = childArguments(o, "3a");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    BenchOptions child;
    ASSERT_TRUE(parse(argv, child));
    EXPECT_EQ(child.child, "3a");
    EXPECT_EQ(child.frames, 9);
    EXPECT_TRUE(child.tuned);
    EXPECT_EQ(child.allocator.trimThreshold, 1073741823);
    EXPECT_EQ(child.allocator.topPad, 3072);
    EXPECT_EQ(child.allocator.mmapThreshold, 32 << 20);

    o.tuned = false;
    BenchOptions untuned;
    std::vector<const char*> argv2;
    const std::vector<std::string> args2 = childArguments(o, "4");
    for (const std::string& a : args2) argv2.push_back(a.c_str());
    ASSERT_TRUE(parse(argv2, untuned));
    EXPECT_FALSE(untuned.tuned);
    EXPECT_EQ(untuned.child, "4");
}

} // namespace
