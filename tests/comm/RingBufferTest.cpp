#include "comm/RingBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace qx {
namespace {

using Ring = SpscByteRing<16>;

std::string PopAll(Ring& ring) {
  std::string out(Ring::kCapacity, '\0');
  out.resize(ring.Pop(out.data(), out.size()));
  return out;
}

TEST(RingBuffer, BytesComeOutInOrderAcrossTheWrap) {
  Ring ring;
  // Move the positions close to the end of the storage so the next push wraps.
  ASSERT_EQ(ring.Push("0123456789ab", 12), 12u);
  EXPECT_EQ(PopAll(ring), "0123456789ab");
  ASSERT_EQ(ring.Push("ABCDEFGH", 8), 8u);
  EXPECT_EQ(ring.Unread(), 8u);
  char two[2];
  ASSERT_EQ(ring.Pop(two, 2), 2u);
  EXPECT_EQ(std::string(two, 2), "AB");
  EXPECT_EQ(PopAll(ring), "CDEFGH");
  EXPECT_EQ(ring.Unread(), 0u);
}

TEST(RingBuffer, Overrun_KeepsQueuedBytesAndCountsEveryDroppedByte) {
  Ring ring;
  ASSERT_EQ(ring.Push("abcdefghij", 10), 10u);
  // Only six cells are free: the rest of this push is dropped, not written over the
  // oldest bytes and not folded into a wrong unread count.
  EXPECT_EQ(ring.Push("KLMNOPQRST", 10), 6u);
  EXPECT_EQ(ring.Unread(), 16u);
  EXPECT_EQ(ring.Dropped(), 4u);
  EXPECT_EQ(ring.Push("x", 1), 0u);
  EXPECT_EQ(ring.Dropped(), 5u);
  EXPECT_EQ(PopAll(ring), "abcdefghijKLMNOP");
  // Room again after reading.
  EXPECT_EQ(ring.Push("uv", 2), 2u);
  EXPECT_EQ(PopAll(ring), "uv");
}

TEST(RingBuffer, Reset_EmptiesBufferAndDropCount) {
  Ring ring;
  ring.Push("0123456789abcdefXYZ", 19);
  ring.Reset();
  EXPECT_EQ(ring.Unread(), 0u);
  EXPECT_EQ(ring.Dropped(), 0u);
  char byte;
  EXPECT_EQ(ring.Pop(&byte, 1), 0u);
}

// One producer and one consumer hammer the buffer. The consumer must get exactly the bytes
// the producer managed to store, in order, and every other byte must be counted as dropped.
// Run under the sanitizers this also shows the buffer is race-free.
TEST(RingBuffer, ConcurrentProducerAndConsumer_DeliverStoredBytesInOrderAndCountTheRest) {
  SpscByteRing<64> ring;
  constexpr int kBytes = 200000;
  std::string stored;  // written by the producer only, read after join
  std::thread producer([&] {
    for (int sent = 0; sent < kBytes;) {
      char chunk[7];
      int n = 0;
      for (; n < 7 && sent + n < kBytes; ++n) chunk[n] = static_cast<char>((sent + n) * 31 % 251);
      const std::size_t kept = ring.Push(chunk, static_cast<std::size_t>(n));
      stored.append(chunk, kept);
      sent += n;
    }
  });
  std::string received;
  for (;;) {
    char buffer[32];
    received.append(buffer, ring.Pop(buffer, sizeof buffer));
    if (received.size() + ring.Dropped() == static_cast<std::size_t>(kBytes) &&
        ring.Unread() == 0) {
      break;
    }
  }
  producer.join();
  EXPECT_EQ(received, stored);
  EXPECT_EQ(received.size() + ring.Dropped(), static_cast<std::size_t>(kBytes));
}

}  // namespace
}  // namespace qx
