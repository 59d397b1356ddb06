#pragma once

// Drawing and pointer input of a plot surface. Feature code paints through this interface;
// the Qt front-end implements it with its own painter, the headless side records the calls.

#include "ui/Bitmap.h"
#include "ui/Geometry.h"

namespace qx::ui {

class Painter {
 public:
  virtual ~Painter() = default;
  virtual void SetPen(Color color, int width) = 0;
  virtual void MoveTo(Point p) = 0;
  virtual void LineTo(Point p) = 0;
  // Outline of the ellipse inscribed in the rectangle, drawn with the current pen.
  virtual void Ellipse(Rect bounds) = 0;
  virtual void FillRect(Rect area, Color color) = 0;
};

// Pointer input on a plot, in the plot's own coordinates, with the buttons held.
struct MouseEvent {
  enum class Type { Move, Press, Release };
  Type type = Type::Move;
  Point position;
  bool left = false;
  bool right = false;
};

}  // namespace qx::ui
