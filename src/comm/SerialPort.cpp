#include "comm/SerialPort.h"

#include <algorithm>
#include <chrono>

#include "ui/Desktop.h"

namespace qx {

namespace {

const char* StepFunctionName(platform::SerialOpenStep step) {
  switch (step) {
    case platform::SerialOpenStep::Open:
      return "CreateFile";
    case platform::SerialOpenStep::EventSetup:
      return "SetCommMask";
    case platform::SerialOpenStep::QueueSetup:
      return "SetupComm";
    case platform::SerialOpenStep::Timeouts:
      return "SetCommTimeouts";
    case platform::SerialOpenStep::ReadSettings:
      return "GetCommState";
    case platform::SerialOpenStep::WriteSettings:
      return "SetCommState";
  }
  return "CreateFile";
}

// Big enough to take what a fast line delivers between two wake-ups in one read.
constexpr std::size_t kReadChunk = 256;

}  // namespace

std::string SerialOpenFailureMessage(const std::string& portName,
                                     const platform::SerialOpenFailure& failure) {
  std::string text = "Failed to initialize " + portName + " port!\nError in " +
                     StepFunctionName(failure.step) + "()";
  if (!failure.detail.empty()) text += "\n(" + failure.detail + ")";
  return text;
}

CSerialPort::CSerialPort(ui::Desktop& desktop, platform::ComPortMap ports)
    : desktop_(desktop), ports_(std::move(ports)) {}

CSerialPort::~CSerialPort() {
  Close();
}

int CSerialPort::Open(const std::string& portName, int baudRate, int dataBits, int stopBitsCode,
                      int softwareFlowControl, int parityCheck) {
  Close();
  platform::SerialLineSettings settings;
  settings.baudRate = baudRate;
  settings.dataBits = dataBits;
  settings.stopBitsCode = stopBitsCode;
  settings.softwareFlowControl = softwareFlowControl == 1;
  settings.parityCheck = parityCheck != 0;
  if (auto failure = device_.Open(ports_.DevicePath(portName), settings)) {
    desktop_.ShowMessageBox(nullptr, SerialOpenFailureMessage(portName, *failure), "",
                            ui::MessageIcon::Exclamation, ui::MessageButtons::Ok);
    return 0;
  }
  // The ring is emptied before the new receive thread exists, so no byte of an earlier
  // connection is read as part of this one.
  ring_.Reset();
  received_.store(0, std::memory_order_release);
  running_.store(true, std::memory_order_release);
  receiving_.store(true, std::memory_order_release);
  receiver_ = std::thread([this] { ReceiveLoop(); });
  return 1;
}

bool CSerialPort::Open(int portIndex, int baudRate) {
  // The name is built from the index even outside the list, so the failure message names
  // the port that was asked for.
  return Open("COM" + std::to_string(portIndex + 1), baudRate, 8, 0, 0, 0) == 1;
}

void CSerialPort::Close() {
  StopReceiving();
  device_.Close();
  // Bytes of the closed connection are of no use, and left in the ring they would let a
  // reader's wait end at once without data: a polling caller would then spin.
  ring_.Reset();
}

void CSerialPort::StopReceiving() {
  running_.store(false, std::memory_order_release);
  if (receiver_.joinable()) {
    device_.Wake();
    receiver_.join();
  }
  receiving_.store(false, std::memory_order_release);
}

void CSerialPort::ReceiveLoop() {
  char chunk[kReadChunk];
  while (running_.load(std::memory_order_acquire)) {
    const auto event = device_.Wait();
    if (event == platform::SerialDevice::WaitResult::WokenUp) continue;
    if (event == platform::SerialDevice::WaitResult::HungUp) break;
    const auto result = device_.Read(chunk, sizeof chunk);
    if (result.count > 0) {
      ring_.Push(chunk, result.count);
      received_.fetch_add(result.count, std::memory_order_release);
      NotifyWaiters();
    }
    if (result.hungUp) break;
  }
  receiving_.store(false, std::memory_order_release);
  NotifyWaiters();
}

void CSerialPort::NotifyWaiters() {
  // Taking the mutex orders this notify after a waiter's check of its condition, so a
  // waiter that just found nothing cannot miss the wake-up.
  { std::lock_guard<std::mutex> lock(arrivalMutex_); }
  arrival_.notify_all();
}

bool CSerialPort::WaitUntilReceived(std::uint64_t count, int timeoutMs) {
  std::unique_lock<std::mutex> lock(arrivalMutex_);
  return arrival_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return received_.load(std::memory_order_acquire) >= count; });
}

bool CSerialPort::WaitUntilReceiveEnded(int timeoutMs) {
  std::unique_lock<std::mutex> lock(arrivalMutex_);
  return arrival_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return !receiving_.load(std::memory_order_acquire); });
}

bool CSerialPort::Write(const char* bytes, int count) {
  if (!device_.IsOpen() || bytes == nullptr || count <= 0) return false;
  // The whole line goes to the driver at once; the UART paces the bytes. Other processes
  // cannot interleave: the device is held exclusively while open.
  std::lock_guard<std::mutex> lock(writeMutex_);
  (void)device_.WriteAll(bytes, static_cast<std::size_t>(count), kWriteTimeoutMs);
  return true;
}

int CSerialPort::Read(char* destination, int maxCount) {
  if (!device_.IsOpen() || destination == nullptr || maxCount <= 0) return 0;
  return static_cast<int>(ring_.Pop(destination, static_cast<std::size_t>(maxCount)));
}

int CSerialPort::ReadSome(char* buffer, int maxCount, int timeoutMs) {
  if (buffer == nullptr || maxCount <= 0) return 0;
  if (const int n = Read(buffer, maxCount); n > 0) return n;
  if (timeoutMs <= 0) return 0;
  // Wait on the condition variable, not in sleep steps: a reply is seen the moment its
  // bytes land. A closed or unplugged port has no producer, so the wait simply runs out,
  // which keeps a polling caller from spinning.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  {
    std::unique_lock<std::mutex> lock(arrivalMutex_);
    arrival_.wait_until(lock, deadline, [this] { return ring_.Unread() > 0; });
  }
  return Read(buffer, maxCount);
}

int CSerialPort::GetUnreadCount() const {
  return static_cast<int>(ring_.Unread());
}

std::uint64_t CSerialPort::GetDroppedCount() const {
  return ring_.Dropped();
}

}  // namespace qx
