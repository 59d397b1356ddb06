#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/UniqueFd.h"

namespace qx::platform {

std::string CurrentWorkingDirectory() {
  std::vector<char> buffer(4096);
  if (::getcwd(buffer.data(), buffer.size()) == nullptr) return ".";
  return buffer.data();
}

bool PathExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

std::string FolderOf(std::string_view path) {
  const auto slash = path.rfind('/');
  if (slash == std::string_view::npos) return {};
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  const std::string parent = FolderOf(path);
  if (!parent.empty() && parent != path && !MakeFolders(parent)) return false;
  return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

namespace {

bool Fail(std::string* error, const std::string& what) {
  if (error) *error = what + ": " + std::strerror(errno);
  return false;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view contents, std::string* error) {
  std::string folder = FolderOf(path);
  if (folder.empty()) folder = ".";
  std::string temp = path + ".tmpXXXXXX";
  UniqueFd fd(::mkstemp(temp.data()));
  if (!fd) return Fail(error, "cannot create a temporary file beside " + path);
  // mkstemp creates 0600; a preferences or setting file is as readable as any other file.
  ::fchmod(fd.get(), 0644);
  const char* data = contents.data();
  size_t left = contents.size();
  while (left > 0) {
    const ssize_t written = ::write(fd.get(), data, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      const int saved = errno;
      ::unlink(temp.c_str());
      errno = saved;
      return Fail(error, "cannot write " + temp);
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  if (::fsync(fd.get()) != 0) {
    const int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    return Fail(error, "cannot flush " + temp);
  }
  fd.reset();
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    return Fail(error, "cannot replace " + path);
  }
  UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) ::fsync(dir.get());
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return false;
  contents = buffer.str();
  return true;
}

}  // namespace qx::platform
