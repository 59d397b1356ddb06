#pragma once

#include <chrono>
#include <deque>
#include <string>
#include <string_view>

#include "comm/CommandChannel.h"
#include "comm/ReplyParser.h"
#include "model/CommandTable.h"

namespace qx {

class TrafficLog;
namespace ui {
class Desktop;
}

// The camera command protocol: builds set and query lines from the command table, sends them
// through the channel, collects the camera's reply lines and checks them. One command is
// outstanding at a time; every operation blocks until its reply or its time-out and returns
// 1 or 0. Waits wake as soon as a line is complete: they never sleep in fixed steps.
class Command {
 public:
  static constexpr int kReceiveBufferSize = 1024;
  static constexpr std::chrono::milliseconds kReceivePollInterval{25};
  static constexpr int kByteWindowMs = 10;

  Command(CommandTable& table, CommandChannel& channel, ui::Desktop& desktop,
          OnlineStatusReporter& status, TrafficLog& log);
  ~Command();
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  // Polls every 25 ms on the window thread so that lines arriving between commands are logged
  // and queued. Stops with the object.
  void StartReceiveTimer();
  void StopReceiveTimer();

  int SetCommand(int commandId, int value, int timeoutMs);
  int SetTextCommand(int commandId, const std::string& value, int timeoutMs);
  int QueryCommand(int commandId, CommandValue& value, int timeoutMs);
  int QueryValue(int commandId, int& value, int timeoutMs);
  int QueryText(int commandId, std::string& value, int timeoutMs);
  // Sends a complete caller-built line (with its CR LF); 1 when any line came back, with the
  // first value of that line read with automatic base.
  int SendRawCommand(std::string_view line, int& value, int timeoutMs);
  // Waits for a line and checks that the oldest queued line is "COMPLETE".
  int WaitForComplete(int timeoutMs);
  // Reads what has arrived; 1 when a line was completed.
  int ReceivePoll();
  void ResetReceive();

  int ParseReply(std::string_view line, ReplyInfo& info) const;
  int ParseLine(std::string_view line, int& commandId, std::string& name, int& value,
                std::string& text) const;
  int ParseTwoValues(std::string_view line, int& first, int& second) const;

  const std::string& GetMnemonic(int commandId) const { return table_.Mnemonic(commandId); }
  std::string BuildSetLine(int commandId, const CommandValue& value, bool appendCrLf) const;
  std::string BuildQueryLine(int commandId, bool appendCrLf) const;

  // Lines completed but not yet taken by a command.
  size_t QueuedLineCount() const { return replyQueue_.size(); }

 private:
  int SendSetLine(int commandId, const CommandValue& value, int timeoutMs);
  // Reads bytes while they keep coming within the byte window; 1 when a line was completed.
  int ReceivePollWithin(int byteWindowMs);
  // Polls until a line completes or the time-out passes.
  bool WaitForLine(int timeoutMs);
  std::string TakeOldestLine();

  CommandTable& table_;
  CommandChannel& channel_;
  ui::Desktop& desktop_;
  OnlineStatusReporter& status_;
  TrafficLog& log_;

  char receiveBuffer_[kReceiveBufferSize] = {};
  int receivePosition_ = 0;
  std::deque<std::string> replyQueue_;
  int timerId_ = 0;
};

}  // namespace qx
