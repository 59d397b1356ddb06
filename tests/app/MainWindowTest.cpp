#include <gtest/gtest.h>

#include "app/Application.h"
#include "app/ControlMode.h"
#include "app/ControlModeKeySequence.h"
#include "app/CtrlToolDlg.h"
#include "app/RegistryStore.h"
#include "support/TempDir.h"
#include "ui/Control.h"
#include "ui/HeadlessDesktop.h"
#include "ui/OperatorInput.h"
#include "ui/ResourceRegistry.h"
#include "ui/WindowSystem.h"

namespace qx {
namespace {

// The main window without a camera: COM1 names a device that does not exist, so the tool
// starts offline.
class MainWindowTest : public ::testing::Test {
 protected:
  void Start(int controlMode = 0) {
    {
      platform::RegistryHive hive(dir_.File("machine.reg"));
      CRegistryStore store(hive);
      store.WriteInteger(CRegistryStore::kControlMode, controlMode);
    }
    AppOptions options;
    options.registryPath = dir_.File("machine.reg");
    options.environment = [this](const std::string& name) -> std::optional<std::string> {
      if (name == "QXTOOL_COM1") return dir_.File("no-such-tty");
      return std::nullopt;
    };
    app_ = std::make_unique<Application>(windows_, desktop_, options);
    ASSERT_TRUE(app_->MainDialog().Create());
  }
  CCtrlToolDlg& Dlg() { return app_->MainDialog(); }
  ui::Control& Tab() { return *Dlg().GetWindow().GetControl(CCtrlToolDlg::kTabControl); }
  std::vector<std::string> TabCaptions() {
    std::vector<std::string> captions;
    for (const auto& item : Tab().Items()) captions.push_back(item.text);
    return captions;
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : desktop_.MessageBoxes()) texts.push_back(box.text);
    return texts;
  }

  test::TempDir dir_;
  ui::ResourceRegistry resources_ = ui::ResourceRegistry::FromEmbedded();
  ui::WindowSystem windows_{resources_};
  ui::HeadlessDesktop desktop_{ui::HeadlessDesktop::ClockMode::Manual};
  std::unique_ptr<Application> app_;
};

TEST_F(MainWindowTest, OfflineStartShowsTitleFiveTabsAndAGreyedUtilityMenu) {
  Start();
  EXPECT_EQ(Dlg().GetWindow().Title(), "QX-4400x8800M-RLNK Control Tool  Ver 0.18");
  EXPECT_EQ(Dlg().IsOnline(), 0);
  EXPECT_EQ(TabCaptions(),
            (std::vector<std::string>{"User A", "User B", "User C", "User D", "User E"}));
  EXPECT_EQ(Tab().ItemData(4), 5);  // the listed "User E" is page 5
  EXPECT_FALSE(Dlg().GetWindow().IsMenuCommandAvailable(CCtrlToolDlg::kMenuEditUserId));
  EXPECT_FALSE(Dlg().GetWindow().IsMenuCommandAvailable(CCtrlToolDlg::kMenuLoadAllLutTables));
  EXPECT_TRUE(Dlg().GetWindow().IsMenuCommandAvailable(CCtrlToolDlg::kMenuReload));
  const auto texts = BoxTexts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), "Failed to initialize!");
}

TEST_F(MainWindowTest, FactoryModeListsTheFactoryPageAndEnablesTheUtilityMenu) {
  Start(ControlMode::kFactory);
  EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"User A", "User B", "User C", "User D",
                                                     "User E", "Factory A"}));
  EXPECT_TRUE(Dlg().GetWindow().IsMenuCommandAvailable(CCtrlToolDlg::kMenuEditCameraId));
}

