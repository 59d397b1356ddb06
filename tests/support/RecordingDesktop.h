#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/Desktop.h"

namespace qx::test {

// A desktop for unit tests of code below the window system: records message boxes and answers
// them from a queue (OK, or No for Yes/No boxes, when nothing is queued).
class RecordingDesktop : public ui::Desktop {
 public:
  struct Box {
    std::string text;
    std::string caption;
    ui::MessageIcon icon;
    ui::MessageButtons buttons;
  };

  std::vector<Box> boxes;
  std::deque<ui::DialogAnswer> answers;
  std::deque<ui::FileDialogResult> fileAnswers;
  int waitCursorDepth = 0;
  int waitCursorChanges = 0;
  int pumps = 0;

  ui::DialogAnswer ShowMessageBox(ui::Window*, const std::string& text, const std::string& caption,
                                  ui::MessageIcon icon, ui::MessageButtons buttons) override {
    boxes.push_back({text, caption, icon, buttons});
    if (!answers.empty()) {
      auto answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return buttons == ui::MessageButtons::YesNo ? ui::DialogAnswer::No : ui::DialogAnswer::Ok;
  }
  ui::FileDialogResult ShowFileDialog(ui::Window*, const ui::FileDialogOptions&) override {
    if (fileAnswers.empty()) return {};
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }
  void SetWaitCursor(bool busy) override {
    waitCursorDepth += busy ? 1 : -1;
    ++waitCursorChanges;
  }
  void ProcessPendingMessages() override { ++pumps; }
  int StartTimer(std::chrono::milliseconds, std::function<void()> onTick) override {
    timers.push_back(std::move(onTick));
    return static_cast<int>(timers.size());
  }
  void StopTimer(int id) override {
    if (id > 0 && id <= static_cast<int>(timers.size()))
      timers[static_cast<size_t>(id - 1)] = nullptr;
  }
  // Runs every live timer once, as if its interval had passed.
  void TickTimers() {
    for (auto& timer : timers) {
      if (timer) timer();
    }
  }
  std::vector<std::function<void()>> timers;
  void RunModalLoop(ui::Window&) override {}
};

}  // namespace qx::test
