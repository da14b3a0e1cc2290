// The benchmark run as a user runs it, for a few frames a stretch: a complete table, and a
// clear refusal of bad input. Nothing here is timed.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

struct Outcome {
    int status = -1;
    std::string out;
};

Outcome bench(const std::string& args) {
    Outcome o;
    if (FILE* p = popen((std::string(KV_BENCH_BIN) + " " + args).c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) o.out.append(buffer, n);
        const int rc = pclose(p);
        o.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    return o;
}

std::vector<std::string> tableRows(const std::string& text) {
    std::stringstream in(text);
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] == '|') rows.push_back(line);
    return rows;
}

// The cells of a row, without the bars.
std::vector<std::string> cells(const std::string& row) {
    std::vector<std::string> out;
    std::stringstream in(row.substr(1));
    for (std::string cell; std::getline(in, cell, '|');) out.push_back(cell);
    return out;
}

TEST(BenchRun, EveryStretchOnBothDriversGivesANumberInEachCell) {
    const Outcome o = bench("--frames 2");
    ASSERT_EQ(o.status, 0) << o.out;
    const std::vector<std::string> rows = tableRows(o.out);
    ASSERT_EQ(rows.size(), 7u) << o.out;
    const char* names[] = {"1", "2", "3a", "3b", "4"};
    for (int i = 0; i < 5; ++i) {
        const std::vector<std::string> c = cells(rows[size_t(i) + 2]);
        ASSERT_EQ(c.size(), 10u) << rows[size_t(i) + 2];
        EXPECT_EQ(c[0], std::string(" ") + names[i] + " ");
        EXPECT_EQ(std::stoi(c[1]), 2);
        for (size_t k = 2; k < c.size(); ++k) {
            const double v = std::stod(c[k]);
            EXPECT_GE(v, 0) << rows[size_t(i) + 2];
        }
        // Peak RSS of a process that drew the show is never near nothing.
        EXPECT_GT(std::stod(c[4]), 20) << rows[size_t(i) + 2];
        EXPECT_GT(std::stod(c[8]), 20) << rows[size_t(i) + 2];
    }
    EXPECT_NE(o.out.find("trim threshold"), std::string::npos) << o.out;
}

TEST(BenchRun, SaysWhenTheAllocatorIsLeftAloneAndRefusesBadInput) {
    const Outcome o = bench("--frames 1 --stretch 1 --driver noop --no-tuning");
    ASSERT_EQ(o.status, 0) << o.out;
    EXPECT_NE(o.out.find("the C library's defaults"), std::string::npos) << o.out;
    EXPECT_EQ(tableRows(o.out).size(), 3u) << o.out;

    EXPECT_EQ(bench("--frames 0 2>/dev/null").status, 2);
    EXPECT_EQ(bench("--stretch 5 2>/dev/null").status, 2);
}

} // namespace
