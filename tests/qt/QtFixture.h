#pragma once

// Windows for the Qt front-end tests and the operator's hands: key presses and mouse clicks
// delivered to the native window the way the platform delivers them, so that focus changes,
// popups and widget behaviour are the real ones.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <memory>
#include <vector>

#include "qt/QtFrontEnd.h"
#include "qt/WindowView.h"
#include "ui/Control.h"
#include "ui/Event.h"
#include "ui/ResourceRegistry.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace qx::test {

inline constexpr const char* kQtTestResources = R"qxr(
menu 700
  popup "&File"
    item 40001 "&Open"
    separator
    item 2 "E&xit"
  end
  popup "&Tools" grayed
    item 40002 "Hidden tool"
  end
end
bitmap 302 4 4 solid 255 0 0
bitmap 303 4 4 solid 0 128 0
dialog 950 caption "Flow test"
  group "Settings"
    row "Exposure (us)" : edit 1338 "10" | updown 1339 buddy 1338 range 1 8000 pos 10
    row "Mode" : combo 1337 items "Off"=0 "Timed"=5 "Width"=7 sel 0
    row "Name" : edit 1400 "abc"
    row : autocheck 2540 "Select all" | check 2541 "Manual"
    row : button 1432 "Get"
  end
  group "Pick"
    autoradio 3001 "A" group
    autoradio 3002 "B"
  end
  listbox 3020 items "one" "two" "three"
end
dialog 951 caption "Plot test" size 300 200
  plot 3030 at 10 10 200 150
  edit 5001 "" at 220 10 70 20
  combo 5002 at 220 40 70 120 items "a" "b"
  button 1 "OK" at 220 140 70 24
  button 2 "Cancel" at 220 170 70 24
end
dialog 952 caption "Main" size 400 300 menu 700
  tab 1244 at 0 0 400 280
  picture 1161 at 0 290 400 10 image 302
end
dialog 953 child
  row "Value" : edit 6001 "1"
end
dialog 954 child
  row "Other" : edit 6002 "2"
end
)qxr";

// Runs the event loop until the condition holds or the deadline passes.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 3000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeoutMs) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

// Operator input through the widget's native window.
inline QWindow* NativeWindowOf(QWidget* widget) {
  QWidget* top = widget->window();
  top->winId();
  return top->windowHandle();
}

inline void ClickAt(QWidget* widget, QPoint local, Qt::MouseButton button = Qt::LeftButton) {
  QWindow* window = NativeWindowOf(widget);
  const QPointF inWindow = widget->mapTo(widget->window(), local);
  const QPointF global = widget->mapToGlobal(local);
  QMouseEvent press(QEvent::MouseButtonPress, inWindow, global, button, button, Qt::NoModifier);
  QApplication::sendEvent(window, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, inWindow, global, button, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(window, &release);
}

inline void Click(QWidget* widget) {
  ClickAt(widget, widget->rect().center());
}

inline void PressKey(QWidget* anyInWindow, int key, Qt::KeyboardModifiers modifiers = {},
                     const QString& text = {}) {
  QWindow* window = NativeWindowOf(anyInWindow);
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(window, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(window, &release);
}

inline void TypeKeys(QWidget* anyInWindow, const QString& text) {
  for (const QChar c : text) {
    const int key = c.isLetter()  ? Qt::Key_A + (c.toUpper().unicode() - 'A')
                    : c.isDigit() ? Qt::Key_0 + (c.unicode() - '0')
                                  : c.unicode();
    PressKey(anyInWindow, key, {}, QString(c));
  }
}

class QtUiTest : public ::testing::Test {
 protected:
  QtUiTest() {
    resources.AddFile("qt-test.qxr", kQtTestResources);
    EXPECT_TRUE(resources.Errors().empty()) << resources.Errors().front().ToString();
    window.SetEventHandler([this](ui::Event& event) {
      events.push_back(event);
      return handle;
    });
  }

  // Creates and shows the window and makes it the active one, as the operator sees it.
  void Open(int templateId) {
    ASSERT_TRUE(window.Create(templateId));
    window.Show(true);
    QWidget* frame = frontEnd.GetRenderer().WidgetOf(window);
    ASSERT_NE(frame, nullptr);
    frame->activateWindow();
    ASSERT_TRUE(WaitUntil([frame] { return frame->isVisible() && frame->isActiveWindow(); }));
    // Layouts settle through posted events.
    QApplication::processEvents();
  }

  QWidget* WidgetOf(int controlId) {
    ui::Control* control = window.GetControl(controlId);
    return control == nullptr ? nullptr : frontEnd.GetRenderer().WidgetOf(*control);
  }

  template <typename T>
  T* As(int controlId) {
    return qobject_cast<T*>(WidgetOf(controlId));
  }

  // What the window heard about one control (leaving the previously focused edit is heard
  // too, and is not what these tests look at).
  std::vector<ui::Event> EventsFor(int controlId) const {
    std::vector<ui::Event> out;
    for (const ui::Event& event : events) {
      if (event.id == controlId) out.push_back(event);
    }
    return out;
  }

  std::vector<ui::Event> EventsOfType(ui::EventType type) const {
    std::vector<ui::Event> out;
    for (const ui::Event& event : events) {
      if (event.type == type) out.push_back(event);
    }
    return out;
  }

  ui::ResourceRegistry resources;
  ui::WindowSystem windows{resources};
  qt::QtFrontEnd frontEnd{windows};
  ui::Window window{windows};
  std::vector<ui::Event> events;
  bool handle = true;
};

}  // namespace qx::test
