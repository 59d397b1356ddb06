#include "ui/HeadlessDesktop.h"

#include <thread>

#include "ui/Event.h"
#include "ui/Window.h"

namespace qx::ui {
namespace {

bool Fits(DialogAnswer answer, MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return answer == DialogAnswer::Ok;
    case MessageButtons::OkCancel:
      return answer == DialogAnswer::Ok || answer == DialogAnswer::Cancel;
    case MessageButtons::YesNo:
      return answer == DialogAnswer::Yes || answer == DialogAnswer::No;
  }
  return false;
}

}  // namespace

HeadlessDesktop::HeadlessDesktop(ClockMode mode)
    : mode_(mode), start_(std::chrono::steady_clock::now()) {}

void HeadlessDesktop::ClearQueues() {
  answers_.clear();
  fileResults_.clear();
}

std::chrono::milliseconds HeadlessDesktop::Now() const {
  if (mode_ == ClockMode::Manual) return skipped_;
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start_) +
         skipped_;
}

DialogAnswer HeadlessDesktop::ShowMessageBox(Window* owner, const std::string& text,
                                             const std::string& caption, MessageIcon icon,
                                             MessageButtons buttons) {
  MessageBoxRecord record{owner, text, caption, icon, buttons, DialogAnswer::Ok, false};
  // With nothing queued the operator takes the harmless choice.
  record.answer = buttons == MessageButtons::YesNo ? DialogAnswer::No : DialogAnswer::Ok;
  if (!answers_.empty()) {
    const DialogAnswer queued = answers_.front();
    answers_.pop_front();
    if (Fits(queued, buttons)) {
      record.answer = queued;
    } else {
      record.rejectedAnswer = true;
    }
  }
  boxes_.push_back(record);
  if (boxListener_) boxListener_(boxes_.back());
  return record.answer;
}

FileDialogResult HeadlessDesktop::ShowFileDialog(Window* owner, const FileDialogOptions& options) {
  FileDialogRecord record{owner, options, FileDialogResult{}};
  if (!fileResults_.empty()) {
    record.result = fileResults_.front();
    fileResults_.pop_front();
  }
  fileDialogs_.push_back(record);
  if (fileListener_) fileListener_(fileDialogs_.back());
  return record.result;
}

bool HeadlessDesktop::RunNextDueTimer(std::chrono::milliseconds limit) {
  auto next = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->second.due <= limit && (next == timers_.end() || it->second.due < next->second.due)) {
      next = it;
    }
  }
  if (next == timers_.end()) return false;
  if (mode_ == ClockMode::Manual && next->second.due > skipped_) skipped_ = next->second.due;
  // The next tick counts from now, as a message-based timer does; a late timer ticks once.
  next->second.due = std::max(next->second.due, Now()) + next->second.interval;
  // Copy: the tick may stop or restart its own timer.
  const std::function<void()> onTick = next->second.onTick;
  onTick();
  return true;
}

void HeadlessDesktop::ProcessPendingMessages() {
  // Each timer due now ticks once; ticks that fall due while these run wait for the next call.
  const std::chrono::milliseconds now = Now();
  std::vector<int> due;
  for (const auto& [id, timer] : timers_) {
    if (timer.due <= now) due.push_back(id);
  }
  for (int id : due) {
    auto it = timers_.find(id);
    if (it == timers_.end() || it->second.due > now) continue;
    it->second.due = now + it->second.interval;
    const std::function<void()> onTick = it->second.onTick;
    onTick();
  }
}

void HeadlessDesktop::LetTimePass(std::chrono::milliseconds duration) {
  const std::chrono::milliseconds target = Now() + duration;
  if (mode_ == ClockMode::Manual) {
    while (RunNextDueTimer(target)) {
    }
    skipped_ = std::max(skipped_, target);
    return;
  }
  while (Now() < target) {
    std::chrono::milliseconds wakeAt = target;
    for (const auto& [id, timer] : timers_) wakeAt = std::min(wakeAt, timer.due);
    const std::chrono::milliseconds now = Now();
    if (wakeAt > now) std::this_thread::sleep_for(wakeAt - now);
    // Each due timer once per round, so ticks slower than their interval cannot keep the
    // loop from reaching the end of the wait.
    ProcessPendingMessages();
  }
}

int HeadlessDesktop::StartTimer(std::chrono::milliseconds interval, std::function<void()> onTick) {
  const int id = nextTimerId_++;
  if (interval.count() < 1) interval = std::chrono::milliseconds(1);
  timers_[id] = Timer{interval, Now() + interval, std::move(onTick)};
  return id;
}

void HeadlessDesktop::StopTimer(int timerId) {
  timers_.erase(timerId);
}

void HeadlessDesktop::RunModalLoop(Window& window) {
  if (modalDriver_) {
    modalDriver_(window);
  }
  if (window.Exists() && !window.HasEnded()) window.EndDialog(kIdCancel);
}

void HeadlessDesktop::Sleep(std::chrono::milliseconds duration) {
  // Nobody watches a headless window, so the pause costs no real time; timers still see it.
  if (duration.count() > 0) skipped_ += duration;
}

}  // namespace qx::ui
