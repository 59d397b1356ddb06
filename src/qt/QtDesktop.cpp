#include "qt/QtDesktop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <thread>

#include "qt/Conversions.h"
#include "qt/Renderer.h"
#include "ui/Event.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace qx::qt {
namespace {

bool LoopDone(const ui::WindowSystem& system, ui::Window* window) {
  return !system.IsAlive(window) || !window->Exists() || window->HasEnded();
}

}  // namespace

QtDesktop::QtDesktop(Renderer& renderer) : renderer_(renderer) {
  renderer_.Windows().AddObserver(*this);
}

QtDesktop::~QtDesktop() {
  renderer_.Windows().RemoveObserver(*this);
  if (waitCursor_) QApplication::restoreOverrideCursor();
}

QWidget* QtDesktop::OwnerWidget(ui::Window* owner) const {
  if (owner == nullptr || !renderer_.Windows().IsAlive(owner) || !owner->Exists()) {
    return QApplication::activeWindow();
  }
  QWidget* widget = renderer_.WidgetOf(owner->TopLevel());
  if (widget == nullptr || !widget->isVisible()) return QApplication::activeWindow();
  return widget;
}

void ConfigureMessageBox(QMessageBox& box, const std::string& text, const std::string& caption,
                         ui::MessageIcon icon, ui::MessageButtons buttons) {
  box.setText(ToQString(text));
  box.setWindowTitle(ToQString(caption));
  switch (icon) {
    case ui::MessageIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case ui::MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case ui::MessageIcon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case ui::MessageIcon::Stop:
      box.setIcon(QMessageBox::Critical);
      break;
    case ui::MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
  }
  switch (buttons) {
    case ui::MessageButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      box.setDefaultButton(QMessageBox::Ok);
      box.setEscapeButton(QMessageBox::Ok);
      break;
    case ui::MessageButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Ok);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case ui::MessageButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      box.setEscapeButton(QMessageBox::No);
      break;
  }
}

ui::DialogAnswer AnswerOf(const QMessageBox& box, ui::MessageButtons buttons) {
  const QMessageBox::StandardButton chosen = box.standardButton(box.clickedButton());
  switch (chosen) {
    case QMessageBox::Ok:
      return ui::DialogAnswer::Ok;
    case QMessageBox::Cancel:
      return ui::DialogAnswer::Cancel;
    case QMessageBox::Yes:
      return ui::DialogAnswer::Yes;
    case QMessageBox::No:
      return ui::DialogAnswer::No;
    default:
      break;
  }
  // Closed some other way: the answer the Escape key gives.
  switch (buttons) {
    case ui::MessageButtons::Ok:
      return ui::DialogAnswer::Ok;
    case ui::MessageButtons::OkCancel:
      return ui::DialogAnswer::Cancel;
    case ui::MessageButtons::YesNo:
      return ui::DialogAnswer::No;
  }
  return ui::DialogAnswer::Cancel;
}

ui::DialogAnswer QtDesktop::ShowMessageBox(ui::Window* owner, const std::string& text,
                                           const std::string& caption, ui::MessageIcon icon,
                                           ui::MessageButtons buttons) {
  QMessageBox box(OwnerWidget(owner));
  ConfigureMessageBox(box, text, caption, icon, buttons);
  // A busy cursor must not hide that the tool is waiting for an answer.
  if (waitCursor_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  if (waitCursor_) QApplication::restoreOverrideCursor();
  return AnswerOf(box, buttons);
}

void ConfigureFileDialog(QFileDialog& dialog, const ui::FileDialogOptions& options) {
  dialog.setAcceptMode(options.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(options.save || !options.mustExist ? QFileDialog::AnyFile
                                                        : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setDefaultSuffix(ToQString(options.defaultExtension));
  QStringList filters = NameFiltersOf(options.filter);
  const InitialPath initial = SplitInitialPath(options.initialPath);
  if (filters.isEmpty() && !initial.pattern.isEmpty()) {
    filters.push_back(initial.pattern + " (" + initial.pattern + ")");
  }
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!initial.folder.isEmpty()) dialog.setDirectory(initial.folder);
  if (!initial.fileName.isEmpty()) dialog.selectFile(initial.fileName);
}

ui::FileDialogResult QtDesktop::ShowFileDialog(ui::Window* owner,
                                               const ui::FileDialogOptions& options) {
  QFileDialog dialog(OwnerWidget(owner));
  ConfigureFileDialog(dialog, options);
  if (waitCursor_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int accepted = dialog.exec();
  if (waitCursor_) QApplication::restoreOverrideCursor();
  ui::FileDialogResult result;
  if (accepted != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    result.code = 2;
    return result;
  }
  result.code = 1;
  result.path = FromQString(dialog.selectedFiles().front());
  return result;
}

void QtDesktop::SetWaitCursor(bool busy) {
  if (busy == waitCursor_) return;
  waitCursor_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void QtDesktop::ProcessPendingMessages() {
  QApplication::processEvents(QEventLoop::AllEvents);
}

int QtDesktop::StartTimer(std::chrono::milliseconds interval, std::function<void()> onTick) {
  const int id = nextTimerId_++;
  auto timer = std::make_unique<QTimer>();
  timer->setInterval(std::max<int>(1, static_cast<int>(interval.count())));
  timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer.get(), &QTimer::timeout, timer.get(), std::move(onTick));
  timer->start();
  timers_[id] = std::move(timer);
  return id;
}

void QtDesktop::StopTimer(int timerId) {
  auto it = timers_.find(timerId);
  if (it == timers_.end()) return;
  it->second->stop();
  // A timer may be stopped from its own tick, while its signal is still being delivered.
  it->second.release()->deleteLater();
  timers_.erase(it);
}

void QtDesktop::RunModalLoop(ui::Window& window) {
  const ui::WindowSystem& system = renderer_.Windows();
  if (LoopDone(system, &window)) return;
  QEventLoop loop;
  loops_.push_back(ModalLoop{&window, &loop});
  while (!LoopDone(system, &window)) loop.exec(QEventLoop::AllEvents);
  std::erase_if(loops_, [&](const ModalLoop& entry) { return entry.loop == &loop; });
}

void QtDesktop::OnChange(const ui::ChangeNotice& notice) {
  if (notice.what != ui::Change::Visibility && notice.what != ui::Change::WindowDestroyed) return;
  for (const ModalLoop& entry : loops_) {
    if (entry.window != notice.window) continue;
    // Destroyed windows are reported before they go; ended ones have HasEnded set.
    if (notice.what == ui::Change::WindowDestroyed || entry.window->HasEnded()) {
      entry.loop->quit();
    }
  }
}

void QtDesktop::Sleep(std::chrono::milliseconds duration) {
  // The operator should see the windows as they are now (a progress bar at its end), but
  // nothing else may run meanwhile: paint, then block.
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible()) widget->repaint();
  }
  std::this_thread::sleep_for(duration);
}

}  // namespace qx::qt
