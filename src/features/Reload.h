#pragma once

#include <string>

namespace qx {

struct FeatureContext;

// What the reload needs of the main window and the program-wide services around it. The
// steps that belong to feature rules built elsewhere (enable rules, sequencer, baud-rate
// display, mode text) are hooks with nothing to do by default.
class ReloadHost {
 public:
  virtual ~ReloadHost() = default;
  // Opens the stored channel; 1 on success.
  virtual int ReopenChannel() = 0;
  virtual void EnableToolWindows(bool enable) = 0;
  virtual void OpenProgress(const std::string& text) = 0;
  virtual void SetProgress(int percent) = 0;
  virtual void CloseProgress() = 0;
  virtual void ProcessPendingMessages() = 0;
  // Activates the main window and brings it to the foreground when it is not.
  virtual void ActivateMainWindow() = 0;

  virtual void ApplyEnableRules() {}
  virtual void ApplyLutModeEnables() {}
  virtual void ShowCameraBaudRates() {}
  virtual void FillCameraBaudRateList() {}
  virtual void LoadSequencerEntry(int entry) { (void)entry; }
  virtual void UpdateModeText() {}
  virtual void OnExposureTimeModeChanged() {}
};

// Brings the tool and the camera into step: identifies the model and reads every readable
// setting into the parameter table while the progress window runs, then shows them and
// adapts the pages to the model.
class CameraReload {
 public:
  static constexpr int kModelQueryTimeoutMs = 1000;
  static constexpr int kReadTimeoutMs = 2500;

  CameraReload(FeatureContext& context, ReloadHost& host);

  // Start-up only: opens the channel ("Failed to initialize!" when it cannot) and identifies
  // the camera. 1 when both succeeded.
  int OpenAndIdentify();
  // 1 when the camera answered the model query; warns about an unsupported model.
  int IdentifyModel();
  void Reload();
  // Fills the table from the camera; always 1.
  int ReadAll();

  // Whether the read-all reads the row at this index (read set, model, factory mode).
  bool IsReadInBulk(int rowIndex) const;
  // The progress total: readable rows in factory mode, readable user rows otherwise.
  int ProgressTotal();

 private:
  void ApplyReadValue(int controlId, int value);

  FeatureContext& context_;
  ReloadHost& host_;
};

// The item of the gamma list for a camera gamma value (0 for a value the list lacks).
int GammaListIndexOf(int gammaValue);
// The item of the factory baud-rate list for a camera baud-rate bit (0 for anything else).
int BaudRateListIndexOf(int baudRateBit);

}  // namespace qx