TEST_F(MainWindowTest, ExitAsksAndNoKeepsTheWindowOpen) {
  Start();
  desktop_.QueueAnswer(ui::DialogAnswer::No);
  ui::input::ChooseMenu(Dlg().GetWindow(), CCtrlToolDlg::kMenuExit);
  EXPECT_TRUE(Dlg().GetWindow().IsVisible());
  EXPECT_EQ(desktop_.MessageBoxes().back().text,
            "Are you sure to terminate the Camera Control Tool ?");
  EXPECT_EQ(desktop_.MessageBoxes().back().caption, "Confirm");
  desktop_.QueueAnswer(ui::DialogAnswer::Yes);
  ui::input::RequestClose(Dlg().GetWindow());
  EXPECT_FALSE(Dlg().GetWindow().IsVisible());  // ended: a window without its own loop hides
}

TEST_F(MainWindowTest, AfterACameraResetClosingAsksNothing) {
  Start();
  const size_t boxes = desktop_.MessageBoxes().size();
  Dlg().SetResetFlag();
  ui::input::RequestClose(Dlg().GetWindow());
  EXPECT_FALSE(Dlg().GetWindow().IsVisible());
  EXPECT_EQ(desktop_.MessageBoxes().size(), boxes);
}

TEST_F(MainWindowTest, EnterOnTheTabControlLeavesTheWindowOpen) {
  Start();
  const size_t boxes = desktop_.MessageBoxes().size();
  ui::input::PressKey(Dlg().GetWindow(), &Tab(), ui::vk::kEnter, false, false);
  EXPECT_TRUE(Dlg().GetWindow().IsVisible());
  EXPECT_EQ(desktop_.MessageBoxes().size(), boxes);
}

TEST_F(MainWindowTest, HiddenKeySequenceTogglesFactoryOperationBothWays) {
  Start();
  auto press = [this](int key, bool shift = false, bool ctrl = false) {
    ui::input::PressKey(Dlg().GetWindow(), nullptr, key, shift, ctrl);
  };
  press(ui::vk::kF12, true, true);
  press('Q');
  press('V');
  press('Z');
  EXPECT_TRUE(app_->Context().Mode().IsFactory());
  EXPECT_EQ(Tab().ItemCount(), 6);
  press(ui::vk::kF12, true, true);
  press('Q');
  press(ui::vk::kShift);  // any other key disarms
  press('V');
  press('Z');
  EXPECT_TRUE(app_->Context().Mode().IsFactory());
  press(ui::vk::kF12, true, true);
  press('Q');
  press('V');
  press('Z');
  EXPECT_FALSE(app_->Context().Mode().IsFactory());
  EXPECT_EQ(Tab().ItemCount(), 5);
}

TEST_F(MainWindowTest, TabSelectionShowsOnlyThatPage) {
  Start();
  ui::input::SelectTab(Tab(), 4);
  for (int i = 0; i < CCtrlToolDlg::kPageCount; ++i) {
    ui::Window& page = Dlg().Page(i).GetWindow();
    if (!page.Exists()) continue;
    EXPECT_EQ(page.IsVisible(), i == 5) << "page " << i;
  }
}

}  // namespace
}  // namespace qx

namespace qx {
namespace {

TEST(ControlModeKeySequenceTest, ModifierBetweenLettersDisarms) {
  ControlModeKeySequence keys;
  EXPECT_FALSE(keys.Feed('Q', false, false));  // not armed
  EXPECT_FALSE(keys.Feed(ui::vk::kF12, true, true));
  EXPECT_TRUE(keys.IsArmed());
  EXPECT_FALSE(keys.Feed('Q', false, false));
  EXPECT_FALSE(keys.Feed(ui::vk::kControl, false, true));
  EXPECT_FALSE(keys.IsArmed());
  EXPECT_FALSE(keys.Feed('V', false, false));
  EXPECT_FALSE(keys.Feed(ui::vk::kF12, true, true));
  EXPECT_FALSE(keys.Feed('Q', false, false));
  EXPECT_FALSE(keys.Feed('V', false, false));
  EXPECT_TRUE(keys.Feed('Z', false, false));
  EXPECT_FALSE(keys.IsArmed());
}

}  // namespace
}  // namespace qx
