#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/ControlModeKeySequence.h"
#include "app/OnlineStatusNotifier.h"
#include "app/TabSheetDialog.h"
#include "features/FeatureContext.h"
#include "features/FeatureControls.h"
#include "features/Reload.h"
#include "ui/Window.h"

namespace qx {

class AppContext;

// The tool's main window: the tab control with the feature pages, the menu bar, the status
// strip showing whether the camera answers, and the companion windows. It runs the start-up
// (open the channel, identify the camera, read every setting) and turns the menu into the
// actions of the tool.
class CCtrlToolDlg : public COnlineStatusUpdater, public ReloadHost {
 public:
  static constexpr const char* kTemplateName = "Control Tool Body";
  static constexpr const char* kTitle = "QX-4400x8800M-RLNK Control Tool  Ver 0.18";
  static constexpr int kIconId = 500;
  static constexpr int kTabControl = 1244;
  static constexpr int kStatusStrip = 1161;
  static constexpr int kStatusReadButton = 1871;
  static constexpr int kAlcStatusField = 1873;
  static constexpr int kPageCount = 7;
  // The page that is created and kept up to date but never listed in the tab control.
  static constexpr int kUnlistedPage = 4;
  // Position of "Utility(&U)" in the menu bar.
  static constexpr int kUtilityMenuPosition = 2;

  // Menu command ids.
  enum MenuCommand {
    kMenuOpen = 32781,
    kMenuSaveAllData = 32786,
    kMenuSaveShippingData = 32787,
    kMenuExit = 2,
    kMenuReload = 32775,
    kMenuLoadSettings = 32777,
    kMenuStoreSettings = 32776,
    kMenuEditUserId = 32773,
    kMenuEditCameraId = 32778,
    kMenuOpenLutFile = 32779,
    kMenuSaveLutFile = 32780,
    kMenuLoadAllLutTables = 32784,
    kMenuAbout = 32774,
    kMenuOpenCommunicationDialog = 32785,
  };

  // Construction: the seven pages and the companion windows (not yet created), and a committed
  // parameter table.
  explicit CCtrlToolDlg(AppContext& app);
  ~CCtrlToolDlg() override;
  CCtrlToolDlg(const CCtrlToolDlg&) = delete;
  CCtrlToolDlg& operator=(const CCtrlToolDlg&) = delete;

  // Creates the window (which runs the initialisation) and runs it modally; returns when it
  // has closed.
  int Run();
  // Creates the window modelessly (the initialisation runs), for front-ends that drive it
  // without a modal loop of its own.
  bool Create();

  ui::Window& GetWindow() { return window_; }
  CTabSheetDialog& Page(int index) { return *pages_[static_cast<size_t>(index)]; }
  ui::Window& CommunicationDialog() { return communication_; }
  ui::Window& TerminalDialog() { return terminal_; }
  ui::Window& LutDialog(int channel) { return *lut_[static_cast<size_t>(channel)]; }
  FeatureContext& Features() { return *features_; }
  FeatureControls& Controls() { return controls_; }
  MainWindowFields& Fields() { return fields_; }
  CameraReload& Reloader() { return *reload_; }
  int IsOnline() const { return fields_.online; }
  int SelectedArea() const { return selectedArea_; }
  int ResetFlag() const { return resetFlag_; }
  void SetResetFlag() { resetFlag_ = 1; }

  // Rebuilds the tabs for the control mode, follows it in the "Utility(&U)" menu, pushes
  // changed values and commits, and lets the communication dialog apply the mode.
  void RefreshConnectionState();
  void RebuildTabs();
  // The operator's exit: asks for confirmation unless the camera was just reset.
  void Exit();
  // "Status Read": the auto-level status into its field.
  void StatusRead();
  // Switches between normal and factory operation (the hidden key sequence).
  void ToggleControlMode();

  // Feature handlers installed by the parts of the tool that bind page controls and menu
  // entries. The control handler sees every command and notification of the pages first.
  void SetControlEventHandler(std::function<bool(ui::Event&)> handler) {
    controlEventHandler_ = std::move(handler);
  }
  void SetMenuAction(int commandId, std::function<void()> action) {
    menuActions_[commandId] = std::move(action);
  }
  // Applies the edit field (Enter in an edit of a page).
  void SetEditCommitHandler(std::function<void(int controlId)> handler) {
    editCommitHandler_ = std::move(handler);
  }

  // ReloadHost
  int ReopenChannel() override;
  void EnableToolWindows(bool enable) override;
  void OpenProgress(const std::string& text) override;
  void SetProgress(int percent) override;
  void CloseProgress() override;
  void ProcessPendingMessages() override;
  void ActivateMainWindow() override;

 private:
  void OnInit();
  void OnDestroy();
  bool OnEvent(ui::Event& event);
  bool OnPageEvent(ui::Event& event);
  // The keyboard rules of the pages; true when the key was swallowed.
  bool ApplyPageKeyRules(ui::Event& event);
  void OnKeyDown(const ui::Event& event);
  void OnTabSelectionChanged();
  void OnMenuCommand(int commandId);
  void PlacePages();
  // The feature set-up that follows a successful start-up.
  void FinishFeatureSetUp();

  AppContext& app_;
  ui::Window window_;
  std::array<std::unique_ptr<CTabSheetDialog>, kPageCount> pages_;
  ui::Window communication_;
  ui::Window terminal_;
  std::array<std::unique_ptr<ui::Window>, 3> lut_;
  FeatureControls controls_;
  MainWindowFields fields_;
  std::unique_ptr<FeatureContext> features_;
  std::unique_ptr<CameraReload> reload_;
  int selectedArea_ = 0;
  int resetFlag_ = 0;
  ControlModeKeySequence keySequence_;
  bool registered_ = false;
  std::function<bool(ui::Event&)> controlEventHandler_;
  std::function<void(int)> editCommitHandler_;
  std::map<int, std::function<void()>> menuActions_;
};

}  // namespace qx
