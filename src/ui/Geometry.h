#pragma once

// Plain geometry in window client pixels: origin top-left, y grows downwards.

namespace qx::ui {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool Contains(Point p) const {
    return p.x >= left && p.x < Right() && p.y >= top && p.y < Bottom();
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace qx::ui
