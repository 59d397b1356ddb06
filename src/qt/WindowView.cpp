#include "qt/WindowView.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <functional>
#include <set>

#include "qt/ControlWidgets.h"
#include "qt/Conversions.h"
#include "qt/QtPainter.h"
#include "qt/Renderer.h"
#include "ui/Control.h"
#include "ui/OperatorInput.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace qx::qt {
namespace {

// Edit field style bits of the platform the templates come from.
constexpr std::uint32_t kEditCenter = 0x1;
constexpr std::uint32_t kEditRight = 0x2;
constexpr std::uint32_t kEditMultiLine = 0x4;
constexpr std::uint32_t kEditPassword = 0x20;
constexpr std::uint32_t kEditReadOnly = 0x800;
constexpr std::uint32_t kEditWantReturn = 0x1000;

// Client height above which a window laid out by rows scrolls instead of growing; leaves room
// for the title bar, the menu and a task bar on a 768-line screen.
constexpr int kMaxClientHeight = 640;
// Width range of the inputs that all one-input groups of a window share.
constexpr int kWidestSharedInput = 180;
constexpr int kNarrowestSharedInput = 120;
// How much further right the contents of a group inside a group start.
constexpr int kNestedIndent = 12;
// Room a vertical scroll bar takes beside a page.
constexpr int kScrollBarAllowance = 20;
// The frame and margins of a tab control's pane around a page.
constexpr int kPaneAllowance = 10;

// Multi-line edits hold platform line breaks; the widget shows plain ones.
QString ToDisplayText(const std::string& text) {
  return QString::fromStdString(text).replace("\r\n", "\n");
}

std::string FromDisplayText(const QString& text) {
  QString copy = text;
  return copy.replace("\n", "\r\n").toStdString();
}

Qt::CheckState ToCheckState(int state) {
  switch (state) {
    case 1:
      return Qt::Checked;
    case 2:
      return Qt::PartiallyChecked;
    default:
      return Qt::Unchecked;
  }
}

}  // namespace

bool WindowView::IsOwnWidth(const ControlView& view) {
  return view.role == Role::PushButton || view.role == Role::CheckBox ||
         view.role == Role::RadioButton;
}

WindowView::WindowView(Renderer& renderer, ui::Window& window, WindowView* host)
    : renderer_(renderer), window_(window), host_(host) {
  BuildFrame();
  BuildControls();
  BuildMenu();
  SetTabOrder();
  SyncWindow();
  if (host_ != nullptr) host_->EmbedPage(*this);
}

WindowView::~WindowView() {
  retired_ = true;
  if (frame_ != nullptr && !IsTopLevel()) {
    // An embedded page belongs to its host's widgets, which may already have deleted it.
    frame_.release();
  }
}

void WindowView::Retire() {
  if (retired_) return;
  retired_ = true;
  for (ControlView& view : controls_) {
    if (view.widget != nullptr) view.widget->removeEventFilter(this);
  }
  for (const auto& [list, control] : openLists_) list->removeEventFilter(this);
  if (frame_ == nullptr) return;
  frame_->hide();
  if (!IsTopLevel()) {
    // Pages live in the host's widget tree; take them out of it with the view.
    frame_.release()->deleteLater();
  }
}

bool WindowView::CanDeliver() const {
  return !retired_ && !renderer_.Applying();
}

// ---------------------------------------------------------------------------------------------
// Building

void WindowView::BuildFrame() {
  content_ = nullptr;
  if (IsTopLevel()) {
    auto frame = std::make_unique<WindowFrame>();
    connect(frame.get(), &WindowFrame::closeRequested, this, [this] {
      if (CanDeliver()) ui::input::RequestClose(window_);
    });
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    frame_ = std::move(frame);
    auto* layout = MakeLayout<QVBoxLayout>(frame_.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
  } else {
    auto scroll = std::make_unique<QScrollArea>();
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Window);
    scroll_ = scroll.get();
    frame_ = std::move(scroll);
    frame_->hide();
  }
  frame_->installEventFilter(this);
  content_ = MakeChild<QWidget>(frame_.get());
  content_->setObjectName("client");
  content_->installEventFilter(this);
  content_->setFocusPolicy(Qt::NoFocus);
}

void WindowView::BuildControls() {
  const auto& controls = window_.Controls();
  controls_.reserve(controls.size());
  for (const auto& control : controls) {
    ControlView view;
    view.control = control.get();
    controls_.push_back(view);
    index_[control.get()] = controls_.size() - 1;
  }
  // An up-down whose buddy is a one-line edit is drawn with it as one spin widget.
  for (ControlView& view : controls_) {
    ui::Control& control = *view.control;
    if (control.Type() != ui::ControlType::UpDown) continue;
    ui::Control* buddy = control.Buddy();
    if (buddy == nullptr || buddy->Type() != ui::ControlType::Edit ||
        (buddy->Style() & kEditMultiLine) != 0) {
      continue;
    }
    ControlView* edit = Find(buddy);
    if (edit == nullptr || edit->partner != nullptr) continue;
    edit->partner = &control;
    edit->role = Role::SpinEditText;
    view.partner = buddy;
    view.role = Role::SpinArrows;
  }
  byRows_ = !controls_.empty();
  for (const ControlView& view : controls_) {
    if (view.control->Row() < 0) byRows_ = false;
  }
  resizable_ = IsTopLevel() && !byRows_ && renderer_.MayResize(window_);
  for (ControlView& view : controls_) CreateWidget(view);
  for (ControlView& view : controls_) {
    if (view.role == Role::SpinArrows) view.widget = Find(view.partner)->widget;
  }
  // Widgets carry their texts and items before the layout measures them.
  for (ControlView& view : controls_) SyncControl(view, true);
  if (byRows_) {
    LayOutByRows();
  } else {
    LayOutByCoordinates();
  }
  for (ControlView& view : controls_) {
    if (view.role != Role::SpinArrows) ConnectInput(view);
  }
}

