// The desktop services drawn with Qt: message boxes, file dialogs, cursor, timers and modal
// loops, operated as an operator would.

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "QtFixture.h"

namespace qx::test {
namespace {

// Runs the action on the next modal widget as soon as it is open.
void WhenModalOpens(const std::function<void(QWidget*)>& action) {
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [action, poll] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      action(modal);
      return;
    }
    QTimer::singleShot(5, *poll);
  };
  QTimer::singleShot(0, *poll);
}

TEST_F(QtUiTest, MessageBox_ShowsTextCaptionIconAndAnswersWithTheButtonPressed) {
  Open(951);
  QString seenText;
  QString seenCaption;
  QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
  int buttons = 0;
  WhenModalOpens([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    seenText = box->text();
    seenCaption = box->windowTitle();
    seenIcon = box->icon();
    buttons = static_cast<int>(box->buttons().size());
    Click(box->button(QMessageBox::No));
  });

  const ui::DialogAnswer answer = frontEnd.Desktop().ShowMessageBox(
      &window, "Are you sure to terminate the Camera Control Tool ?", "Confirm",
      ui::MessageIcon::Question, ui::MessageButtons::YesNo);

  EXPECT_EQ(answer, ui::DialogAnswer::No);
  EXPECT_EQ(seenText, "Are you sure to terminate the Camera Control Tool ?");
  EXPECT_EQ(seenCaption, "Confirm");
  EXPECT_EQ(seenIcon, QMessageBox::Question);
  EXPECT_EQ(buttons, 2);
}

TEST_F(QtUiTest, MessageBoxClosedWithEscape_AnswersCancel) {
  Open(951);
  WhenModalOpens([](QWidget* modal) { PressKey(modal, Qt::Key_Escape); });
  EXPECT_EQ(
      frontEnd.Desktop().ShowMessageBox(&window, "Overwrite?", "Save", ui::MessageIcon::Exclamation,
                                        ui::MessageButtons::OkCancel),
      ui::DialogAnswer::Cancel);
}

TEST_F(QtUiTest, FileDialog_ReturnsTheChosenPathWithTheDefaultExtension) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  WhenModalOpens([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    dialog->selectFile("settings");
    QMetaObject::invokeMethod(dialog, "accept");
  });
  ui::FileDialogOptions options;
  options.save = true;
  options.initialPath = folder.path().toStdString() + "/*.cam";
  options.defaultExtension = "cam";
  options.filter = "Camera setting data (*.cam) | *.cam||";

  const ui::FileDialogResult result = frontEnd.Desktop().ShowFileDialog(nullptr, options);

  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.path, folder.path().toStdString() + "/settings.cam");
}

TEST_F(QtUiTest, FileDialogCancelled_ReturnsCodeTwo) {
  WhenModalOpens([](QWidget* modal) { QMetaObject::invokeMethod(modal, "reject"); });
  ui::FileDialogOptions options;
  options.mustExist = true;
  const ui::FileDialogResult result = frontEnd.Desktop().ShowFileDialog(nullptr, options);
  EXPECT_EQ(result.code, 2);
  EXPECT_TRUE(result.path.empty());
}

