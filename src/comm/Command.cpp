#include "comm/Command.h"

#include <cctype>

#include "comm/TrafficLog.h"
#include "ui/Desktop.h"

namespace qx {

namespace {

constexpr const char* kOverflowText = "RS-232C receiving buffer overflowed";
constexpr const char* kOverflowCaption = "Communication Error";
constexpr const char* kQueryErrorCaption = "Communication Error<1>";
constexpr const char* kSetErrorCaption = "Communication Error<2>";

std::string_view WithoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return line;
}

bool IsComplete(std::string_view line) {
  static constexpr std::string_view kComplete = "COMPLETE";
  if (line.size() < kComplete.size()) return false;
  for (size_t i = 0; i < kComplete.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(line[i])) != kComplete[i]) return false;
  }
  return true;
}

// Switches a command to text values for one transaction and restores its kind on every path.
class TextKindScope {
 public:
  TextKindScope(CommandTable& table, int commandId)
      : table_(table), commandId_(commandId), saved_(table.GetValueKind(commandId)) {
    table_.SetValueKind(commandId_, ValueKind::Text);
  }
  ~TextKindScope() { table_.SetValueKind(commandId_, saved_); }
  TextKindScope(const TextKindScope&) = delete;
  TextKindScope& operator=(const TextKindScope&) = delete;

 private:
  CommandTable& table_;
  int commandId_;
  ValueKind saved_;
};

// Shows the wait cursor for a scope.
class WaitCursor {
 public:
  explicit WaitCursor(ui::Desktop& desktop) : desktop_(desktop) { desktop_.SetWaitCursor(true); }
  ~WaitCursor() { desktop_.SetWaitCursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  ui::Desktop& desktop_;
};

}  // namespace

Command::Command(CommandTable& table, CommandChannel& channel, ui::Desktop& desktop,
                 OnlineStatusReporter& status, TrafficLog& log)
    : table_(table), channel_(channel), desktop_(desktop), status_(status), log_(log) {}

Command::~Command() {
  StopReceiveTimer();
}

void Command::StartReceiveTimer() {
  if (timerId_ != 0) return;
  // Between commands the poll only drains what has already arrived: a 25 ms timer that blocked
  // for a 10 ms byte window would hold the window thread 40 % of the time.
  timerId_ = desktop_.StartTimer(kReceivePollInterval, [this] {
    while (ReceivePollWithin(0)) {
    }
  });
}

void Command::StopReceiveTimer() {
  if (timerId_ != 0) desktop_.StopTimer(timerId_);
  timerId_ = 0;
}

void Command::ResetReceive() {
  receivePosition_ = 0;
  replyQueue_.clear();
}

int Command::ReceivePoll() {
  return ReceivePollWithin(kByteWindowMs);
}

int Command::ReceivePollWithin(int byteWindowMs) {
  for (;;) {
    char byte = 0;
    const int got = channel_.ReadBytes(&byte, 1, byteWindowMs);
    if (got > 0) {
      if (byte == '\n') {
        // The line ends before its carriage return. A line sent without one keeps its last
        // character: only a CR is dropped, never data.
        int end = receivePosition_;
        if (end > 0 && receiveBuffer_[end - 1] == '\r') --end;
        std::string line(receiveBuffer_, static_cast<size_t>(end));
        receivePosition_ = 0;
        log_.Log(TrafficDirection::Rx, line);
        replyQueue_.push_back(std::move(line));
        return 1;
      }
      receiveBuffer_[receivePosition_++] = byte;
    }
    if (receivePosition_ >= kReceiveBufferSize) {
      // Reset before the box: its modal loop may run the receive timer again.
      receivePosition_ = 0;
      desktop_.ShowMessageBox(nullptr, kOverflowText, kOverflowCaption,
                              ui::MessageIcon::Exclamation, ui::MessageButtons::Ok);
      return 0;
    }
    if (got <= 0) return 0;
  }
}

bool Command::WaitForLine(int timeoutMs) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  for (;;) {
    if (ReceivePoll()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
  }
}

std::string Command::TakeOldestLine() {
  if (replyQueue_.empty()) return {};
  std::string line = std::move(replyQueue_.front());
  replyQueue_.pop_front();
  return line;
}

std::string Command::BuildSetLine(int commandId, const CommandValue& value, bool appendCrLf) const {
  std::string line =
      table_.Mnemonic(commandId) + "=" +
      FormatValue(value, table_.GetValueKind(commandId), table_.DecimalPlaces(commandId));
  if (appendCrLf) line += "\r\n";
  return line;
}

