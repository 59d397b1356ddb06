#include "app/ProgressBarDialog.h"

#include <chrono>

#include "ui/Desktop.h"
#include "ui/WindowSystem.h"

namespace qx {

CProgressBarDialog::CProgressBarDialog(ui::WindowSystem& windows, ui::Desktop& desktop)
    : windows_(windows), desktop_(desktop), window_(windows) {
  window_.SetDestroyHandler([this] { OnDestroyed(); });
}

CProgressBarDialog::~CProgressBarDialog() {
  window_.Destroy();
}

void CProgressBarDialog::Open(ui::Window* owner, const std::string& text) {
  window_.Destroy();
  owner_ = owner;
  text_ = text;
  disabledOwner_ = false;
  if (owner_ != nullptr && owner_->IsEnabled()) {
    owner_->Enable(false);
    disabledOwner_ = true;
  }
  if (!window_.Create(kTemplateId, owner_)) return;
  if (ui::Control* bar = window_.GetControl(kBarId)) {
    bar->SetRange(0, 100);
    bar->SetPos(0);
  }
  if (ui::Control* label = window_.GetControl(kTextId)) label->SetText(text_);
  window_.Show(true);
}

void CProgressBarDialog::SetPosition(int percent) {
  if (!window_.Exists() || !window_.IsVisible()) return;
  // The front-end repaints the bar from the change notice; pumping messages here could
  // start operator or timer work in the middle of the caller's exchange.
  if (ui::Control* bar = window_.GetControl(kBarId)) bar->SetPos(percent);
}

void CProgressBarDialog::Close() {
  if (!window_.Exists() || !window_.IsVisible()) return;
  if (ui::Control* bar = window_.GetControl(kBarId)) bar->SetPos(100);
  desktop_.Sleep(std::chrono::milliseconds(1000));
  if (owner_ != nullptr && windows_.IsAlive(owner_)) owner_->Activate();
  window_.Destroy();
}

void CProgressBarDialog::OnDestroyed() {
  // The owner gets back the input that Open took from it, whatever ends the window.
  if (disabledOwner_ && owner_ != nullptr && windows_.IsAlive(owner_)) owner_->Enable(true);
  disabledOwner_ = false;
}

}  // namespace qx
