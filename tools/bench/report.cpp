#include "tools/bench/report.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

FrameStats summarise(std::vector<double> ms) {
    FrameStats s;
    s.frames = int(ms.size());
    if (ms.empty()) return s;
    std::sort(ms.begin(), ms.end());
    const size_t mid = ms.size() / 2;
    s.medianMs = ms.size() % 2 ? ms[mid] : (ms[mid - 1] + ms[mid]) / 2;
    s.meanMs = std::accumulate(ms.begin(), ms.end(), 0.0) / double(ms.size());
    return s;
}

std::string resultLine(const FrameStats& s) {
    char line[96];
    std::snprintf(line, sizeof line, "frames %d median %.4f mean %.4f", s.frames, s.medianMs,
                  s.meanMs);
    return line;
}

bool parseResultLine(const std::string& line, FrameStats& s) {
    int used = 0;
    FrameStats read;
    if (std::sscanf(line.c_str(), "frames %d median %lf mean %lf%n", &read.frames, &read.medianMs,
                    &read.meanMs, &used) != 3)
        return false;
    const std::string rest = line.substr(size_t(used));
    if (rest.find_first_not_of(" \n") != std::string::npos || read.frames < 1 ||
        !(read.medianMs >= 0) || !(read.meanMs >= 0))
        return false;
    s = read;
    return true;
}

namespace {

void cells(std::string& out, const DriverRun& run) {
    char text[96];
    if (!run.ok)
        std::snprintf(text, sizeof text, " failed | failed | failed | failed |");
    else
        std::snprintf(text, sizeof text, " %.1f | %.1f | %.0f | %.0f |", run.stats.medianMs,
                      run.stats.meanMs, double(run.peakRssKb) / 1024,
                      double(run.pageFaults) / 1000);
    out += text;
}

} // namespace

std::string markdownTable(const std::vector<Row>& rows) {
    if (rows.empty()) return "";
    const bool llvmpipe = rows.front().llvmpipe.ran;
    const bool noop = rows.front().noop.ran;
    std::string out = "| stretch | frames |";
    std::string rule = "|---|--:|";
    if (llvmpipe) {
        out +=
            " llvmpipe median ms | llvmpipe mean ms | llvmpipe peak RSS MiB | llvmpipe faults k |";
        rule += "--:|--:|--:|--:|";
    }
    if (noop) {
        out += " noop median ms | noop mean ms | noop peak RSS MiB | noop faults k |";
        rule += "--:|--:|--:|--:|";
    }
    out += "\n" + rule + "\n";
    for (const Row& row : rows) {
        const DriverRun& any = row.llvmpipe.ok ? row.llvmpipe : row.noop;
        out +=
            "| " + row.stretch + " | " + (any.ok ? std::to_string(any.stats.frames) : "-") + " |";
        if (llvmpipe) cells(out, row.llvmpipe);
        if (noop) cells(out, row.noop);
        out += "\n";
    }
    return out;
}
