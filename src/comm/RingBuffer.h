#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace qx {

// A fixed-size byte queue between exactly one producer thread (the serial receive thread)
// and one consumer thread (the window thread), without locks.
//
// The two positions count bytes ever written and ever read; each is advanced only by its own
// side, so the unread count (written - read) is always exact and never above the capacity.
// When the consumer falls behind and the buffer is full, further bytes are dropped and
// counted: the bytes already queued stay intact and in order.
template <std::size_t Capacity>
class SpscByteRing {
  static_assert(Capacity > 0 && (Capacity & (Capacity - 1)) == 0,
                "capacity must be a power of two so the positions wrap cleanly");

 public:
  static constexpr std::size_t kCapacity = Capacity;

  // Producer side. Returns how many of the bytes were stored; the rest were dropped.
  std::size_t Push(const char* bytes, std::size_t count) {
    const std::uint32_t write = write_.load(std::memory_order_relaxed);
    const std::uint32_t read = read_.load(std::memory_order_acquire);
    const std::size_t room = Capacity - static_cast<std::uint32_t>(write - read);
    const std::size_t stored = count < room ? count : room;
    for (std::size_t i = 0; i < stored; ++i) {
      data_[(write + i) & (Capacity - 1)] = bytes[i];
    }
    // Release: the consumer that sees the new position also sees the bytes.
    write_.store(write + static_cast<std::uint32_t>(stored), std::memory_order_release);
    if (stored < count) dropped_.fetch_add(count - stored, std::memory_order_relaxed);
    return stored;
  }

  // Consumer side. Copies up to `capacity` unread bytes, oldest first.
  std::size_t Pop(char* buffer, std::size_t capacity) {
    const std::uint32_t read = read_.load(std::memory_order_relaxed);
    const std::uint32_t write = write_.load(std::memory_order_acquire);
    const std::size_t unread = static_cast<std::uint32_t>(write - read);
    const std::size_t taken = capacity < unread ? capacity : unread;
    for (std::size_t i = 0; i < taken; ++i) {
      buffer[i] = data_[(read + i) & (Capacity - 1)];
    }
    // Release: the producer may reuse these cells only after they were copied out.
    read_.store(read + static_cast<std::uint32_t>(taken), std::memory_order_release);
    return taken;
  }

  // Either side: bytes waiting. Exact for the consumer; a lower bound for the producer.
  std::size_t Unread() const {
    const std::uint32_t read = read_.load(std::memory_order_acquire);
    const std::uint32_t write = write_.load(std::memory_order_acquire);
    return static_cast<std::uint32_t>(write - read);
  }

  // Bytes lost because the buffer was full, since creation or the last Reset().
  std::uint64_t Dropped() const { return dropped_.load(std::memory_order_relaxed); }

  // Empties the buffer. Only while no producer runs (before the receive thread starts).
  void Reset() {
    read_.store(0, std::memory_order_relaxed);
    write_.store(0, std::memory_order_relaxed);
    dropped_.store(0, std::memory_order_relaxed);
  }

 private:
  std::array<char, Capacity> data_{};
  std::atomic<std::uint32_t> write_{0};
  std::atomic<std::uint32_t> read_{0};
  std::atomic<std::uint64_t> dropped_{0};
};

}  // namespace qx
