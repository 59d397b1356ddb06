#include "platform/DynamicLibrary.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace qx::platform {
namespace {

// The C maths library is on every system the tool runs on and is found through the
// loader's search like the Camera Link libraries.
constexpr const char* kSystemLibrary = "libm.so.6";

TEST(DynamicLibrary, LoadsThroughTheLoaderSearchAndResolvesAFunction) {
  DynamicLibrary library;
  ASSERT_TRUE(library.Load(kSystemLibrary)) << library.LastError();
  using CosFn = double(double);
  CosFn* cosine = nullptr;
  ASSERT_TRUE(library.Resolve("cos", cosine));
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
}

TEST(DynamicLibrary, MissingExportResolvesToNothing) {
  DynamicLibrary library;
  ASSERT_TRUE(library.Load(kSystemLibrary));
  void (*entry)() = nullptr;
  EXPECT_FALSE(library.Resolve("clSerialWrite", entry));
  EXPECT_EQ(entry, nullptr);
}

TEST(DynamicLibrary, FileThatIsNotALibraryFailsWithAReason) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("qx-not-a-library-" + std::to_string(::getpid()) + ".so");
  std::ofstream(path) << "this is text, not code\n";
  DynamicLibrary library;
  EXPECT_FALSE(library.Load(path.string()));
  EXPECT_FALSE(library.IsLoaded());
  EXPECT_FALSE(library.LastError().empty());
  EXPECT_EQ(library.Symbol("clSerialInit"), nullptr);
  std::filesystem::remove(path);
}

TEST(DynamicLibrary, MissingLibraryFails) {
  DynamicLibrary library;
  EXPECT_FALSE(library.Load("libqx-no-such-library.so"));
  EXPECT_FALSE(library.Load(""));
}

TEST(DynamicLibrary, MoveHandsTheHandleOverAndReleaseEmptiesIt) {
  DynamicLibrary first;
  ASSERT_TRUE(first.Load(kSystemLibrary));
  DynamicLibrary second(std::move(first));
  EXPECT_FALSE(first.IsLoaded());  // NOLINT(bugprone-use-after-move): checking the moved-from state
  EXPECT_TRUE(second.IsLoaded());
  EXPECT_NE(second.Symbol("cos"), nullptr);
  second.Release();
  EXPECT_FALSE(second.IsLoaded());
  EXPECT_EQ(second.Symbol("cos"), nullptr);
}

}  // namespace
}  // namespace qx::platform
