#pragma once

// A painter that keeps every call, for headless runs and tests of paint code.

#include <string>
#include <vector>

#include "ui/Painter.h"

namespace qx::ui {

class RecordingPainter : public Painter {
 public:
  struct Op {
    enum class Kind { Pen, MoveTo, LineTo, Ellipse, Fill };
    Kind kind;
    Color color;
    int width = 0;
    Point point;
    Rect rect;
  };

  void SetPen(Color color, int width) override {
    ops_.push_back({Op::Kind::Pen, color, width, {}, {}});
  }
  void MoveTo(Point p) override { ops_.push_back({Op::Kind::MoveTo, {}, 0, p, {}}); }
  void LineTo(Point p) override { ops_.push_back({Op::Kind::LineTo, {}, 0, p, {}}); }
  void Ellipse(Rect bounds) override { ops_.push_back({Op::Kind::Ellipse, {}, 0, {}, bounds}); }
  void FillRect(Rect area, Color color) override {
    ops_.push_back({Op::Kind::Fill, color, 0, {}, area});
  }

  const std::vector<Op>& Ops() const { return ops_; }
  void Clear() { ops_.clear(); }

 private:
  std::vector<Op> ops_;
};

}  // namespace qx::ui
