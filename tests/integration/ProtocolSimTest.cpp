// The command protocol over a real pseudo-terminal with the simulated camera, including the
// faults a real line shows: noise, lost replies, replies without line feed, error lines and a
// camera that goes away in the middle of a sequence.

#include <gtest/gtest.h>

#include <chrono>

#include "app/AppContext.h"
#include "comm/CommSettings.h"
#include "comm/Command.h"
#include "support/SimProcess.h"
#include "model/ParameterTable.h"
#include "support/TempDir.h"
#include "ui/HeadlessDesktop.h"
#include "ui/ResourceRegistry.h"
#include "ui/WindowSystem.h"

namespace qx {
namespace {

constexpr int kGA = 80;
constexpr int kPE = 11;
constexpr int kBaud = 115200;

struct NoControls : ControlValueWriter {
  int SetControlValue(int, int) override { return 1; }
};

class ProtocolSimTest : public ::testing::Test {
 protected:
  // Starts the camera with the given extra options and opens COM1 on it.
  void Connect(std::vector<std::string> options = {}) {
    options.insert(options.begin(), {"--baud", std::to_string(kBaud)});
    sim_ = std::make_unique<test::SimProcess>(options);
    ASSERT_TRUE(sim_->Ok());
    AppOptions app;
    app.registryPath = dir_.File("machine.reg");
    const std::string device = sim_->SlavePath();
    app.environment = [device](const std::string& name) -> std::optional<std::string> {
      if (name == "QXTOOL_COM1") return device;
      return std::nullopt;
    };
    context_ = std::make_unique<AppContext>(windows_, desktop_, app);
    ASSERT_EQ(context_->CommSettings().OpenChannel(CCommSettings::kRs232c, kBaud, 0), 1);
  }
  Command& Protocol() { return context_->Protocol(); }
  size_t Boxes() const { return desktop_.MessageBoxes().size(); }

  test::TempDir dir_;
  ui::ResourceRegistry resources_;
  ui::WindowSystem windows_{resources_};
  ui::HeadlessDesktop desktop_{ui::HeadlessDesktop::ClockMode::Real};
  std::unique_ptr<test::SimProcess> sim_;
  std::unique_ptr<AppContext> context_;
};

TEST_F(ProtocolSimTest, SetThenQueryRoundTripsThroughTheCamera) {
  Connect();
  EXPECT_EQ(Protocol().SetCommand(kPE, 5000, 2500), 1);
  int value = 0;
  EXPECT_EQ(Protocol().QueryValue(kPE, value, 2500), 1);
  EXPECT_EQ(value, 5000);
  std::string model;
  EXPECT_EQ(Protocol().QueryText(cmd::kMD, model, 1000), 1);
  EXPECT_EQ(model, "QX-4400M-RLNK");
  EXPECT_EQ(Boxes(), 0u);
}

TEST_F(ProtocolSimTest, ValueOutsideTheCamerasRangeIsShownAsItsErrorLine) {
  Connect();
  EXPECT_EQ(Protocol().SetCommand(kPE, -5, 2500), 0);
  ASSERT_EQ(Boxes(), 1u);
  EXPECT_EQ(desktop_.MessageBoxes()[0].caption, "Communication Error<2>");
  int value = 0;
  EXPECT_EQ(Protocol().QueryValue(kPE, value, 2500), 1);  // the line still works
}

TEST_F(ProtocolSimTest, LostRepliesTimeOutAndTheNextCommandWorks) {
  Connect({"--drop-every", "2"});
  int value = 0;
  EXPECT_EQ(Protocol().QueryValue(kGA, value, 2500), 1);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Protocol().QueryValue(kGA, value, 300), 0);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(300));
  EXPECT_LT(waited, std::chrono::milliseconds(800));
  EXPECT_EQ(Protocol().QueryValue(kGA, value, 2500), 1);
  EXPECT_EQ(Boxes(), 0u);
}

TEST_F(ProtocolSimTest, ReplyWithoutLineFeedTimesOutWithoutPoisoningTheNextOne) {
  Connect({"--no-lf-every", "2"});
  int value = 0;
  EXPECT_EQ(Protocol().QueryValue(kGA, value, 2500), 1);
  EXPECT_EQ(Protocol().QueryValue(kGA, value, 300), 0);
  EXPECT_EQ(Protocol().QueryValue(kGA, value, 2500), 1);
  EXPECT_EQ(value, 100);
}

TEST_F(ProtocolSimTest, NoiseBeforeAReplyIsReportedAndTheLineRecovers) {
  Connect({"--garbage-every", "2"});
  int value = 0;
  int answered = 0;
  for (int i = 0; i < 6; ++i) answered += Protocol().QueryValue(kGA, value, 1000);
  EXPECT_GE(answered, 3);  // every other reply is clean
  EXPECT_EQ(Protocol().SetCommand(kGA, 200, 2500) + Protocol().SetCommand(kGA, 200, 2500), 1);
}

TEST_F(ProtocolSimTest, CameraGoingAwayMidPushStopsAtTheFailedSendWithinItsTimeOut) {
  Connect({"--hangup-after", "2"});
  ParameterTable& table = context_->Parameters();
  table.CommitAll();
  table.SetDataValue(1349, 2);     // TI: sent and read back (two lines)
  table.SetDataValue(1338, 5000);  // PE: the camera is gone
  table.SetDataValue(1382, 77);    // TD: never sent
  NoControls controls;
  const auto start = std::chrono::steady_clock::now();
  table.PushChangedValues(Protocol(), controls, 400);
  // At worst the read-back's 2500 ms and the failed send's 400 ms: nothing waits longer.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500 + 400 + 500));
  EXPECT_EQ(table.GetDataValue(1349), 2);
  EXPECT_EQ(table.GetPreviousValue(1338), 5000);
  EXPECT_EQ(table.GetPreviousValue(1382), 0);
  int value = 0;
  EXPECT_EQ(Protocol().QueryValue(kGA, value, 200), 0);  // reads return nothing, no hang
}

}  // namespace
}  // namespace qx
