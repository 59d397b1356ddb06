#include "qt/Renderer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <vector>

#include "qt/WindowView.h"
#include "ui/Control.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace qx::qt {
namespace {

// Sees every event of the application first and drops the operator's input to windows that
// take none.
class InputGate : public QObject {
 public:
  explicit InputGate(const Renderer& renderer) : renderer_(renderer) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::ContextMenu:
        break;
      default:
        return false;
    }
    const auto* widget = qobject_cast<const QWidget*>(watched);
    return widget != nullptr && !renderer_.AcceptsInput(widget);
  }

 private:
  const Renderer& renderer_;
};

}  // namespace

Renderer::Renderer(ui::WindowSystem& windows) : windows_(windows) {
  // Parents before children: a page needs its host's view to be placed in.
  for (ui::Window* window : windows_.Windows()) {
    if (window->Exists() && (window->Parent() == nullptr || !window->IsChild())) {
      CreateView(*window);
    }
  }
  for (ui::Window* window : windows_.Windows()) {
    if (window->Exists() && views_.count(window) == 0) CreateView(*window);
  }
  windows_.AddObserver(*this);
  inputGate_ = std::make_unique<InputGate>(*this);
  QCoreApplication::instance()->installEventFilter(inputGate_.get());
}

Renderer::~Renderer() {
  QCoreApplication::instance()->removeEventFilter(inputGate_.get());
  windows_.RemoveObserver(*this);
  std::vector<const ui::Window*> windows;
  for (const auto& [window, view] : views_) windows.push_back(window);
  for (const ui::Window* window : windows) RetireView(*window);
  // Retired views are deleted from the event loop; there may be none after this point.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Renderer::CreateView(ui::Window& window) {
  WindowView* host = nullptr;
  if (window.IsChild() && window.Parent() != nullptr) host = ViewOf(*window.Parent());
  ++applying_;
  views_[&window] = std::make_unique<WindowView>(*this, window, host);
  --applying_;
}

void Renderer::RetireView(const ui::Window& window) {
  auto it = views_.find(&window);
  if (it == views_.end()) return;
  // Pages go before the window holding them.
  std::vector<const ui::Window*> pages;
  for (const auto& [other, view] : views_) {
    if (view->Host() == it->second.get()) pages.push_back(other);
  }
  for (const ui::Window* page : pages) RetireView(*page);
  it = views_.find(&window);
  std::unique_ptr<WindowView> view = std::move(it->second);
  views_.erase(it);
  ++applying_;
  view->Retire();
  --applying_;
  // The window may be going away inside one of its own widgets' signals.
  view.release()->deleteLater();
}

void Renderer::OnChange(const ui::ChangeNotice& notice) {
  if (notice.window == nullptr) return;
  if (notice.what == ui::Change::WindowCreated) {
    RetireView(*notice.window);
    CreateView(*notice.window);
    return;
  }
  if (notice.what == ui::Change::WindowDestroyed) {
    RetireView(*notice.window);
    return;
  }
  WindowView* view = ViewOf(*notice.window);
  if (view == nullptr) return;
  ++applying_;
  view->Apply(notice);
  --applying_;
}

bool Renderer::AcceptsInput(const QWidget* widget) const {
  // The innermost window view holding the widget decides; its window knows its parents.
  // Other windows (message boxes, file dialogs, open lists) belong to nobody here, even when
  // a disabled window is their parent: they are how the operator answers.
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    for (const auto& [window, view] : views_) {
      if (view->Frame() == w) return window->IsReachable();
    }
    if (w->isWindow()) return true;
  }
  return true;
}

bool Renderer::IsWindowFrame(const QWidget* widget) const {
  for (const auto& [window, view] : views_) {
    if (view->Frame() == widget) return true;
  }
  return false;
}

WindowView* Renderer::ViewOf(const ui::Window& window) const {
  auto it = views_.find(&window);
  return it == views_.end() ? nullptr : it->second.get();
}

QWidget* Renderer::WidgetOf(const ui::Window& window) const {
  WindowView* view = ViewOf(window);
  return view == nullptr ? nullptr : view->Frame();
}

QWidget* Renderer::WidgetOf(const ui::Control& control) const {
  WindowView* view = ViewOf(control.Owner());
  return view == nullptr ? nullptr : view->WidgetOf(control);
}

}  // namespace qx::qt