TEST(QtFileDialogOptions, OpenAndSaveOptions_ConfigureTheDialog) {
  QTemporaryDir folder;
  ui::FileDialogOptions open;
  open.initialPath = folder.path().toStdString() + "/last.cam";
  open.filter = "Camera setting data (*.cam) | *.cam||";
  open.mustExist = true;
  QFileDialog openDialog;
  qt::ConfigureFileDialog(openDialog, open);
  EXPECT_EQ(openDialog.acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(openDialog.fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(openDialog.nameFilters(), QStringList{"Camera setting data (*.cam)"});
  EXPECT_EQ(QDir(openDialog.directory()).canonicalPath(), QDir(folder.path()).canonicalPath());

  ui::FileDialogOptions save;
  save.save = true;
  save.defaultExtension = "csv";
  save.filter = "Gamma data (*.csv)|*.csv|All files|*.*||";
  QFileDialog saveDialog;
  qt::ConfigureFileDialog(saveDialog, save);
  EXPECT_EQ(saveDialog.acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(saveDialog.defaultSuffix(), "csv");
  EXPECT_TRUE(saveDialog.testOption(QFileDialog::DontConfirmOverwrite))
      << "the tool asks its own overwrite question";
  EXPECT_EQ(saveDialog.nameFilters(), (QStringList{"Gamma data (*.csv)", "All files (*.*)"}));
}

TEST_F(QtUiTest, ModalLoop_RunsUntilTheOperatorPressesOk) {
  handle = false;
  QTimer::singleShot(0, [this] {
    // The dialog is up once the loop runs; the operator presses OK.
    ASSERT_TRUE(WaitUntil([this] { return WidgetOf(1) != nullptr && WidgetOf(1)->isVisible(); }));
    Click(WidgetOf(1));
  });

  const int result = window.DoModal(frontEnd.Desktop(), 951, nullptr);

  EXPECT_EQ(result, ui::kIdOk);
  EXPECT_FALSE(window.Exists());
  EXPECT_EQ(frontEnd.GetRenderer().WidgetOf(window), nullptr);
}

TEST_F(QtUiTest, ModalDialog_KeepsTheOperatorOutOfItsOwnerWhileItRuns) {
  Open(950);
  ui::Window dialog(windows);
  std::size_t ownerEvents = 1;
  QTimer::singleShot(0, [&] {
    events.clear();
    Click(WidgetOf(1432));
    ownerEvents = events.size();
    dialog.EndDialog(ui::kIdCancel);
  });
  EXPECT_EQ(dialog.DoModal(frontEnd.Desktop(), 951, &window), ui::kIdCancel);
  EXPECT_EQ(ownerEvents, 0u);
  Click(WidgetOf(1432));
  EXPECT_EQ(EventsFor(1432).size(), 1u) << "the owner takes input again";
}

TEST_F(QtUiTest, Timers_TickUntilStoppedEvenFromTheirOwnTick) {
  int ticks = 0;
  int id = 0;
  id = frontEnd.Desktop().StartTimer(std::chrono::milliseconds(5), [&] {
    if (++ticks == 3) frontEnd.Desktop().StopTimer(id);
  });
  EXPECT_EQ(frontEnd.Desktop().TimerCount(), 1u);
  ASSERT_TRUE(WaitUntil([&] { return ticks >= 3; }));
  EXPECT_EQ(frontEnd.Desktop().TimerCount(), 0u);
  QApplication::processEvents();
  QTimer settle;
  settle.setSingleShot(true);
  settle.start(30);
  WaitUntil([&] { return !settle.isActive(); });
  EXPECT_EQ(ticks, 3);
}

TEST_F(QtUiTest, WaitCursor_IsSetOnceAndRestored) {
  frontEnd.Desktop().SetWaitCursor(true);
  frontEnd.Desktop().SetWaitCursor(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  frontEnd.Desktop().SetWaitCursor(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace qx::test

namespace qx::test {
namespace {

TEST_F(QtUiTest, MessageBoxOfADisabledWindow_StillTakesTheAnswer) {
  Open(951);
  window.Enable(false);
  bool clicked = false;
  WhenModalOpens([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->parentWidget(), frontEnd.GetRenderer().WidgetOf(window));
    Click(box->button(QMessageBox::Yes));
    clicked = true;
    // A box the click did not reach would stay open; close it so the test ends.
    if (box->isVisible()) box->reject();
  });
  const ui::DialogAnswer answer = frontEnd.Desktop().ShowMessageBox(
      &window, "Go on?", "Question", ui::MessageIcon::Question, ui::MessageButtons::YesNo);
  EXPECT_TRUE(clicked);
  EXPECT_EQ(answer, ui::DialogAnswer::Yes);
}

}  // namespace
}  // namespace qx::test
