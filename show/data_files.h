// The files under Data/ that the show reads at start-up. The build makes every one of them, and
// the shell, the bitmap maker, the capture program and the tests all take the names from here.
#pragma once

#include <string_view>

namespace data_files {

inline constexpr char kMusic[] = "Data/tech.ogg";

// The twelve bitmaps; each is read into the texture of the same name.
inline constexpr char title2[] = "Data/title2.bmp";
inline constexpr char aba2[] = "Data/aba2.bmp";
inline constexpr char sc02cross[] = "Data/sc02cross.bmp";
inline constexpr char letter01[] = "Data/letter01.bmp";
inline constexpr char letter02[] = "Data/letter02.bmp";
inline constexpr char letter03[] = "Data/letter03.bmp";
inline constexpr char moll4[] = "Data/moll4.bmp";
inline constexpr char smoke4[] = "Data/smoke4.bmp";
inline constexpr char sc03objecs03[] = "Data/sc03objecs03.bmp";
inline constexpr char r[] = "Data/r.bmp";
inline constexpr char eyeeye2[] = "Data/eyeeye2.bmp";
inline constexpr char greeting[] = "Data/greeting.bmp";

// All of them, in the order the texture table loads them.
inline constexpr const char* kBitmaps[] = {title2,       aba2,     sc02cross, letter01,
                                           letter02,     letter03, moll4,     smoke4,
                                           sc03objecs03, r,        eyeeye2,   greeting};

// The name inside Data/: "Data/title2.bmp" gives "title2.bmp".
constexpr std::string_view fileName(std::string_view path) {
    return path.substr(sizeof "Data/" - 1);
}

// The name a bitmap and its texture share: "Data/title2.bmp" gives "title2".
constexpr std::string_view stem(std::string_view path) {
    const std::string_view name = fileName(path);
    return name.substr(0, name.size() - (sizeof ".bmp" - 1));
}

} // namespace data_files
