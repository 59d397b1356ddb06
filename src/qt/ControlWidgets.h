#pragma once

// Qt widgets that behave like the platform controls the windows are written against: buttons
// whose check state only the window system changes, a drop-down list that reports opening
// and closing, an edit with spin arrows that asks before it steps, the plot surface and the
// tab control that hosts child pages. Each reports operator input through signals; what the
// input means is decided by the window system, never here.

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QWidget>
#include <memory>
#include <utility>

#include "ui/Painter.h"

class QGridLayout;

namespace qx::qt {

// Creates a widget (or layout) owned by its Qt parent, which deletes it with itself.
template <typename T, typename... Args>
T* MakeChild(QWidget* parent, Args&&... args) {
  auto owned = std::make_unique<T>(std::forward<Args>(args)...);
  owned->setParent(parent);
  return owned.release();
}

// Creates a layout installed on the widget (the widget owns it).
template <typename T>
T* MakeLayout(QWidget* widget) {
  return std::make_unique<T>(widget).release();
}

// A check box whose state follows the window system: a click is reported, the new state
// comes back as a model change (a plain check box does not toggle by itself).
class ManualCheckBox : public QCheckBox {
  Q_OBJECT
 public:
  using QCheckBox::QCheckBox;

 protected:
  void nextCheckState() override {}
};

class ManualRadioButton : public QRadioButton {
  Q_OBJECT
 public:
  explicit ManualRadioButton(const QString& text) : QRadioButton(text) { setAutoExclusive(false); }

 protected:
  void nextCheckState() override {}
};

// A drop-down list that tells when the operator opens or closes its list.
class DropList : public QComboBox {
  Q_OBJECT
 public:
  using QComboBox::QComboBox;
  void showPopup() override;
  void hidePopup() override;

 signals:
  void popupChanged(bool open);
};

// An edit field with spin arrows: the text is free (the window system applies the up-down's
// rules), and an arrow press is reported as a step request instead of changing the text.
class SpinEdit : public QAbstractSpinBox {
  Q_OBJECT
 public:
  SpinEdit();
  QLineEdit* Editor() const { return lineEdit(); }
  void SetArrowsEnabled(bool enabled);
  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void stepRequested(int steps);

 protected:
  StepEnabled stepEnabled() const override;

 private:
  bool arrowsEnabled_ = true;
};

// The drawing surface of a plot: painting and pointer input go to the window system.
class PlotSurface : public QWidget {
  Q_OBJECT
 public:
  PlotSurface();

 signals:
  void paintRequested(QPainter& painter);
  void mouse(const qx::ui::MouseEvent& event);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void Report(QMouseEvent* event, ui::MouseEvent::Type type);
};

// A tab control: the bar of tabs over a framed pane in which the window's child pages live.
// Which page shows is the window system's business; the pane only stacks them.
class TabHost : public QWidget {
  Q_OBJECT
 public:
  TabHost();
  QTabBar* Bar() const { return bar_; }
  // Puts a page into the pane; it is shown and hidden by its owner.
  void AddPage(QWidget* page);

 private:
  QTabBar* bar_;
  QFrame* pane_;
  QGridLayout* paneLayout_;
};

// The outer widget of a top-level window: the close box is reported, never obeyed directly.
class WindowFrame : public QWidget {
  Q_OBJECT
 public:
  WindowFrame();

 signals:
  void closeRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace qx::qt
