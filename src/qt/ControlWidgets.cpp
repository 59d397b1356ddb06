#include "qt/ControlWidgets.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>

namespace qx::qt {

void DropList::showPopup() {
  QComboBox::showPopup();
  emit popupChanged(true);
}

void DropList::hidePopup() {
  QComboBox::hidePopup();
  emit popupChanged(false);
}

SpinEdit::SpinEdit() {
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
  setKeyboardTracking(true);
  setAccelerated(false);
}

void SpinEdit::SetArrowsEnabled(bool enabled) {
  if (arrowsEnabled_ == enabled) return;
  arrowsEnabled_ = enabled;
  update();
}

void SpinEdit::stepBy(int steps) {
  if (arrowsEnabled_ && steps != 0) emit stepRequested(steps);
}

QValidator::State SpinEdit::validate(QString& /*input*/, int& /*pos*/) const {
  // Any text may be typed, as into a plain edit field; the up-down decides what it accepts.
  return QValidator::Acceptable;
}

void SpinEdit::fixup(QString& /*input*/) const {}

QSize SpinEdit::sizeHint() const {
  const QSize base = QAbstractSpinBox::sizeHint();
  return QSize(std::max(base.width(), fontMetrics().horizontalAdvance("000000000") + 40),
               base.height());
}

QSize SpinEdit::minimumSizeHint() const {
  const QSize base = QAbstractSpinBox::minimumSizeHint();
  return QSize(std::max(base.width(), fontMetrics().horizontalAdvance("00000") + 30),
               base.height());
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
  if (!arrowsEnabled_ || isReadOnly()) return StepNone;
  return StepUpEnabled | StepDownEnabled;
}

PlotSurface::PlotSurface() {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  setFocusPolicy(Qt::ClickFocus);
}

void PlotSurface::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  emit paintRequested(painter);
}

void PlotSurface::Report(QMouseEvent* event, ui::MouseEvent::Type type) {
  ui::MouseEvent out;
  out.type = type;
  const QPoint position = event->position().toPoint();
  out.position = ui::Point{position.x(), position.y()};
  out.left = (event->buttons() & Qt::LeftButton) != 0;
  out.right = (event->buttons() & Qt::RightButton) != 0;
  emit mouse(out);
}

void PlotSurface::mousePressEvent(QMouseEvent* event) {
  Report(event, ui::MouseEvent::Type::Press);
}

void PlotSurface::mouseReleaseEvent(QMouseEvent* event) {
  Report(event, ui::MouseEvent::Type::Release);
}

void PlotSurface::mouseMoveEvent(QMouseEvent* event) {
  Report(event, ui::MouseEvent::Type::Move);
}

TabHost::TabHost() {
  auto* layout = MakeLayout<QVBoxLayout>(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  bar_ = MakeChild<QTabBar>(this);
  bar_->setDrawBase(false);
  bar_->setExpanding(false);
  bar_->setUsesScrollButtons(true);
  // Clicking a tab takes the focus, so that an edit being left is committed before the page
  // it sits on is hidden.
  bar_->setFocusPolicy(Qt::StrongFocus);
  pane_ = MakeChild<QFrame>(this);
  pane_->setFrameShape(QFrame::StyledPanel);
  pane_->setFrameShadow(QFrame::Raised);
  pane_->setAutoFillBackground(true);
  paneLayout_ = MakeLayout<QGridLayout>(pane_);
  paneLayout_->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(bar_);
  layout->addWidget(pane_, 1);
}

void TabHost::AddPage(QWidget* page) {
  page->setParent(pane_);
  paneLayout_->addWidget(page, 0, 0);
}

WindowFrame::WindowFrame() : QWidget(nullptr, Qt::Window) {}

void WindowFrame::closeEvent(QCloseEvent* event) {
  event->ignore();
  emit closeRequested();
}

}  // namespace qx::qt
