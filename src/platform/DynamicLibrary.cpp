#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

#include <utility>

namespace qx::platform {

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), lastError_(std::move(other.lastError_)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = std::exchange(other.handle_, nullptr);
    lastError_ = std::move(other.lastError_);
  }
  return *this;
}

DynamicLibrary::~DynamicLibrary() {
  Release();
}

bool DynamicLibrary::Load(const std::string& nameOrPath) {
  Release();
  lastError_.clear();
  if (nameOrPath.empty()) {
    lastError_ = "no library name";
    return false;
  }
  // RTLD_NOW: a library with unresolved references fails here, not at the first call.
  // RTLD_LOCAL: two generations of the serial library export the same names and must not
  // satisfy each other's lookups.
  handle_ = ::dlopen(nameOrPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* reason = ::dlerror();
    lastError_ = reason ? reason : "dlopen failed";
    return false;
  }
  return true;
}

void DynamicLibrary::Release() {
  if (handle_ != nullptr) ::dlclose(std::exchange(handle_, nullptr));
}

void* DynamicLibrary::Symbol(const char* name) const {
  if (handle_ == nullptr || name == nullptr) return nullptr;
  ::dlerror();
  return ::dlsym(handle_, name);
}

}  // namespace qx::platform
