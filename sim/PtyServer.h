#pragma once

#include <csignal>
#include <optional>
#include <string>

#include "platform/UniqueFd.h"
#include "sim/Clock.h"
#include "sim/SimulatedLink.h"

namespace qx::sim {

using platform::UniqueFd;

// Serves a SimulatedLink on a pseudo-terminal. The slave side is set to raw mode (no echo,
// no line editing, no newline translation) and one slave descriptor is kept open here,
// so the terminal stays usable while the tool closes and reopens it.
class PtyServer {
 public:
  enum class End { Stopped, HungUp, Failed };

  // Opens a new pseudo-terminal; nothing and an error text when that fails.
  static std::optional<PtyServer> Open(std::string& error);

  const std::string& SlavePath() const { return slavePath_; }

  // Moves bytes until `stop` becomes non-zero (set from a signal handler), the link hangs
  // up, or the terminal fails. Blocks in ppoll() with `waitMask` as the signal mask, so
  // signals blocked everywhere else are delivered only while waiting.
  End Run(SimulatedLink& link, const Clock& clock, const volatile std::sig_atomic_t& stop,
          const sigset_t& waitMask, std::string& error);

  // Closes the terminal: the tool sees the line drop.
  void Close();

 private:
  PtyServer(UniqueFd master, UniqueFd slave, std::string path)
      : master_(std::move(master)), slave_(std::move(slave)), slavePath_(std::move(path)) {}

  void DrainBeforeHangup(const volatile std::sig_atomic_t& stop, const sigset_t& waitMask);

  UniqueFd master_;
  UniqueFd slave_;
  std::string slavePath_;
};

}  // namespace qx::sim