std::string Command::BuildQueryLine(int commandId, bool appendCrLf) const {
  std::string line = table_.Mnemonic(commandId) + "?";
  if (appendCrLf) line += "\r\n";
  return line;
}

int Command::SendSetLine(int commandId, const CommandValue& value, int timeoutMs) {
  ResetReceive();
  if (!channel_.WriteLine(BuildSetLine(commandId, value, true))) return 0;
  return WaitForComplete(timeoutMs);
}

int Command::SetCommand(int commandId, int value, int timeoutMs) {
  CommandValue v;
  v.kind = table_.GetValueKind(commandId);
  v.integer = value;
  v.real = value;
  v.text = std::to_string(value);
  return SendSetLine(commandId, v, timeoutMs);
}

int Command::SetTextCommand(int commandId, const std::string& value, int timeoutMs) {
  TextKindScope textKind(table_, commandId);
  CommandValue v;
  v.kind = ValueKind::Text;
  v.text = value;
  return SendSetLine(commandId, v, timeoutMs);
}

int Command::WaitForComplete(int timeoutMs) {
  bool complete = false;
  std::string line;
  {
    WaitCursor cursor(desktop_);
    if (!WaitForLine(timeoutMs)) {
      status_.ReportOffline();
      return 0;
    }
    line = TakeOldestLine();
    complete = IsComplete(line);
  }
  if (!complete) {
    desktop_.ShowMessageBox(nullptr, line, kSetErrorCaption, ui::MessageIcon::Exclamation,
                            ui::MessageButtons::Ok);
  }
  status_.ReportOnline();
  return complete ? 1 : 0;
}

int Command::QueryCommand(int commandId, CommandValue& value, int timeoutMs) {
  const std::string& mnemonic = table_.Mnemonic(commandId);
  if (mnemonic.empty()) return 0;
  ResetReceive();
  const std::string query = BuildQueryLine(commandId, true);
  if (!channel_.WriteLine(query)) return 0;
  if (!WaitForLine(timeoutMs)) {
    status_.ReportOffline();
    return 0;
  }
  const std::string line = TakeOldestLine();
  ReplyInfo info;
  if (qx::ParseReply(table_, line, info) && info.name == mnemonic) {
    value = info.value;
    status_.ReportOnline();
    return 1;
  }
  desktop_.ShowMessageBox(nullptr, info.rawLine + " for " + std::string(WithoutLineEnd(query)),
                          kQueryErrorCaption, ui::MessageIcon::Exclamation, ui::MessageButtons::Ok);
  return 0;
}

int Command::QueryValue(int commandId, int& value, int timeoutMs) {
  CommandValue v;
  if (!QueryCommand(commandId, v, timeoutMs)) return 0;
  value = v.integer;
  return 1;
}

int Command::QueryText(int commandId, std::string& value, int timeoutMs) {
  CommandValue v;
  if (!QueryCommand(commandId, v, timeoutMs)) return 0;
  value = v.text;
  return 1;
}

int Command::SendRawCommand(std::string_view line, int& value, int timeoutMs) {
  ResetReceive();
  if (!channel_.WriteLine(line)) return 0;
  if (!WaitForLine(timeoutMs)) {
    status_.ReportOffline();
    return 0;
  }
  ReplyInfo info;
  qx::ParseReply(table_, TakeOldestLine(), info);
  value = ParseAutoBase(info.firstValue);
  status_.ReportOnline();
  return 1;
}

int Command::ParseReply(std::string_view line, ReplyInfo& info) const {
  return qx::ParseReply(table_, line, info) ? 1 : 0;
}

int Command::ParseLine(std::string_view line, int& commandId, std::string& name, int& value,
                       std::string& text) const {
  ReplyInfo info;
  if (!qx::ParseReply(table_, line, info)) return 0;
  commandId = info.commandId;
  name = info.name;
  value = info.value.integer;
  text = info.value.kind == ValueKind::Text ? info.value.text : info.firstValue;
  return 1;
}

int Command::ParseTwoValues(std::string_view line, int& first, int& second) const {
  ReplyInfo info;
  if (!qx::ParseReply(table_, line, info)) return 0;
  first = ParseAutoBase(info.firstValue);
  second = ParseAutoBase(info.secondValue);
  return 1;
}

}  // namespace qx
