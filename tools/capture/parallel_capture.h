// A video drawn by several worker processes at once, each with its own GL context, each
// encoding stretches of the show to parts that are then joined without re-encoding.
#pragma once

#include "tools/capture/commands.h"

#include <cstdint>
#include <string>

// The parent: frames first..end-1 with this many workers; the exit status.
int captureInParallel(const Options& options, const ShowTiming& show, const std::string& ffmpeg,
                      int64_t first, int64_t end, int jobs);

// A worker: draws the stretches read from stdin, telling the parent on stdout.
int runCaptureWorker(const Options& options, const ShowTiming& show, const std::string& ffmpeg);