void WindowView::CreateWidget(ControlView& view) {
  ui::Control& control = *view.control;
  QWidget* widget = nullptr;
  switch (control.Type()) {
    case ui::ControlType::Edit: {
      if (view.role == Role::SpinEditText) {
        auto* spin = MakeChild<SpinEdit>(content_);
        if ((control.Style() & kEditReadOnly) != 0) spin->setReadOnly(true);
        spin->setAlignment((control.Style() & kEditCenter) != 0  ? Qt::AlignCenter
                           : (control.Style() & kEditRight) != 0 ? Qt::AlignRight
                                                                 : Qt::AlignLeft);
        widget = spin;
      } else if ((control.Style() & kEditMultiLine) != 0) {
        view.role = Role::MultiLineEdit;
        auto* edit = MakeChild<QPlainTextEdit>(content_);
        edit->setReadOnly((control.Style() & kEditReadOnly) != 0);
        edit->setTabChangesFocus(true);
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        widget = edit;
      } else {
        view.role = Role::Edit;
        auto* edit = MakeChild<QLineEdit>(content_);
        if ((control.Style() & kEditReadOnly) != 0) {
          // A read-only field shows values; it should not look like it takes input.
          edit->setReadOnly(true);
          QPalette palette = edit->palette();
          palette.setColor(QPalette::Base, palette.color(QPalette::Window));
          edit->setPalette(palette);
        }
        if ((control.Style() & kEditPassword) != 0) edit->setEchoMode(QLineEdit::Password);
        if ((control.Style() & kEditCenter) != 0) edit->setAlignment(Qt::AlignCenter);
        if ((control.Style() & kEditRight) != 0) edit->setAlignment(Qt::AlignRight);
        widget = edit;
      }
      break;
    }
    case ui::ControlType::UpDown:
      if (view.role == Role::SpinArrows) return;
      view.role = Role::LoneUpDown;
      widget = MakeChild<SpinEdit>(content_);
      static_cast<SpinEdit*>(widget)->setReadOnly(true);
      break;
    case ui::ControlType::ComboBox: {
      view.role = Role::DropList;
      auto* combo = MakeChild<DropList>(content_);
      // In a laid-out row the list is as wide as its longest item; at an exact rectangle it
      // keeps the rectangle (a list adjusting to its items would resize itself).
      combo->setSizeAdjustPolicy(byRows_ ? QComboBox::AdjustToContents
                                         : QComboBox::AdjustToMinimumContentsLengthWithIcon);
      combo->setMinimumContentsLength(byRows_ ? 6 : 1);
      combo->setMaxVisibleItems(16);
      widget = combo;
      break;
    }
    case ui::ControlType::ListBox: {
      view.role = Role::ListBox;
      auto* list = MakeChild<QListWidget>(content_);
      list->setSelectionMode(QAbstractItemView::SingleSelection);
      list->setUniformItemSizes(true);
      widget = list;
      break;
    }
    case ui::ControlType::Button: {
      const std::uint32_t buttonStyle = control.Style() & ui::style::kButtonTypeMask;
      const QString text = ToQString(control.Text());
      if (buttonStyle == ui::style::kGroupBox) {
        view.role = Role::GroupBox;
        auto* box = MakeChild<QGroupBox>(content_, text);
        widget = box;
      } else if (buttonStyle == ui::style::kCheckBox || buttonStyle == ui::style::kAutoCheckBox ||
                 buttonStyle == ui::style::k3State || buttonStyle == ui::style::kAuto3State) {
        view.role = Role::CheckBox;
        auto* box = MakeChild<ManualCheckBox>(content_, text);
        box->setTristate(buttonStyle == ui::style::k3State ||
                         buttonStyle == ui::style::kAuto3State);
        widget = box;
      } else if (buttonStyle == ui::style::kRadioButton ||
                 buttonStyle == ui::style::kAutoRadioButton) {
        view.role = Role::RadioButton;
        widget = MakeChild<ManualRadioButton>(content_, text);
      } else {
        view.role = Role::PushButton;
        auto* button = MakeChild<QPushButton>(content_, text);
        button->setAutoDefault(false);
        button->setDefault(buttonStyle == ui::style::kDefPushButton);
        widget = button;
      }
      break;
    }
    case ui::ControlType::Static: {
      view.role = Role::Label;
      auto* label = MakeChild<QLabel>(content_);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      widget = label;
      break;
    }
    case ui::ControlType::Picture: {
      view.role = Role::Picture;
      auto* label = MakeChild<QLabel>(content_);
      // Bitmaps fill their rectangle (the status strip is a stretched colour); icons keep
      // their size and sit in the middle.
      const bool icon = (control.Style() & ui::style::kStaticTypeMask) == ui::style::kStaticIcon;
      label->setScaledContents(!icon);
      label->setAlignment(Qt::AlignCenter);
      widget = label;
      break;
    }
    case ui::ControlType::Progress: {
      view.role = Role::Progress;
      auto* bar = MakeChild<QProgressBar>(content_);
      bar->setTextVisible(false);
      widget = bar;
      break;
    }
    case ui::ControlType::Tab:
      view.role = Role::Tab;
      widget = MakeChild<TabHost>(content_);
      break;
    case ui::ControlType::Plot:
      view.role = Role::Plot;
      widget = MakeChild<PlotSurface>(content_);
      break;
  }
  if (widget == nullptr) return;
  widget->setObjectName(QString("control_%1").arg(control.Id()));
  view.widget = widget;
  owners_[widget] = &control;
  if (view.role == Role::Tab) owners_[static_cast<TabHost*>(widget)->Bar()] = &control;
  widget->installEventFilter(this);
}

