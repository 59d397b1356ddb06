#pragma once

// Helpers shared by the transport tests: a pseudo-terminal standing in for the camera's end
// of the line, a desktop that records message boxes, and environment lookups built from a
// table instead of the process environment.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Environment.h"
#include "platform/UniqueFd.h"
#include "ui/Desktop.h"

namespace qx::testing {

// A message box the code under test showed.
struct ShownMessage {
  std::string text;
  std::string caption;
  ui::MessageIcon icon;
};

class RecordingDesktop : public ui::Desktop {
 public:
  ui::DialogAnswer ShowMessageBox(ui::Window*, const std::string& text, const std::string& caption,
                                  ui::MessageIcon icon, ui::MessageButtons) override {
    messages.push_back({text, caption, icon});
    return ui::DialogAnswer::Ok;
  }
  ui::FileDialogResult ShowFileDialog(ui::Window*, const ui::FileDialogOptions&) override {
    return {};
  }
  void SetWaitCursor(bool) override {}
  void ProcessPendingMessages() override {}
  int StartTimer(std::chrono::milliseconds, std::function<void()>) override { return 0; }
  void StopTimer(int) override {}
  void RunModalLoop(ui::Window&) override {}

  std::vector<ShownMessage> messages;
};

// The far end of a serial line: the pseudo-terminal's master side. The code under test
// opens SlavePath() like any serial device.
class PtyPair {
 public:
  PtyPair() {
    master_.reset(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!master_ || ::grantpt(master_.get()) != 0 || ::unlockpt(master_.get()) != 0) {
      master_.reset();
      return;
    }
    char name[128] = {};
    if (::ptsname_r(master_.get(), name, sizeof name) != 0) {
      master_.reset();
      return;
    }
    slavePath_ = name;
  }

  bool Ok() const { return static_cast<bool>(master_); }
  const std::string& SlavePath() const { return slavePath_; }
  int MasterFd() const { return master_.get(); }

  void Send(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(master_.get(), bytes.data() + done, bytes.size() - done);
      if (n <= 0) return;
      done += static_cast<std::size_t>(n);
    }
  }

  // Collects what the code under test wrote, until `count` bytes came or the time-out passed.
  std::string Receive(std::size_t count, int timeoutMs = 5000) {
    std::string got;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (got.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            end - std::chrono::steady_clock::now())
                            .count();
      if (left <= 0) break;
      pollfd in{master_.get(), POLLIN, 0};
      if (::poll(&in, 1, static_cast<int>(left)) <= 0) break;
      char buffer[512];
      const ssize_t n = ::read(master_.get(), buffer, std::min(sizeof buffer, count - got.size()));
      if (n <= 0) break;
      got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
  }

  // Pulls the plug: the slave side sees a hang-up.
  void Hangup() { master_.reset(); }

 private:
  platform::UniqueFd master_;
  std::string slavePath_;
};

// An environment with exactly these variables.
inline platform::EnvLookup Environment(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](const std::string& name) -> std::optional<std::string> {
    auto it = variables.find(name);
    if (it == variables.end()) return std::nullopt;
    return it->second;
  };
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qxtransport-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace qx::testing
