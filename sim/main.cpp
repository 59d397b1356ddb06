// qxcam-sim: the simulated camera on a pseudo-terminal.

#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "sim/CameraCore.h"
#include "sim/PtyServer.h"
#include "sim/SimOptions.h"
#include "sim/SimulatedLink.h"
#include "sim/StateFile.h"
#include "sim/Transcript.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;  // written by the signal handler only

extern "C" void OnStopSignal(int) {
  g_stop = 1;
}

// The symbolic link of --link, removed again when the simulator ends, but only while it
// still points at this simulator's terminal (another run may have taken the name over).
class TerminalLink {
 public:
  TerminalLink(std::string path, std::string target)
      : path_(std::move(path)), target_(std::move(target)) {}
  TerminalLink(const TerminalLink&) = delete;
  TerminalLink& operator=(const TerminalLink&) = delete;
  ~TerminalLink() {
    char buffer[512];
    const ssize_t n = readlink(path_.c_str(), buffer, sizeof buffer);
    if (n > 0 && std::string(buffer, static_cast<std::size_t>(n)) == target_) {
      unlink(path_.c_str());
    }
  }
  bool Create() {
    char buffer[1];
    if (readlink(path_.c_str(), buffer, sizeof buffer) >= 0) unlink(path_.c_str());
    return symlink(target_.c_str(), path_.c_str()) == 0;
  }

 private:
  std::string path_;
  std::string target_;
};

}  // namespace

int main(int argc, char** argv) {
  using namespace qx::sim;
  const auto parsed = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    std::fprintf(stderr, "qxcam-sim: %s\n\n%s", parsed.error.c_str(), SimUsage().c_str());
    return 2;
  }
  const SimOptions& options = *parsed.options;
  if (options.help) {
    std::fputs(SimUsage().c_str(), stdout);
    return 0;
  }

  // SIGINT and SIGTERM are blocked except inside ppoll(), so a stop request can never be
  // lost between checking the flag and starting to wait.
  sigset_t blocked;
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGINT);
  sigaddset(&blocked, SIGTERM);
  sigset_t waitMask;
  sigprocmask(SIG_BLOCK, &blocked, &waitMask);
  sigdelset(&waitMask, SIGINT);
  sigdelset(&waitMask, SIGTERM);
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
#ifdef __linux__
  // Timed waits may otherwise end up to 50 us late; at 115200 baud that is half a byte,
  // and the tool's turnaround measurements would see it on every reply.
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif

  SteadyClock clock;
  CameraCore core(options.ToCameraConfig(), clock);
  if (!options.state.empty()) {
    if (const auto text = StateFile::Load(options.state)) {
      if (!core.LoadNonVolatile(*text)) {
        std::fprintf(stderr, "qxcam-sim: %s is not a camera state file; starting fresh\n",
                     options.state.c_str());
      }
    }
  }
  std::unique_ptr<Transcript> transcript;
  if (!options.transcript.empty()) {
    transcript = std::make_unique<Transcript>(options.transcript, clock);
    if (!transcript->Ok()) {
      std::fprintf(stderr, "qxcam-sim: cannot write %s\n", options.transcript.c_str());
      return 1;
    }
  }

  std::string error;
  auto server = PtyServer::Open(error);
  if (!server) {
    std::fprintf(stderr, "qxcam-sim: %s\n", error.c_str());
    return 1;
  }
  std::unique_ptr<TerminalLink> link;
  if (!options.link.empty()) {
    link = std::make_unique<TerminalLink>(options.link, server->SlavePath());
    if (!link->Create()) {
      std::fprintf(stderr, "qxcam-sim: cannot create the link %s\n", options.link.c_str());
      return 1;
    }
  }
  std::printf("%s\n", server->SlavePath().c_str());
  std::fflush(stdout);

  SimulatedLink line(core, options.faults, std::chrono::milliseconds(options.latencyMs),
                     transcript.get());
  if (!options.state.empty()) {
    line.OnNonVolatileChange([&](const std::string& text) {
      const std::string failure = StateFile::Save(options.state, text);
      if (!failure.empty()) std::fprintf(stderr, "qxcam-sim: %s\n", failure.c_str());
    });
  }
  const PtyServer::End end = server->Run(line, clock, g_stop, waitMask, error);
  server->Close();
  if (end == PtyServer::End::Failed) {
    std::fprintf(stderr, "qxcam-sim: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
