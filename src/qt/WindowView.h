#pragma once

// The Qt side of one ui window: its frame (a top-level window, or a page inside its parent's
// tab control), the client area with one widget per control, the menu bar, and the wiring
// both ways. Model changes arrive through Apply and update the widgets with their signals
// blocked; operator input on the widgets goes through the window system's operator input
// entry points, exactly as a script would drive them.

#include <QObject>
#include <map>
#include <memory>
#include <vector>

#include "ui/WindowObserver.h"

class QAction;
class QGridLayout;
class QMenu;
class QMenuBar;
class QScrollArea;
class QWidget;

namespace qx::ui {
class Control;
class Window;
struct MenuItem;
}  // namespace qx::ui

namespace qx::qt {

class Renderer;
class TabHost;

class WindowView : public QObject {
  Q_OBJECT
 public:
  // A view of a child window is placed inside its host's client area (in the pane of the
  // host's tab control when it has one); without a host it is a top-level window.
  WindowView(Renderer& renderer, ui::Window& window, WindowView* host);
  ~WindowView() override;
  WindowView(const WindowView&) = delete;
  WindowView& operator=(const WindowView&) = delete;

  ui::Window& Window() const { return window_; }
  bool IsTopLevel() const { return host_ == nullptr; }
  WindowView* Host() const { return host_; }
  // The outer widget: the top-level window, or the scroll area a page lives in.
  QWidget* Frame() const { return frame_.get(); }
  // The client area (all controls live inside it).
  QWidget* Content() const { return content_; }
  QMenuBar* MenuBar() const { return menuBar_; }
  // The widget drawing a control; an edit and its up-down drawn as one spin widget share it.
  QWidget* WidgetOf(const ui::Control& control) const;

  void Apply(const ui::ChangeNotice& notice);
  // The window went away: from now on nothing reaches the window system and the frame hides.
  void Retire();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Role {
    Edit,
    MultiLineEdit,
    SpinEditText,  // an edit drawn with its up-down's arrows
    SpinArrows,    // the up-down of such a pair (no widget of its own)
    LoneUpDown,
    DropList,
    ListBox,
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Label,
    Picture,
    Progress,
    Tab,
    Plot,
  };
  struct ControlView {
    ui::Control* control = nullptr;
    QWidget* widget = nullptr;
    Role role = Role::Label;
    ui::Control* partner = nullptr;  // the other half of a spin pair
  };

  // Buttons and check boxes keep the width of their text in a laid-out row.
  static bool IsOwnWidth(const ControlView& view);
  void BuildFrame();
  void BuildControls();
  void CreateWidget(ControlView& view);
  void ConnectInput(ControlView& view);
  void LayOutByRows();
  void LayOutByCoordinates();
  // Lays out the rows of the window (-1) or of a group box; top-level group boxes are handed
  // back in boxes when it is given, for arranging in columns.
  void FillGrid(QGridLayout& grid, int groupIndex, std::vector<QWidget*>* boxes);
  // Shares caption widths, and input widths up to the cap, among the window's groups.
  void AlignColumns(int sharedInputCap);
  int AvailableWidth() const;
  void SetTabOrder();
  void BuildMenu();
  void BuildMenuLevel(QMenu* menu, const std::vector<ui::MenuItem>& items);
  void SyncMenu();
  void SyncWindow();
  void SyncControl(ControlView& view, bool items);
  void SyncItems(ControlView& view);
  void ApplyItemChange(ControlView& view, ui::Change what, int index);
  void ShowFrame(bool show);
  void ApplyClientSize();
  void EmbedPage(WindowView& page);
  TabHost* FirstTabHost() const;

  ControlView* Find(const ui::Control* control);
  ui::Control* ControlOfWidget(const QObject* object) const;
  bool CanDeliver() const;

  Renderer& renderer_;
  ui::Window& window_;
  WindowView* host_;
  bool retired_ = false;
  bool placed_ = false;
  bool byRows_ = false;
  bool resizable_ = false;
  std::unique_ptr<QWidget> frame_;
  QWidget* content_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  std::vector<ControlView> controls_;
  std::map<const ui::Control*, std::size_t> index_;
  std::map<const QObject*, ui::Control*> owners_;
  // The list views of drop-down lists, which take the keys while open.
  std::map<QObject*, ui::Control*> openLists_;
  // Grids whose rows start with captions, with the number of input columns they have.
  struct LabelledGrid {
    QGridLayout* grid;
    int inputColumns;
    int nesting;  // groups around it below the window's own
  };
  int nesting_ = 0;
  std::vector<LabelledGrid> labelledGrids_;
  // Menu bar entries and commands, in the order of the window's menu items.
  std::vector<QAction*> menuActions_;
};

}  // namespace qx::qt
