#pragma once

#include <string>

namespace qx::platform {

// Owns one dlopen handle and releases it exactly once. Entry points are looked up by name
// and cast by the caller to its own function-pointer typedefs, so no vendor header's types
// are trusted.
class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  ~DynamicLibrary();

  // Loads a library by path, or by bare file name through the dynamic loader's search
  // (LD_LIBRARY_PATH, the loader cache, the system folders). Releases any library held
  // before. False when it cannot be loaded; LastError() then says why.
  bool Load(const std::string& nameOrPath);
  void Release();
  bool IsLoaded() const { return handle_ != nullptr; }
  const std::string& LastError() const { return lastError_; }

  // The address of an exported symbol, or nullptr when the library has none of that name.
  void* Symbol(const char* name) const;

  // Looks up a function and converts it to the caller's pointer type; false when missing.
  template <class Function>
  bool Resolve(const char* name, Function*& entry) const {
    entry = reinterpret_cast<Function*>(Symbol(name));
    return entry != nullptr;
  }

 private:
  void* handle_ = nullptr;
  std::string lastError_;
};

}  // namespace qx::platform
