#include "sim/PtyServer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace qx::sim {
namespace {

std::string Failure(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

bool MakeRaw(int fd) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return false;
  cfmakeraw(&tio);
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  return tcsetattr(fd, TCSANOW, &tio) == 0;
}

}  // namespace

std::optional<PtyServer> PtyServer::Open(std::string& error) {
  UniqueFd master(posix_openpt(O_RDWR | O_NOCTTY));
  if (!master) {
    error = Failure("posix_openpt");
    return std::nullopt;
  }
  if (grantpt(master.get()) != 0 || unlockpt(master.get()) != 0) {
    error = Failure("grantpt/unlockpt");
    return std::nullopt;
  }
  char name[256];
  if (ptsname_r(master.get(), name, sizeof name) != 0) {
    error = Failure("ptsname");
    return std::nullopt;
  }
  const int flags = fcntl(master.get(), F_GETFL);
  if (flags < 0 || fcntl(master.get(), F_SETFL, flags | O_NONBLOCK) != 0 ||
      fcntl(master.get(), F_SETFD, FD_CLOEXEC) != 0) {
    error = Failure("fcntl");
    return std::nullopt;
  }
  // Holding the slave open keeps the master from reporting a hang-up whenever the tool
  // closes its side, which would otherwise end the session (or make poll() spin).
  UniqueFd slave(open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!slave || !MakeRaw(slave.get())) {
    error = Failure("open slave");
    return std::nullopt;
  }
  return PtyServer(std::move(master), std::move(slave), name);
}

void PtyServer::DrainBeforeHangup(const volatile std::sig_atomic_t& stop,
                                  const sigset_t& waitMask) {
  // Closing the master discards what the tool has not read yet; a real line delivers its
  // last bytes before it drops. The terminal hands written bytes to the reader's queue
  // asynchronously, so an empty queue counts only after a short settling time; after
  // that the reader gets up to a second to take what is left.
  const auto start = SimClock::now();
  const auto settled = start + std::chrono::milliseconds(50);
  const auto deadline = start + std::chrono::seconds(1);
  int pending = 0;
  while (!stop && SimClock::now() < deadline) {
    const bool empty = ioctl(slave_.get(), FIONREAD, &pending) != 0 || pending == 0;
    if (empty && SimClock::now() >= settled) break;
    const timespec step{0, 2'000'000};
    ppoll(nullptr, 0, &step, &waitMask);
  }
}

void PtyServer::Close() {
  master_.reset();
  slave_.reset();
}

PtyServer::End PtyServer::Run(SimulatedLink& link, const Clock& clock,
                              const volatile std::sig_atomic_t& stop, const sigset_t& waitMask,
                              std::string& error) {
  std::string out;
  char buffer[4096];
  while (!stop) {
    TimePoint now = clock.Now();
    out.clear();
    link.TakeDue(now, out);
    if (!out.empty()) {
      // A full terminal buffer means the other end is not reading: like a UART, the bytes
      // are sent anyway and lost.
      const ssize_t n = write(master_.get(), out.data(), out.size());
      if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
        error = Failure("write");
        return End::Failed;
      }
    }
    if (link.HungUp(now)) {
      DrainBeforeHangup(stop, waitMask);
      return End::HungUp;
    }

    pollfd fds{master_.get(), POLLIN, 0};
    timespec timeout{};
    timespec* timeoutPtr = nullptr;
    if (const auto wake = link.NextWake()) {
      const auto wait = std::max(Duration::zero(), *wake - now);
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
      timeout.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
      timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000);
      timeoutPtr = &timeout;
    }
    const int ready = ppoll(&fds, 1, timeoutPtr, &waitMask);
    if (ready < 0) {
      if (errno == EINTR) continue;
      error = Failure("ppoll");
      return End::Failed;
    }
    if (ready == 0) continue;
    if (fds.revents & POLLIN) {
      const ssize_t n = read(master_.get(), buffer, sizeof buffer);
      if (n > 0) {
        link.Receive(std::string_view(buffer, static_cast<std::size_t>(n)), clock.Now());
        continue;
      }
      if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
        error = Failure("read");
        return End::Failed;
      }
    }
    if (fds.revents & (POLLHUP | POLLERR)) {
      // Only reachable if our own slave descriptor went away: reopen it rather than spin.
      slave_.reset(open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
      if (!slave_) {
        error = Failure("reopen slave");
        return End::Failed;
      }
    }
  }
  return End::Stopped;
}

}  // namespace qx::sim