void WindowView::ConnectInput(ControlView& view) {
  ui::Control* control = view.control;
  QWidget* widget = view.widget;
  if (widget == nullptr) return;
  switch (view.role) {
    case Role::Edit:
      connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, this,
              [this, control](const QString& text) {
                if (CanDeliver()) ui::input::TypeText(*control, FromQString(text));
              });
      break;
    case Role::MultiLineEdit: {
      auto* edit = static_cast<QPlainTextEdit*>(widget);
      connect(edit, &QPlainTextEdit::textChanged, this, [this, control, edit] {
        if (CanDeliver()) ui::input::TypeText(*control, FromDisplayText(edit->toPlainText()));
      });
      break;
    }
    case Role::SpinEditText: {
      auto* spin = static_cast<SpinEdit*>(widget);
      connect(spin->Editor(), &QLineEdit::textEdited, this, [this, control](const QString& text) {
        if (CanDeliver()) ui::input::TypeText(*control, FromQString(text));
      });
      ui::Control* arrows = view.partner;
      connect(spin, &SpinEdit::stepRequested, this, [this, arrows](int steps) {
        if (CanDeliver()) ui::input::Spin(*arrows, steps);
      });
      break;
    }
    case Role::LoneUpDown:
      connect(static_cast<SpinEdit*>(widget), &SpinEdit::stepRequested, this,
              [this, control](int steps) {
                if (CanDeliver()) ui::input::Spin(*control, steps);
              });
      break;
    case Role::DropList: {
      auto* combo = static_cast<DropList*>(widget);
      connect(combo, &QComboBox::activated, this, [this, control](int index) {
        if (CanDeliver()) ui::input::SelectItem(*control, index);
      });
      connect(combo, &DropList::popupChanged, this, [this, control](bool open) {
        if (CanDeliver()) ui::input::DropDown(*control, open);
      });
      // Keys pressed in the open list are key-downs on the list for the window too.
      combo->view()->installEventFilter(this);
      openLists_[combo->view()] = control;
      break;
    }
    case Role::ListBox:
      connect(static_cast<QListWidget*>(widget), &QListWidget::currentRowChanged, this,
              [this, control](int row) {
                if (CanDeliver() && row >= 0) ui::input::SelectItem(*control, row);
              });
      break;
    case Role::PushButton:
    case Role::CheckBox:
    case Role::RadioButton:
      connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
              [this, control] {
                if (CanDeliver()) ui::input::Click(*control);
              });
      break;
    case Role::Tab:
      connect(static_cast<TabHost*>(widget)->Bar(), &QTabBar::currentChanged, this,
              [this, control](int index) {
                if (CanDeliver() && index >= 0) ui::input::SelectTab(*control, index);
              });
      break;
    case Role::Plot: {
      auto* plot = static_cast<PlotSurface*>(widget);
      connect(plot, &PlotSurface::paintRequested, this, [this, control](QPainter& painter) {
        if (retired_) return;
        QtPainter adapter(painter);
        control->Paint(adapter);
      });
      connect(plot, &PlotSurface::mouse, this, [this, control](const ui::MouseEvent& event) {
        if (CanDeliver()) ui::input::Mouse(*control, event);
      });
      break;
    }
    case Role::SpinArrows:
    case Role::GroupBox:
    case Role::Label:
    case Role::Picture:
    case Role::Progress:
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Layout

void WindowView::LayOutByCoordinates() {
  const ui::Rect client = window_.Geometry();
  int width = client.width;
  int height = client.height;
  for (ControlView& view : controls_) {
    if (view.widget == nullptr || view.role == Role::SpinArrows) continue;
    ui::Rect rect = view.control->Geometry();
    if (view.role == Role::SpinEditText) {
      // The pair occupies the edit's and the up-down's rectangles together.
      const ui::Rect arrows = view.partner->Geometry();
      if (arrows.width > 0 && arrows.top < rect.Bottom() && rect.top < arrows.Bottom()) {
        const int right = std::max(rect.Right(), arrows.Right());
        rect.left = std::min(rect.left, arrows.left);
        rect.width = right - rect.left;
      }
    }
    if (view.role == Role::DropList) {
      // A drop-down list's rectangle includes its open list; the closed box is one line.
      rect.height = std::min(rect.height, view.widget->sizeHint().height());
    }
    view.widget->setGeometry(rect.left, rect.top, rect.width, rect.height);
    if (view.role == Role::GroupBox) view.widget->lower();
    width = std::max(width, rect.Right());
    height = std::max(height, rect.Bottom());
  }
  if (resizable_) {
    content_->setMinimumSize(std::min(width, 160), std::min(height, 120));
    content_->resize(width, height);
  } else {
    content_->setFixedSize(width, height);
  }
  if (IsTopLevel()) {
    frame_->layout()->addWidget(content_);
  } else {
    scroll_->setWidget(content_);
    scroll_->setWidgetResizable(false);
  }
}

