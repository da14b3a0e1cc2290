// What a timed stretch comes to, how a child hands it to its parent, and the table.
#pragma once

#include <string>
#include <vector>

struct FrameStats {
    int frames = 0;
    double medianMs = 0;
    double meanMs = 0;
};

// Of the frame times in ms; the median of an even count is the mean of the middle two.
FrameStats summarise(std::vector<double> ms);

// One line a child prints on its standard output, and the parent's reading of it.
std::string resultLine(const FrameStats& stats);
bool parseResultLine(const std::string& line, FrameStats& stats);

// One stretch on one driver, as its process ended.
struct DriverRun {
    bool ran = false; // asked for
    bool ok = false;  // and gave a result
    FrameStats stats;
    long peakRssKb = 0;
    long pageFaults = 0;
};

struct Row {
    std::string stretch;
    DriverRun llvmpipe, noop;
};

// A markdown table, a row a stretch: per driver ms per frame, peak RSS and the thousands of
// minor page faults of the whole process. A driver not asked for is left out, one that failed
// shows "failed" in its cells.
std::string markdownTable(const std::vector<Row>& rows);
