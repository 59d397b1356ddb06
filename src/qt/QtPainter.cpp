#include "qt/QtPainter.h"

#include <QPen>

namespace qx::qt {
namespace {

QColor ToQColor(ui::Color color) {
  return QColor(color.r, color.g, color.b, color.a);
}

}  // namespace

void QtPainter::SetPen(ui::Color color, int width) {
  QPen pen(ToQColor(color));
  pen.setWidth(std::max(width, 0));
  painter_.setPen(pen);
}

void QtPainter::MoveTo(ui::Point p) {
  current_ = QPoint(p.x, p.y);
}

void QtPainter::LineTo(ui::Point p) {
  const QPoint to(p.x, p.y);
  painter_.drawLine(current_, to);
  current_ = to;
}

void QtPainter::Ellipse(ui::Rect bounds) {
  painter_.save();
  painter_.setBrush(Qt::NoBrush);
  // The rectangle's right and bottom edges lie outside the ellipse, as for the platform's.
  painter_.drawEllipse(bounds.left, bounds.top, std::max(bounds.width - 1, 0),
                       std::max(bounds.height - 1, 0));
  painter_.restore();
}

void QtPainter::FillRect(ui::Rect area, ui::Color color) {
  painter_.fillRect(area.left, area.top, area.width, area.height, ToQColor(color));
}

}  // namespace qx::qt