void WindowView::LayOutByRows() {
  auto* outer = MakeLayout<QVBoxLayout>(content_);
  outer->setContentsMargins(12, 10, 12, 12);
  outer->setSpacing(8);
  auto ownedGrid = std::make_unique<QGridLayout>();
  QGridLayout* grid = ownedGrid.get();
  outer->addLayout(ownedGrid.release());
  std::vector<QWidget*> boxes;
  FillGrid(*grid, -1, &boxes);
  // Sizes are only final once the style has seen every widget.
  content_->ensurePolished();
  AlignColumns(kWidestSharedInput);
  // Groups stack in one column; when that would not fit the screen they share two columns,
  // in template order, the first column taking groups until it holds about half. Narrower
  // shared inputs may be what makes two columns fit.
  int total = 0;
  for (QWidget* box : boxes) total += box->sizeHint().height() + outer->spacing();
  auto widestBox = [&boxes] {
    int widest = 0;
    for (QWidget* box : boxes) widest = std::max(widest, box->minimumSizeHint().width());
    return widest;
  };
  const int overhead = 12 + 24 + kScrollBarAllowance + kPaneAllowance;
  const bool tall = boxes.size() >= 2 && total > kMaxClientHeight;
  int widest = widestBox();
  if (tall && 2 * widest + overhead > AvailableWidth()) {
    const int excess = (2 * widest + overhead - AvailableWidth() + 1) / 2;
    if (excess <= kWidestSharedInput - kNarrowestSharedInput) {
      AlignColumns(kWidestSharedInput - excess);
      widest = widestBox();
      if (2 * widest + overhead > AvailableWidth()) AlignColumns(kWidestSharedInput);
    }
  }
  const bool twoColumns = tall && 2 * widestBox() + overhead <= AvailableWidth();
  auto ownedColumns = std::make_unique<QHBoxLayout>();
  QHBoxLayout* columns = ownedColumns.get();
  columns->setSpacing(12);
  outer->addLayout(ownedColumns.release(), 1);
  auto makeColumn = [columns, outer] {
    auto column = std::make_unique<QVBoxLayout>();
    column->setSpacing(outer->spacing());
    QVBoxLayout* raw = column.get();
    columns->addLayout(column.release(), 1);
    return raw;
  };
  QVBoxLayout* column = makeColumn();
  int used = 0;
  for (QWidget* box : boxes) {
    const int height = box->sizeHint().height() + outer->spacing();
    if (twoColumns && columns->count() == 1 && used > 0 && used + height / 2 > total / 2) {
      column->addStretch(1);
      column = makeColumn();
    }
    column->addWidget(box);
    used += height;
  }
  column->addStretch(1);
  if (twoColumns && content_->minimumSizeHint().width() + kScrollBarAllowance + kPaneAllowance >
                        AvailableWidth()) {
    // The columns came out wider than their parts suggested: one column after all.
    QLayoutItem* second = columns->takeAt(1);
    std::unique_ptr<QLayoutItem> secondColumn(second);
    QVBoxLayout* first = static_cast<QVBoxLayout*>(columns->itemAt(0)->layout());
    auto* moved = static_cast<QVBoxLayout*>(second->layout());
    std::unique_ptr<QLayoutItem> stretch(first->takeAt(first->count() - 1));
    while (moved->count() > 0) {
      std::unique_ptr<QLayoutItem> item(moved->takeAt(0));
      if (item->widget() != nullptr) first->addWidget(item->widget());
    }
    first->addStretch(1);
  } else if (twoColumns && scroll_ != nullptr) {
    // The columns fit the page's width (checked above); only the height may scroll.
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  if (IsTopLevel()) {
    if (content_->sizeHint().height() > kMaxClientHeight) {
      auto* scroll = MakeChild<QScrollArea>(frame_.get());
      scroll->setFrameShape(QFrame::NoFrame);
      scroll->setWidgetResizable(true);
      scroll->setWidget(content_);
      scroll->setMinimumHeight(std::min(content_->sizeHint().height(), kMaxClientHeight));
      scroll->setMinimumWidth(content_->sizeHint().width() +
                              scroll->verticalScrollBar()->sizeHint().width());
      scroll_ = scroll;
      frame_->layout()->addWidget(scroll);
    } else {
      frame_->layout()->addWidget(content_);
    }
  } else {
    scroll_->setWidget(content_);
  }
}

void WindowView::FillGrid(QGridLayout& grid, int groupIndex, std::vector<QWidget*>* boxes) {
  grid.setHorizontalSpacing(10);
  grid.setVerticalSpacing(6);
  // Rows of this container in order, each with its cells in column order.
  std::map<int, std::vector<ControlView*>> rows;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    ControlView& view = controls_[i];
    if (view.control->GroupIndex() != groupIndex || view.widget == nullptr ||
        view.role == Role::SpinArrows) {
      continue;
    }
    rows[view.control->Row()].push_back(&view);
  }
  for (auto& [row, cells] : rows) {
    std::stable_sort(cells.begin(), cells.end(), [](const ControlView* a, const ControlView* b) {
      return a->control->Column() < b->control->Column();
    });
  }
  // Rows that start with a caption put their inputs in a column of their own; the other rows
  // line their controls up with those inputs.
  auto isCaptionRow = [](const std::vector<ControlView*>& cells) {
    return cells.size() > 1 && cells.front()->role == Role::Label &&
           cells.front()->control->Column() == 0;
  };
  // An empty text that holds open the column an up-down takes in other rows takes no place:
  // here the up-down is drawn inside its edit. Other empty texts keep their column.
  std::set<int> arrowColumns;
  for (const ControlView& view : controls_) {
    if (view.role == Role::SpinArrows && view.control->GroupIndex() == groupIndex) {
      arrowColumns.insert(view.control->Column());
    }
  }
  auto isSpacer = [&arrowColumns](const ControlView& cell) {
    return cell.role == Role::Label && cell.control->Id() == -1 && cell.control->Text().empty() &&
           cell.control->Column() > 0 && arrowColumns.count(cell.control->Column()) != 0;
  };
  auto isWide = [](const std::vector<ControlView*>& cells) {
    const Role role = cells.front()->role;
    return cells.size() == 1 && (role == Role::GroupBox || role == Role::Label ||
                                 role == Role::ListBox || role == Role::MultiLineEdit ||
                                 role == Role::Plot || role == Role::Tab || role == Role::Progress);
  };
  bool labelled = false;
  int inputColumns = 1;
  for (const auto& [row, cells] : rows) {
    const bool caption = isCaptionRow(cells);
    labelled = labelled || caption;
    // Buttons beside an input do not make it a group of several inputs a row.
    int inputs = 0;
    for (const ControlView* cell : cells) {
      inputs += isSpacer(*cell) || IsOwnWidth(*cell) ? 0 : 1;
    }
    inputColumns = std::max(inputColumns, inputs - (caption ? 1 : 0));
  }
  const int firstInput = labelled ? 1 : 0;
  // A row's controls take the grid columns one after another; an up-down drawn inside its
  // edit and a spacer keeping its column open in the template take none, so that the inputs
  // of rows with and without up-downs line up.
  int span = firstInput + 1;
  for (const auto& [row, cells] : rows) {
    if (isWide(cells)) continue;
    int column = isCaptionRow(cells) ? 0 : firstInput;
    for (const ControlView* cell : cells) column += isSpacer(*cell) ? 0 : 1;
    span = std::max(span, column);
  }
  if (labelled) labelledGrids_.push_back(LabelledGrid{&grid, inputColumns, nesting_});
  // A row of buttons alone, in a group without inputs, sits together at its start.
  bool anyInput = false;
  for (const auto& [row, cells] : rows) {
    for (const ControlView* cell : cells) {
      anyInput = anyInput ||
                 !(IsOwnWidth(*cell) || cell->role == Role::Label || cell->role == Role::GroupBox);
    }
  }
  int gridRow = 0;
  for (const auto& [row, cells] : rows) {
    const ControlView& first = *cells.front();
    if (cells.size() == 1 && first.role == Role::GroupBox) {
      auto* box = static_cast<QGroupBox*>(first.widget);
      auto* inner = MakeLayout<QGridLayout>(box);
      inner->setContentsMargins(10, 8, 10, 10);
      const int boxIndex = static_cast<int>(index_.at(first.control));
      if (boxes == nullptr) ++nesting_;
      FillGrid(*inner, boxIndex, nullptr);
      if (boxes == nullptr) --nesting_;
      if (boxes != nullptr) {
        boxes->push_back(box);
      } else {
        grid.addWidget(box, gridRow++, 0, 1, span + 1);
      }
      continue;
    }
    if (isWide(cells)) {
      grid.addWidget(first.widget, gridRow++, 0, 1, span + 1);
      continue;
    }
    int column = isCaptionRow(cells) ? -1 : firstInput - 1;
    const std::size_t firstCell = isCaptionRow(cells) ? 1 : 0;
    const bool buttonsOnly =
        !anyInput && cells.size() - firstCell >= 2 &&
        std::all_of(cells.begin() + static_cast<std::ptrdiff_t>(firstCell), cells.end(),
                    [](const ControlView* cell) { return cell->role == Role::PushButton; });
    if (buttonsOnly) {
      if (firstCell == 1)
        grid.addWidget(first.widget, gridRow, 0, Qt::AlignLeft | Qt::AlignVCenter);
      auto buttons = std::make_unique<QHBoxLayout>();
      buttons->setSpacing(6);
      for (std::size_t i = firstCell; i < cells.size(); ++i) buttons->addWidget(cells[i]->widget);
      buttons->addStretch(1);
      const int start = column + 1;
      grid.addLayout(buttons.release(), gridRow++, start, 1, std::max(1, span - start));
      continue;
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const ControlView* cell = cells[i];
      if (isSpacer(*cell)) {
        cell->widget->hide();
        continue;
      }
      ++column;
      // Inputs fill their column (so that a column of inputs has one width); captions,
      // buttons and check boxes keep their own width, and the last of a row may reach into
      // the columns after it rather than widening its own for the rows below.
      const bool last = i + 1 == cells.size();
      if (IsOwnWidth(*cell) || cell->role == Role::Label ||
          (last && column + 1 < span && inputColumns > 1)) {
        const int columnSpan = last ? std::max(1, span - column) : 1;
        grid.addWidget(cell->widget, gridRow, column, 1, columnSpan,
                       Qt::AlignLeft | Qt::AlignVCenter);
      } else {
        grid.addWidget(cell->widget, gridRow, column, Qt::AlignVCenter);
      }
    }
    ++gridRow;
  }
  // The spare width goes to an empty last column.
  grid.setColumnStretch(span, 1);
}

