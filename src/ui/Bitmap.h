#pragma once

// A small raster image from the resources (status strip bitmaps, window icons). Pixels are
// stored row by row, top row first.

#include <cstdint>
#include <vector>

namespace qx::ui {

struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 255;
  friend bool operator==(const Color&, const Color&) = default;
};

struct Bitmap {
  int id = 0;  // resource number
  int width = 0;
  int height = 0;
  std::vector<Color> pixels;

  // Transparent black outside the image, so callers need no bounds checks of their own.
  Color At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return Color{0, 0, 0, 0};
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

}  // namespace qx::ui
