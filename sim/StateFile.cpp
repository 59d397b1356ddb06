#include "sim/StateFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "sim/UniqueFd.h"

namespace qx::sim {
namespace {

std::string Failure(const char* what, const std::string& path) {
  return std::string(what) + " " + path + ": " + std::strerror(errno);
}

}  // namespace

std::optional<std::string> StateFile::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return text.str();
}

std::string StateFile::Save(const std::string& path, const std::string& text) {
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  std::string temp = path + ".XXXXXX";
  UniqueFd fd(mkstemp(temp.data()));
  if (!fd) return Failure("cannot create a temporary file for", path);
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = write(fd.get(), text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const std::string error = Failure("cannot write", temp);
      unlink(temp.c_str());
      return error;
    }
    written += static_cast<std::size_t>(n);
  }
  if (fsync(fd.get()) != 0 || close(fd.release()) != 0) {
    const std::string error = Failure("cannot flush", temp);
    unlink(temp.c_str());
    return error;
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    const std::string error = Failure("cannot replace", path);
    unlink(temp.c_str());
    return error;
  }
  // The rename itself lives in the folder; flush it too.
  UniqueFd dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) fsync(dir.get());
  return {};
}

}  // namespace qx::sim