void WindowView::AlignColumns(int sharedInputCap) {
  // Captions of every group share one width, and so do the first inputs, so that the groups
  // of a page line up with each other.
  int captions = 0;
  int inputs = 0;
  for (const LabelledGrid& entry : labelledGrids_) {
    QGridLayout* grid = entry.grid;
    for (int i = 0; i < grid->count(); ++i) {
      int row = 0;
      int column = 0;
      int rowSpan = 0;
      int columnSpan = 0;
      grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
      QWidget* widget = grid->itemAt(i)->widget();
      if (widget == nullptr || columnSpan != 1 || widget->isHidden()) continue;
      if (column == 0 && qobject_cast<QLabel*>(widget) != nullptr) {
        captions = std::max(captions, widget->sizeHint().width());
      } else if (column == 1 && entry.inputColumns == 1) {
        inputs = std::max(inputs, widget->sizeHint().width());
      }
    }
  }
  // Groups with several inputs a row keep their natural widths.
  inputs = std::min(inputs, sharedInputCap);
  for (const LabelledGrid& entry : labelledGrids_) {
    // A group inside a group starts further right by its frame and margin.
    entry.grid->setColumnMinimumWidth(0, std::max(0, captions - kNestedIndent * entry.nesting));
    if (entry.inputColumns == 1) entry.grid->setColumnMinimumWidth(1, inputs);
  }
}

int WindowView::AvailableWidth() const {
  // A page gets the inside of its host's tab control; a window what its template asks for,
  // and never more than a 1366-pixel screen.
  if (host_ != nullptr) {
    for (const ControlView& view : host_->controls_) {
      if (view.role == Role::Tab) return view.control->DisplayArea().width;
    }
    return host_->window_.Geometry().width;
  }
  return std::max(window_.Geometry().width, 1366 - 40);
}

void WindowView::SetTabOrder() {
  QWidget* previous = nullptr;
  for (const ControlView& view : controls_) {
    if (view.widget == nullptr || view.role == Role::SpinArrows) continue;
    QWidget* target =
        view.role == Role::Tab ? static_cast<TabHost*>(view.widget)->Bar() : view.widget;
    if (target->focusPolicy() == Qt::NoFocus) continue;
    if (previous != nullptr) QWidget::setTabOrder(previous, target);
    previous = target;
  }
}

void WindowView::EmbedPage(WindowView& page) {
  QWidget* frame = page.Frame();
  if (TabHost* tabs = FirstTabHost()) {
    tabs->AddPage(frame);
  } else {
    frame->setParent(content_);
    const ui::Rect rect = page.Window().Geometry();
    frame->setGeometry(rect.left, rect.top, rect.width, rect.height);
  }
  frame->setVisible(page.Window().IsVisible());
}

