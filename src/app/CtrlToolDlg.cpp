#include "app/CtrlToolDlg.h"

#include "app/AppContext.h"
#include "app/ControlMode.h"
#include "app/ProgressBarDialog.h"
#include "app/ShutdownRule.h"
#include "app/ToolWindowList.h"
#include "comm/CommSettings.h"
#include "comm/Command.h"
#include "features/CameraModel.h"
#include "features/ListSetup.h"
#include "features/SpinRanges.h"
#include "model/ParameterTable.h"
#include "ui/Control.h"
#include "ui/Desktop.h"
#include "ui/ResourceRegistry.h"
#include "ui/WindowSystem.h"

namespace qx {

namespace {

struct PageDefinition {
  int templateId;
  const char* caption;
  bool factoryOnly;
};

// The feature pages in creation order. Page 4 is never listed in the tab control.
constexpr PageDefinition kPages[CCtrlToolDlg::kPageCount] = {
    {112, "User A", false},   {113, "User B", false}, {114, "User C", false},
    {115, "User D", false},   {123, "User E", false}, {125, "User E", false},
    {107, "Factory A", true},
};

constexpr int kCommunicationTemplate = 102;
constexpr int kTerminalTemplate = 117;
constexpr int kLutTemplate = 104;
constexpr int kPushTimeoutMs = 2500;
constexpr int kSequencerIndexSpin = 2780;
// Room the tab control keeps for its tab row and frame.
constexpr int kTabHeaderHeight = 26;
constexpr int kTabFrame = 4;

const char* AlcStatusText(int value) {
  switch (value) {
    case 0:
      return "OFF";
    case 1:
      return "AIC";
    case 2:
      return "ASC";
    case 3:
      return "AGC";
    default:
      return "";
  }
}

}  // namespace

CCtrlToolDlg::CCtrlToolDlg(AppContext& app)
    : app_(app), window_(app.Windows()), communication_(app.Windows()), terminal_(app.Windows()) {
  for (int i = 0; i < kPageCount; ++i) {
    pages_[static_cast<size_t>(i)] = std::make_unique<CTabSheetDialog>(
        app.Windows(), kPages[i].templateId, kPages[i].factoryOnly, kPages[i].caption);
    pages_[static_cast<size_t>(i)]->SetEventRouter(
        [this](ui::Event& event) { return OnPageEvent(event); });
  }
  for (auto& lut : lut_) lut = std::make_unique<ui::Window>(app.Windows());
  // After a run that did not end normally the channel starts on the PC serial port.
  ApplyShutdownRule(app.Registry(), app.CommSettings());

  std::vector<ui::Window*> searchOrder;
  for (auto& page : pages_) searchOrder.push_back(&page->GetWindow());
  searchOrder.push_back(&window_);
  controls_.SetSearchOrder(std::move(searchOrder));
  features_ = std::make_unique<FeatureContext>(FeatureContext{app.Parameters(), controls_,
                                                              app.Protocol(), app.Model(),
                                                              app.Mode(), fields_, app.Desktop()});
  reload_ = std::make_unique<CameraReload>(*features_, *this);

  window_.SetEventHandler([this](ui::Event& event) { return OnEvent(event); });
  window_.SetInitHandler([this] { OnInit(); });
  window_.SetDestroyHandler([this] { OnDestroy(); });

  selectedArea_ = 0;
  resetFlag_ = 0;
  app.Parameters().CommitAll();
}

CCtrlToolDlg::~CCtrlToolDlg() {
  // The window goes first, while the pages and companions its destruction touches still exist.
  window_.Destroy();
  if (registered_) {
    app_.Notifier().Unregister(*this);
    app_.ToolWindows().Remove(window_);
  }
}

int CCtrlToolDlg::Run() {
  return window_.DoModal(app_.Desktop(), kTemplateName, nullptr);
}

bool CCtrlToolDlg::Create() {
  if (!window_.Create(kTemplateName)) return false;
  window_.Show(true);
  return true;
}

void CCtrlToolDlg::OnInit() {
  fields_.clConfiguration = 1;
  fields_.bitAllocation = 3;
  fields_.sensClkFreq = 2;
  window_.SetIcon(app_.Windows().Resources().FindImage(kIconId));

  BindStatusStrip(window_, kStatusStrip);
  app_.Notifier().Register(*this);
  app_.ToolWindows().Add(window_);
  registered_ = true;
  window_.SetTitle(kTitle);

  app_.Protocol().StartReceiveTimer();
  terminal_.Create(kTerminalTemplate);
  communication_.Create(kCommunicationTemplate);
  for (int channel = 0; channel < 3; ++channel) {
    ui::Window& lut = *lut_[static_cast<size_t>(channel)];
    if (lut.Create(kLutTemplate)) {
      // Each channel's window sits a little further right and down than the last.
      ui::Rect rect = lut.Geometry();
      rect.left += 50 * (channel + 1);
      rect.top += 50 * (channel + 1);
      lut.Move(rect);
    }
  }

  for (auto& page : pages_) page->Create(window_);
  SetSpinRanges(*features_);

  fields_.reconnected = 0;
  fields_.online = reload_->OpenAndIdentify();
  if (fields_.online) reload_->Reload();
  if (fields_.reconnected) fields_.online = 1;
  RefreshConnectionState();
  if (!fields_.online) return;
  FinishFeatureSetUp();
}

void CCtrlToolDlg::FinishFeatureSetUp() {
  ParameterTable& table = app_.Parameters();
  SetUpListValues(*features_);
  table.CommitAll();
  table.WriteAllToControls(controls_);
  RefillCameraLinkLists(*features_);
  SetSpinRanges(*features_);
  if (ui::Control* spin = controls_.FindControl(kSequencerIndexSpin)) spin->SetRange(1, 128);
  LoadSequencerEntry(1);
  ShowCameraBaudRates();
}

void CCtrlToolDlg::OnDestroy() {
  app_.Protocol().StopReceiveTimer();
  app_.CommSettings().CloseChannel();
  terminal_.Destroy();
  for (auto& lut : lut_) lut->Destroy();
}

void CCtrlToolDlg::RefreshConnectionState() {
  RebuildTabs();
  window_.SetMenuPopupGrayed(kUtilityMenuPosition, !app_.Mode().IsFactory());
  window_.DrawMenuBar();
  app_.Parameters().PushChangedValues(app_.Protocol(), controls_, kPushTimeoutMs);
  app_.Parameters().CommitAll();
}

void CCtrlToolDlg::RebuildTabs() {
  ui::Control* tab = window_.GetControl(kTabControl);
  if (tab == nullptr) return;
  tab->ClearItems();
  const bool factory = app_.Mode().IsFactory();
  for (int i = 0; i < kPageCount; ++i) {
    CTabSheetDialog& page = *pages_[static_cast<size_t>(i)];
    if ((factory || !page.IsFactoryOnly()) && i != kUnlistedPage) {
      tab->AddItem(page.Caption(), i);
    }
    page.GetWindow().Show(false);
  }
  tab->SetSelection(0);
  PlacePages();
  pages_[0]->GetWindow().Show(true);
}

void CCtrlToolDlg::PlacePages() {
  ui::Control* tab = window_.GetControl(kTabControl);
  if (tab == nullptr) return;
  const ui::Rect area = tab->Geometry();
  const ui::Rect display{area.left + kTabFrame, area.top + kTabHeaderHeight,
                         area.width - 2 * kTabFrame, area.height - kTabHeaderHeight - kTabFrame};
  for (auto& page : pages_) {
    if (page->GetWindow().Exists()) page->GetWindow().Move(display);
  }
}

void CCtrlToolDlg::OnTabSelectionChanged() {
  ui::Control* tab = window_.GetControl(kTabControl);
  if (tab == nullptr || tab->Selection() < 0) return;
  const int shown = tab->ItemData(tab->Selection()).value_or(0);
  for (int i = 0; i < kPageCount; ++i) {
    pages_[static_cast<size_t>(i)]->GetWindow().Show(i == shown);
  }
}

void CCtrlToolDlg::Exit() {
  if (resetFlag_ == 1) {
    window_.EndDialog(ui::kIdCancel);
    return;
  }
  const ui::DialogAnswer answer = app_.Desktop().ShowMessageBox(
      &window_, "Are you sure to terminate the Camera Control Tool ?", "Confirm",
      ui::MessageIcon::Question, ui::MessageButtons::YesNo);
  if (answer == ui::DialogAnswer::Yes) window_.EndDialog(ui::kIdCancel);
}

void CCtrlToolDlg::StatusRead() {
  int value = 0;
  if (!app_.Protocol().SendRawCommand("ALCST?\r\n", value, kPushTimeoutMs)) return;
  if (ui::Control* field = controls_.FindControl(kAlcStatusField)) {
    field->SetText(AlcStatusText(value));
  }
}

void CCtrlToolDlg::ToggleControlMode() {
  app_.Mode().Toggle();
  RefreshConnectionState();
}

void CCtrlToolDlg::OnKeyDown(const ui::Event& event) {
  if (keySequence_.Feed(event.key, event.shift, event.ctrl)) ToggleControlMode();
}

bool CCtrlToolDlg::ApplyPageKeyRules(ui::Event& event) {
  if (event.key != ui::vk::kEnter && event.key != ui::vk::kEscape) return false;
  ui::Control* control = event.control;
  const ui::WidgetKind kind = ui::ClassifyWidget(control);
  bool swallow = false;
  switch (kind) {
    case ui::WidgetKind::EditBox:
      if (event.key == ui::vk::kEnter && editCommitHandler_) editCommitHandler_(control->Id());
      swallow = true;
      break;
    case ui::WidgetKind::DropList:
      if (control->IsDroppedDown()) {
        // An open list takes the highlighted item on Escape as on Enter.
        event.key = ui::vk::kEnter;
      } else {
        swallow = true;
      }
      break;
    case ui::WidgetKind::PushButton:
    case ui::WidgetKind::CheckBox:
    case ui::WidgetKind::RadioButton:
    case ui::WidgetKind::OtherButton:
      swallow = true;
      break;
    default:
      break;  // spins, the tab control: the main window's own handling
  }
  if (swallow) event.key = ui::vk::kF12;  // nothing handles F12
  return swallow;
}

bool CCtrlToolDlg::OnPageEvent(ui::Event& event) {
  if (event.type == ui::EventType::KeyDown) {
    OnKeyDown(event);
    return ApplyPageKeyRules(event);
  }
  if (controlEventHandler_ && controlEventHandler_(event)) return true;
  if (event.type == ui::EventType::Command && event.id == kStatusReadButton &&
      event.code == ui::notify::kClicked) {
    StatusRead();
    return true;
  }
  return false;
}

bool CCtrlToolDlg::OnEvent(ui::Event& event) {
  switch (event.type) {
    case ui::EventType::KeyDown:
      OnKeyDown(event);
      return false;
    case ui::EventType::Notify:
      if (event.id == kTabControl && event.code == ui::notify::kTabSelectionChanged) {
        OnTabSelectionChanged();
        return true;
      }
      return controlEventHandler_ ? controlEventHandler_(event) : false;
    case ui::EventType::Command:
      if (controlEventHandler_ && event.control != nullptr && controlEventHandler_(event)) {
        return true;
      }
      if (event.id == ui::kIdOk) return true;  // Enter never closes the window
      if (event.id == ui::kIdCancel) {
        Exit();
        return true;
      }
      if (event.control == nullptr) {
        OnMenuCommand(event.id);
        return true;
      }
      if (event.id == kStatusReadButton && event.code == ui::notify::kClicked) {
        StatusRead();
        return true;
      }
      return false;
    default:
      return false;
  }
}

void CCtrlToolDlg::OnMenuCommand(int commandId) {
  if (auto action = menuActions_.find(commandId); action != menuActions_.end() && action->second) {
    action->second();
    return;
  }
  switch (commandId) {
    case kMenuReload:
      reload_->Reload();
      break;
    case kMenuOpenCommunicationDialog:
      if (communication_.Exists()) communication_.Show(true);
      break;
    default:
      break;  // entries whose actions arrive with their features
  }
}

int CCtrlToolDlg::ReopenChannel() {
  return app_.CommSettings().Reopen();
}

void CCtrlToolDlg::EnableToolWindows(bool enable) {
  app_.ToolWindows().EnableAll(enable);
}

void CCtrlToolDlg::OpenProgress(const std::string& text) {
  app_.Progress().Open(&window_, text);
}

void CCtrlToolDlg::SetProgress(int percent) {
  app_.Progress().SetPosition(percent);
}

void CCtrlToolDlg::CloseProgress() {
  app_.Progress().Close();
}

void CCtrlToolDlg::ProcessPendingMessages() {
  app_.Desktop().ProcessPendingMessages();
}

void CCtrlToolDlg::ActivateMainWindow() {
  window_.Activate();
}

}  // namespace qx
