// A grid of small frames from across the show, each labelled with its time and scene.
#pragma once

#include "tools/capture/rgb_image.h"

#include <cstdint>
#include <string>
#include <vector>

// Frames 0 to last, count of them spread evenly, first and last included.
std::vector<int64_t> spreadFrames(int count, int64_t last);

// Thumbnails are the frame shrunk by a whole factor that divides both its sides.
bool validSheetScale(int scale);

// Each pixel the average of a factor x factor block.
RgbImage shrink(const RgbImage& frame, int factor);

// "1:23.456 t 0.52341 scene 3".
std::string frameLabel(double seconds, float t, int scene);

class ContactSheet {
  public:
    ContactSheet(int count, int columns, int thumbWidth, int thumbHeight);
    // Puts the i-th thumbnail (in reading order) with its label beneath it.
    void place(int i, const RgbImage& thumb, const std::string& label);
    const RgbImage& image() const { return sheet_; }
    // Top-left corner of the i-th thumbnail in the sheet.
    int cellX(int i) const;
    int cellY(int i) const;

  private:
    int columns_, thumbWidth_, thumbHeight_, fontScale_;
    RgbImage sheet_;
};