TabHost* WindowView::FirstTabHost() const {
  for (const ControlView& view : controls_) {
    if (view.role == Role::Tab) return static_cast<TabHost*>(view.widget);
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Menu

void WindowView::BuildMenu() {
  if (!IsTopLevel() || !window_.HasMenu()) return;
  menuBar_ = MakeChild<QMenuBar>(frame_.get());
  static_cast<QVBoxLayout*>(frame_->layout())->setMenuBar(menuBar_);
  menuActions_.clear();
  for (const ui::MenuItem& item : window_.MenuBar()) {
    if (item.separator) {
      menuActions_.push_back(menuBar_->addSeparator());
    } else if (item.popup || !item.children.empty()) {
      QMenu* menu = menuBar_->addMenu(ToQString(item.text));
      menuActions_.push_back(menu->menuAction());
      BuildMenuLevel(menu, item.children);
    } else {
      QAction* action = menuBar_->addAction(ToQString(item.text));
      const int id = item.commandId;
      connect(action, &QAction::triggered, this, [this, id] {
        if (CanDeliver()) ui::input::ChooseMenu(window_, id);
      });
      menuActions_.push_back(action);
    }
  }
  SyncMenu();
}

void WindowView::BuildMenuLevel(QMenu* menu, const std::vector<ui::MenuItem>& items) {
  for (const ui::MenuItem& item : items) {
    if (item.separator) {
      menuActions_.push_back(menu->addSeparator());
    } else if (item.popup || !item.children.empty()) {
      QMenu* sub = menu->addMenu(ToQString(item.text));
      menuActions_.push_back(sub->menuAction());
      BuildMenuLevel(sub, item.children);
    } else {
      QAction* action = menu->addAction(ToQString(item.text));
      const int id = item.commandId;
      connect(action, &QAction::triggered, this, [this, id] {
        if (CanDeliver()) ui::input::ChooseMenu(window_, id);
      });
      menuActions_.push_back(action);
    }
  }
}

void WindowView::SyncMenu() {
  if (menuBar_ == nullptr) return;
  // The actions were made in a walk over the items; the same walk finds each one's state.
  std::size_t next = 0;
  std::function<void(const std::vector<ui::MenuItem>&)> walk =
      [&](const std::vector<ui::MenuItem>& items) {
        for (const ui::MenuItem& item : items) {
          if (next >= menuActions_.size()) return;
          QAction* action = menuActions_[next++];
          if (!item.separator) action->setEnabled(!item.grayed);
          if (item.popup || !item.children.empty()) walk(item.children);
        }
      };
  walk(window_.MenuBar());
}

// ---------------------------------------------------------------------------------------------
// Model to widgets

WindowView::ControlView* WindowView::Find(const ui::Control* control) {
  auto it = index_.find(control);
  return it == index_.end() ? nullptr : &controls_[it->second];
}

ui::Control* WindowView::ControlOfWidget(const QObject* object) const {
  auto it = owners_.find(object);
  return it == owners_.end() ? nullptr : it->second;
}

QWidget* WindowView::WidgetOf(const ui::Control& control) const {
  auto it = index_.find(&control);
  return it == index_.end() ? nullptr : controls_[it->second].widget;
}

void WindowView::SyncWindow() {
  if (IsTopLevel()) {
    frame_->setWindowTitle(ToQString(window_.Title()));
    if (window_.Icon() != nullptr) {
      frame_->setWindowIcon(QIcon(QPixmap::fromImage(ImageOf(*window_.Icon()))));
    }
  }
  // A disabled window keeps its look; the renderer's input gate keeps the operator out.
  ShowFrame(window_.IsVisible());
}

void WindowView::ShowFrame(bool show) {
  if (!IsTopLevel()) {
    frame_->setVisible(show);
    return;
  }
  if (!show) {
    frame_->hide();
    return;
  }
  if (!placed_) {
    placed_ = true;
    frame_->adjustSize();
    if (resizable_) {
      const ui::Rect client = window_.Geometry();
      const int menu = menuBar_ != nullptr ? menuBar_->sizeHint().height() : 0;
      frame_->resize(client.width, client.height + menu);
    } else if (!byRows_) {
      frame_->setFixedSize(frame_->sizeHint());
    } else if (frame_->width() < window_.Geometry().width) {
      frame_->resize(window_.Geometry().width, frame_->height());
    }
    const ui::Rect rect = window_.Geometry();
    QWidget* owner = nullptr;
    if (window_.Parent() != nullptr) owner = renderer_.WidgetOf(window_.Parent()->TopLevel());
    if (owner != nullptr) {
      frame_->winId();
      owner->winId();
      if (frame_->windowHandle() != nullptr && owner->windowHandle() != nullptr) {
        frame_->windowHandle()->setTransientParent(owner->windowHandle());
      }
    }
    if (rect.left != 0 || rect.top != 0) {
      frame_->move(rect.left, rect.top);
    } else {
      const QRect area = owner != nullptr && owner->isVisible()
                             ? owner->frameGeometry()
                             : (QGuiApplication::primaryScreen() != nullptr
                                    ? QGuiApplication::primaryScreen()->availableGeometry()
                                    : QRect(0, 0, 1366, 768));
      QRect placed(QPoint(0, 0), frame_->size());
      placed.moveCenter(area.center());
      frame_->move(placed.topLeft());
    }
  }
  frame_->show();
  frame_->raise();
}

void WindowView::SyncItems(ControlView& view) {
  const ui::Control& control = *view.control;
  QStringList texts;
  for (const ui::ListItem& item : control.Items()) texts.push_back(ToQString(item.text));
  switch (view.role) {
    case Role::DropList: {
      auto* combo = static_cast<QComboBox*>(view.widget);
      QStringList current;
      for (int i = 0; i < combo->count(); ++i) current.push_back(combo->itemText(i));
      if (current != texts) {
        combo->clear();
        combo->addItems(texts);
      }
      break;
    }
    case Role::ListBox: {
      auto* list = static_cast<QListWidget*>(view.widget);
      QStringList current;
      for (int i = 0; i < list->count(); ++i) current.push_back(list->item(i)->text());
      if (current != texts) {
        list->clear();
        list->addItems(texts);
      }
      break;
    }
    case Role::Tab: {
      QTabBar* bar = static_cast<TabHost*>(view.widget)->Bar();
      const QSignalBlocker barBlocker(bar);
      while (bar->count() > texts.size()) bar->removeTab(bar->count() - 1);
      for (int i = 0; i < texts.size(); ++i) {
        if (i < bar->count()) {
          bar->setTabText(i, LabelText(texts[i].toStdString()));
        } else {
          bar->addTab(LabelText(texts[i].toStdString()));
        }
      }
      bar->updateGeometry();
      break;
    }
    default:
      break;
  }
}

void WindowView::ApplyItemChange(ControlView& view, ui::Change what, int index) {
  // Long lists (the terminal log) change one item at a time; only that item is touched.
  const std::vector<ui::ListItem>& items = view.control->Items();
  const bool known = index >= 0 && index < static_cast<int>(items.size());
  const QString text = known ? ToQString(items[static_cast<std::size_t>(index)].text) : QString();
  const QSignalBlocker blocker(view.widget);
  switch (view.role) {
    case Role::DropList: {
      auto* combo = static_cast<QComboBox*>(view.widget);
      if (what == ui::Change::ItemInserted && known && index <= combo->count()) {
        combo->insertItem(index, text);
      } else if (what == ui::Change::ItemDeleted && index >= 0 && index < combo->count()) {
        combo->removeItem(index);
      } else if (what == ui::Change::ItemChanged && known && index < combo->count()) {
        combo->setItemText(index, text);
      } else {
        SyncItems(view);
      }
      break;
    }
    case Role::ListBox: {
      auto* list = static_cast<QListWidget*>(view.widget);
      if (what == ui::Change::ItemInserted && known && index <= list->count()) {
        list->insertItem(index, text);
      } else if (what == ui::Change::ItemDeleted && index >= 0 && index < list->count()) {
        std::unique_ptr<QListWidgetItem> gone(list->takeItem(index));
      } else if (what == ui::Change::ItemChanged && known && index < list->count()) {
        list->item(index)->setText(text);
      } else {
        SyncItems(view);
      }
      break;
    }
    case Role::Tab: {
      QTabBar* bar = static_cast<TabHost*>(view.widget)->Bar();
      const QSignalBlocker barBlocker(bar);
      const QString caption = LabelText(FromQString(text));
      if (what == ui::Change::ItemInserted && known && index <= bar->count()) {
        bar->insertTab(index, caption);
      } else if (what == ui::Change::ItemDeleted && index >= 0 && index < bar->count()) {
        bar->removeTab(index);
      } else if (what == ui::Change::ItemChanged && known && index < bar->count()) {
        bar->setTabText(index, caption);
      } else {
        SyncItems(view);
      }
      // A hidden tab bar does not tell its layout that its height changed.
      bar->updateGeometry();
      break;
    }
    default:
      break;
  }
}

void WindowView::SyncControl(ControlView& view, bool items) {
  QWidget* widget = view.widget;
  if (widget == nullptr) return;
  ui::Control& control = *view.control;
  const QSignalBlocker blocker(widget);
  if (view.role == Role::SpinArrows) {
    // The up-down half of a spin pair: only its enabled and shown state are visible.
    auto* spin = static_cast<SpinEdit*>(widget);
    spin->SetArrowsEnabled(control.IsEnabled());
    spin->setButtonSymbols(control.IsVisible() ? QAbstractSpinBox::UpDownArrows
                                               : QAbstractSpinBox::NoButtons);
    return;
  }
  widget->setEnabled(control.IsEnabled());
  widget->setHidden(!control.IsVisible());
  if (items) SyncItems(view);
  switch (view.role) {
    case Role::Edit: {
      auto* edit = static_cast<QLineEdit*>(widget);
      const QString text = ToQString(control.Text());
      if (edit->text() != text) edit->setText(text);
      break;
    }
    case Role::MultiLineEdit: {
      auto* edit = static_cast<QPlainTextEdit*>(widget);
      const QString text = ToDisplayText(control.Text());
      const QString shown = edit->toPlainText();
      if (shown == text) break;
      QScrollBar* bar = edit->verticalScrollBar();
      const bool atEnd = bar->value() == bar->maximum();
      if (text.startsWith(shown) && !shown.isEmpty()) {
        // Logs grow at the end; append instead of replacing everything.
        QTextCursor cursor(edit->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(text.mid(shown.size()));
      } else {
        edit->setPlainText(text);
      }
      if (atEnd) bar->setValue(bar->maximum());
      break;
    }
    case Role::SpinEditText: {
      auto* spin = static_cast<SpinEdit*>(widget);
      const QSignalBlocker editBlocker(spin->Editor());
      const QString text = ToQString(control.Text());
      if (spin->Editor()->text() != text) spin->Editor()->setText(text);
      if (view.partner != nullptr) {
        spin->SetArrowsEnabled(view.partner->IsEnabled());
        spin->setButtonSymbols(view.partner->IsVisible() ? QAbstractSpinBox::UpDownArrows
                                                         : QAbstractSpinBox::NoButtons);
      }
      break;
    }
    case Role::LoneUpDown: {
      auto* spin = static_cast<SpinEdit*>(widget);
      spin->Editor()->setText(QString::number(control.StoredPosition()));
      break;
    }
    case Role::DropList: {
      auto* combo = static_cast<DropList*>(widget);
      if (combo->currentIndex() != control.Selection()) combo->setCurrentIndex(control.Selection());
      if (!control.IsDroppedDown() && combo->view()->isVisible()) combo->hidePopup();
      break;
    }
    case Role::ListBox: {
      auto* list = static_cast<QListWidget*>(widget);
      if (list->currentRow() != control.Selection()) {
        list->setCurrentRow(control.Selection());
        if (control.Selection() < 0) list->clearSelection();
      }
      break;
    }
    case Role::PushButton:
    case Role::GroupBox: {
      const QString text = ToQString(control.Text());
      if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(text);
        // Laid-out buttons get room around their text (the style's minimum is tight).
        if (byRows_) button->setMinimumWidth(button->fontMetrics().horizontalAdvance(text) + 28);
      }
      if (auto* box = qobject_cast<QGroupBox*>(widget)) box->setTitle(text);
      break;
    }
    case Role::CheckBox:
    case Role::RadioButton: {
      auto* button = static_cast<QAbstractButton*>(widget);
      button->setText(ToQString(control.Text()));
      if (auto* box = qobject_cast<QCheckBox*>(button)) {
        box->setCheckState(ToCheckState(control.CheckState()));
      } else {
        button->setChecked(control.CheckState() != 0);
      }
      break;
    }
    case Role::Label:
      static_cast<QLabel*>(widget)->setText(LabelText(control.Text()));
      break;
    case Role::Picture: {
      auto* label = static_cast<QLabel*>(widget);
      if (control.Image() != nullptr) {
        label->setPixmap(QPixmap::fromImage(ImageOf(*control.Image())));
      } else {
        label->clear();
      }
      break;
    }
    case Role::Progress: {
      auto* bar = static_cast<QProgressBar*>(widget);
      bar->setRange(std::min(control.RangeMin(), control.RangeMax()),
                    std::max(control.RangeMin(), control.RangeMax()));
      bar->setValue(control.StoredPosition());
      break;
    }
    case Role::Tab: {
      QTabBar* bar = static_cast<TabHost*>(widget)->Bar();
      const QSignalBlocker barBlocker(bar);
      if (bar->currentIndex() != control.Selection() && control.Selection() < bar->count()) {
        bar->setCurrentIndex(control.Selection());
      }
      break;
    }
    case Role::Plot:
      widget->update();
      break;
    case Role::SpinArrows:
      break;
  }
}

void WindowView::Apply(const ui::ChangeNotice& notice) {
  if (retired_) return;
  if (notice.control != nullptr) {
    ControlView* view = Find(notice.control);
    if (view == nullptr) return;
    switch (notice.what) {
      case ui::Change::Geometry:
        if (!byRows_ && view->widget != nullptr && view->role != Role::SpinArrows) {
          const ui::Rect r = notice.control->Geometry();
          view->widget->setGeometry(r.left, r.top, r.width, r.height);
        }
        return;
      case ui::Change::DroppedDown:
        if (view->role == Role::DropList) {
          auto* combo = static_cast<DropList*>(view->widget);
          const QSignalBlocker blocker(combo);
          if (notice.control->IsDroppedDown() && !combo->view()->isVisible() &&
              combo->isVisible()) {
            combo->showPopup();
          } else if (!notice.control->IsDroppedDown() && combo->view()->isVisible()) {
            combo->hidePopup();
          }
        }
        return;
      case ui::Change::Repaint:
        if (view->widget != nullptr) view->widget->update();
        return;
      case ui::Change::UserData:
        return;
      case ui::Change::ItemInserted:
      case ui::Change::ItemDeleted:
      case ui::Change::ItemChanged:
        ApplyItemChange(*view, notice.what, notice.index);
        SyncControl(*view, false);
        return;
      default:
        SyncControl(*view, notice.what == ui::Change::Items);
        // The edit of a spin pair also shows its partner's state.
        if (view->partner != nullptr && view->role == Role::SpinArrows) {
          if (ControlView* edit = Find(view->partner)) SyncControl(*edit, false);
        }
        return;
    }
  }
  switch (notice.what) {
    case ui::Change::Visibility:
    case ui::Change::Enabled:
    case ui::Change::Title:
    case ui::Change::Icon:
      SyncWindow();
      return;
    case ui::Change::Menu:
      SyncMenu();
      return;
    case ui::Change::Geometry: {
      const ui::Rect rect = window_.Geometry();
      if (IsTopLevel()) {
        if (rect.left != 0 || rect.top != 0) frame_->move(rect.left, rect.top);
        ApplyClientSize();
      } else if (host_->FirstTabHost() == nullptr) {
        frame_->setGeometry(rect.left, rect.top, rect.width, rect.height);
      }
      return;
    }
    case ui::Change::Activated:
      if (IsTopLevel() && frame_->isVisible()) {
        frame_->raise();
        frame_->activateWindow();
      }
      return;
    case ui::Change::Focus: {
      ControlView* view = Find(window_.GetControl(window_.FocusId()));
      if (view != nullptr && view->widget != nullptr && !view->widget->hasFocus()) {
        view->widget->setFocus(Qt::OtherFocusReason);
      }
      return;
    }
    default:
      return;
  }
}

void WindowView::ApplyClientSize() {
  // The program sized the window; a window laid out by rows sizes itself.
  if (byRows_) return;
  const ui::Rect rect = window_.Geometry();
  const QSize wanted(rect.width, rect.height);
  if (wanted.isEmpty() || content_->size() == wanted) return;
  if (resizable_) {
    frame_->resize(frame_->size() + (wanted - content_->size()));
    return;
  }
  content_->setFixedSize(wanted);
  frame_->setMinimumSize(0, 0);
  frame_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  frame_->layout()->activate();
  frame_->setFixedSize(frame_->sizeHint());
}

// ---------------------------------------------------------------------------------------------
// Operator input that is not a widget signal: keys and leaving an edit.

bool WindowView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == content_) {
    const ui::Rect client = window_.Geometry();
    if (resizable_ && CanDeliver() && frame_->isVisible() &&
        (content_->width() != client.width || content_->height() != client.height)) {
      ui::input::Resize(window_, content_->width(), content_->height());
    }
    return false;
  }
  if (event->type() == QEvent::KeyPress) {
    if (!CanDeliver()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const int code = VirtualKeyOf(key->key());
    if (code == 0 || (key->modifiers() & Qt::AltModifier) != 0) return false;
    if (auto list = openLists_.find(watched); list != openLists_.end()) {
      // The open list itself picks or closes with Enter and Escape (reported as a selection
      // and as closing); every other key is also the window's key-down.
      if (code != ui::vk::kEnter && code != ui::vk::kEscape) {
        ui::input::PressKey(
            window_, list->second, code,
            (key->modifiers() & Qt::ShiftModifier) != 0 || key->key() == Qt::Key_Shift,
            (key->modifiers() & Qt::ControlModifier) != 0 || key->key() == Qt::Key_Control);
      }
      return false;
    }
    // A key the focused widget leaves travels up to its parents; it is one key-down, taken
    // at the control that has the focus, or at the window's frame when no control has it.
    QWidget* focus = QApplication::focusWidget();
    ui::Control* control = ControlOfWidget(watched);
    if (control != nullptr) {
      if (watched != focus) return false;
    } else if (watched == frame_.get()) {
      for (const QWidget* w = focus; w != nullptr && w != frame_.get(); w = w->parentWidget()) {
        // Taken already by a control, or by a page inside this window.
        if (ControlOfWidget(w) != nullptr || renderer_.IsWindowFrame(w)) return false;
      }
    } else {
      return false;
    }
    const bool shift = (key->modifiers() & Qt::ShiftModifier) != 0 || key->key() == Qt::Key_Shift;
    const bool ctrl =
        (key->modifiers() & Qt::ControlModifier) != 0 || key->key() == Qt::Key_Control;
    const bool enterOrEscape = code == ui::vk::kEnter || code == ui::vk::kEscape;
    const bool wantsReturn = control != nullptr && code == ui::vk::kEnter &&
                             control->Type() == ui::ControlType::Edit &&
                             (control->Style() & (kEditMultiLine | kEditWantReturn)) ==
                                 (kEditMultiLine | kEditWantReturn);
    ui::input::PressKey(window_, control, code, shift, ctrl);
    // Enter and Escape belong to the window's own key handling (apply an edit, OK, Cancel);
    // other keys also do their usual work in the widget. At the frame the key has been
    // everywhere below already.
    return control == nullptr || (enterOrEscape && !wantsReturn);
  }
  if (event->type() == QEvent::FocusOut) {
    if (!CanDeliver()) return false;
    auto* focus = static_cast<QFocusEvent*>(event);
    ui::Control* control = ControlOfWidget(watched);
    if (control == nullptr || control->Type() != ui::ControlType::Edit) return false;
    // Switching to another application or opening a menu leaves the edit where it is.
    if (focus->reason() == Qt::ActiveWindowFocusReason || focus->reason() == Qt::PopupFocusReason ||
        focus->reason() == Qt::MenuBarFocusReason) {
      return false;
    }
    ui::input::CommitEdit(*control);
    return false;
  }
  if (event->type() == QEvent::FocusIn) {
    if (!CanDeliver()) return false;
    ui::Control* control = ControlOfWidget(watched);
    if (control != nullptr && control->Id() != -1) control->Owner().SetFocus(control->Id());
    return false;
  }
  return false;
}

}  // namespace qx::qt
