#pragma once

// The plot drawing interface on top of a QPainter, for the duration of one paint event.

#include <QPainter>
#include <QPoint>

#include "ui/Painter.h"

namespace qx::qt {

class QtPainter : public ui::Painter {
 public:
  explicit QtPainter(QPainter& painter) : painter_(painter) {}

  void SetPen(ui::Color color, int width) override;
  void MoveTo(ui::Point p) override;
  void LineTo(ui::Point p) override;
  void Ellipse(ui::Rect bounds) override;
  void FillRect(ui::Rect area, ui::Color color) override;

 private:
  QPainter& painter_;
  QPoint current_;
};

}  // namespace qx::qt
