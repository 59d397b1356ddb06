#include "sim/SimOptions.h"

#include <charconv>
#include <limits>

namespace qx::sim {
namespace {

bool ParseWhole(std::string_view text, long long min, long long max, int& out) {
  long long value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return false;
  if (value < min || value > max) return false;
  out = static_cast<int>(value);
  return true;
}

}  // namespace

CameraConfig SimOptions::ToCameraConfig() const {
  CameraConfig config = CameraConfig::ForModel(model);
  config.baud = baud;
  config.autoBusyTime = std::chrono::milliseconds(autoMs);
  return config;
}

SimOptionsResult ParseSimOptions(const std::vector<std::string>& args) {
  SimOptions options;
  constexpr int kMaxCount = std::numeric_limits<int>::max();
  struct Numeric {
    std::string_view name;
    int* target;
    long long min;
    long long max;
  };
  const Numeric numerics[] = {
      {"--baud", &options.baud, 50, 4000000},
      {"--latency", &options.latencyMs, 0, 600000},
      {"--auto-ms", &options.autoMs, 0, 600000},
      {"--drop-every", &options.faults.dropEvery, 0, kMaxCount},
      {"--error-every", &options.faults.errorEvery, 0, kMaxCount},
      {"--garbage-every", &options.faults.garbageEvery, 0, kMaxCount},
      {"--no-lf-every", &options.faults.noLfEvery, 0, kMaxCount},
      {"--hangup-after", &options.faults.hangupAfter, 0, kMaxCount},
  };
  struct Text {
    std::string_view name;
    std::string* target;
  };
  const Text texts[] = {{"--model", &options.model},
                        {"--link", &options.link},
                        {"--transcript", &options.transcript},
                        {"--state", &options.state}};

  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      continue;
    }
    std::string_view name = arg;
    std::optional<std::string_view> value;
    if (const auto eq = arg.find('='); arg.substr(0, 2) == "--" && eq != std::string_view::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
    }
    auto takeValue = [&]() -> std::optional<std::string_view> {
      if (value) return value;
      if (i + 1 >= args.size()) return std::nullopt;
      return std::string_view(args[++i]);
    };
    bool known = false;
    for (const Numeric& n : numerics) {
      if (name != n.name) continue;
      known = true;
      const auto v = takeValue();
      if (!v) return {std::nullopt, std::string(name) + " needs a value"};
      if (!ParseWhole(*v, n.min, n.max, *n.target)) {
        return {std::nullopt, std::string(name) + ": not a number from " + std::to_string(n.min) +
                                  " to " + std::to_string(n.max) + ": " + std::string(*v)};
      }
    }
    for (const Text& t : texts) {
      if (name != t.name) continue;
      known = true;
      const auto v = takeValue();
      if (!v || v->empty()) return {std::nullopt, std::string(name) + " needs a value"};
      *t.target = std::string(*v);
    }
    if (!known) return {std::nullopt, "unknown option: " + std::string(arg)};
  }
  return {options, {}};
}

std::vector<std::string> SplitOptionString(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (char c : text) {
    if (quote) {
      if (c == quote) {
        quote = 0;
      } else {
        word += c;
      }
    } else if (c == '\'' || c == '"') {
      quote = c;
      inWord = true;
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

std::string SimUsage() {
  return R"(Usage: qxcam-sim [options]

A simulated QX-4400M-RLNK / QX-8800M-RLNK camera on a pseudo-terminal. The first line on
standard output is the terminal's device path; open it like a serial port. Runs until
SIGINT or SIGTERM.

Camera:
  --model M            4400 (QX-4400M-RLNK, 1456 x 1088, default), 8800 (QX-8800M-RLNK,
                       2064 x 1544) or any other name (reported by MD?, large sensor)
  --state FILE         load the camera's flash memory (user sets, factory area, identity,
                       stored blemishes) from FILE at start and save it there after every
                       flash write (SA, SA00, BMS, ID, UD, DV, MD00, XMLVR); written
                       atomically, so a crash never leaves a broken file
  --auto-ms N          how long a one-shot auto function stays busy, in ms (default 1500)

Line:
  --baud N             pace both directions at N baud, 10 bits a byte (default 9600)
  --link PATH          also make PATH a symbolic link to the terminal (removed at exit)
  --transcript FILE    write one line per line received (RX) or sent (TX), with a UTC
                       time stamp of the moment its last byte crossed the wire

Faults (N counts received lines; 0 = off):
  --latency MS         wait MS milliseconds before every reply
  --drop-every N       send no reply to every Nth line
  --error-every N      answer every Nth line with an error line, without executing it
  --garbage-every N    send noise bytes before every Nth reply
  --no-lf-every N      send every Nth reply without its line feed
  --hangup-after N     close the line after answering N lines, then exit

  --help               show this text
)";
}

}  // namespace qx::sim
