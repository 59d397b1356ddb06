// Times the read-all's queries against the simulated camera on a pseudo-terminal whose bytes
// are paced at the serial line's rate, and compares the time with the wire-time bound: the
// bytes sent and received times 10 bits over the baud rate. A ratio near 1 means the tool adds
// nothing noticeable to the line's own time.
//
// Usage: read_all_bench [runs at 115200 (default 3)] [runs at 9600 (default 1)]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/ControlMode.h"
#include "comm/CommSettings.h"
#include "comm/Command.h"
#include "features/CameraModel.h"
#include "features/FeatureContext.h"
#include "features/FeatureControls.h"
#include "features/Reload.h"
#include "support/SimProcess.h"
#include "model/ParameterTable.h"
#include "support/NullReloadHost.h"
#include "ui/HeadlessDesktop.h"
#include "ui/ResourceRegistry.h"
#include "ui/WindowSystem.h"

namespace {

// Counts the bytes on the wire: every logged line plus its CR LF.
class WireCounter : public qx::TrafficLogSink {
 public:
  void OnTrafficLine(qx::TrafficDirection, std::string_view line) override {
    bytes += line.size() + 2;
    ++lines;
  }
  size_t bytes = 0;
  size_t lines = 0;
};

struct RunResult {
  double seconds = 0;
  size_t bytes = 0;
  int queries = 0;
  int failed = 0;
};

bool RunOnce(int baud, RunResult& result) {
  qx::test::SimProcess sim({"--baud", std::to_string(baud), "--model", "4400"});
  if (!sim.Ok()) {
    std::fprintf(stderr, "cannot start qxcam-sim\n");
    return false;
  }
  char registry[] = "/tmp/qxbench-XXXXXX";
  const int fd = ::mkstemp(registry);
  if (fd >= 0) ::close(fd);

  qx::ui::ResourceRegistry resources;
  qx::ui::WindowSystem windows(resources);
  qx::ui::HeadlessDesktop desktop(qx::ui::HeadlessDesktop::ClockMode::Real);
  qx::AppOptions options;
  options.registryPath = registry;
  const std::string device = sim.SlavePath();
  options.environment = [device](const std::string& name) -> std::optional<std::string> {
    if (name == "QXTOOL_COM1") return device;
    return std::nullopt;
  };
  bool ok = false;
  {
    qx::AppContext context(windows, desktop, options);
    WireCounter wire;
    context.Traffic().AddSink(&wire);
    if (context.CommSettings().OpenChannel(qx::CCommSettings::kRs232c, baud, 0)) {
      qx::Command& command = context.Protocol();
      qx::FeatureControls controls;
      qx::MainWindowFields fields;
      qx::FeatureContext features{context.Parameters(), controls, command, context.Model(),
                                  context.Mode(),       fields,   desktop};
      qx::test::NullReloadHost host;
      qx::CameraReload reload(features, host);
      reload.IdentifyModel();
      wire.bytes = 0;

      const auto& rows = context.Parameters().Rows();
      const auto start = std::chrono::steady_clock::now();
      for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        if (!reload.IsReadInBulk(i)) continue;
        const int commandId = rows[static_cast<size_t>(i)].commandId;
        if (!command.GetMnemonic(commandId).empty()) ++result.queries;
        int value = 0;
        if (!command.QueryValue(commandId, value, qx::CameraReload::kReadTimeoutMs) &&
            !command.GetMnemonic(commandId).empty()) {
          ++result.failed;
        }
      }
      result.seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      result.bytes = wire.bytes;
      ok = true;
    }
    context.Traffic().RemoveSink(&wire);
    context.CommSettings().CloseChannel();
  }
  std::remove(registry);
  return ok;
}

void Report(int baud, int runs) {
  for (int run = 1; run <= runs; ++run) {
    RunResult result;
    if (!RunOnce(baud, result)) return;
    const double bound = static_cast<double>(result.bytes) * 10.0 / baud;
    std::printf(
        "baud %6d  run %d: %d queries (%d failed), %zu bytes on the wire, %.3f s, "
        "wire-time bound %.3f s, ratio %.3f\n",
        baud, run, result.queries, result.failed, result.bytes, result.seconds, bound,
        result.seconds / bound);
    std::fflush(stdout);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int fastRuns = argc > 1 ? std::atoi(argv[1]) : 3;
  const int slowRuns = argc > 2 ? std::atoi(argv[2]) : 1;
  Report(115200, fastRuns);
  Report(9600, slowRuns);
  return 0;
}
