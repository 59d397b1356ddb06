#pragma once

// Runs the real qxtool binary as the operator's automation does: arguments, an environment
// of the test's choosing and standard input from a text; collects exit code and output.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace qx::test {

struct ToolRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::string ToolPath() {
  return std::string(QX_BUILD_DIR) + "/src/qxtool";
}

// `workDir` holds the standard streams' files. The tool's QXTOOL_ variables are replaced by
// `env`, so a test never reaches the user's preferences or the machine's serial ports.
inline ToolRun RunTool(const std::string& workDir, const std::vector<std::string>& args,
                       const std::map<std::string, std::string>& env,
                       const std::string& input = "") {
  const std::string inPath = workDir + "/stdin.txt";
  const std::string outPath = workDir + "/stdout.txt";
  const std::string errPath = workDir + "/stderr.txt";
  std::ofstream(inPath, std::ios::binary) << input;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  std::vector<std::string> envStrings;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry(*e);
    if (entry.rfind("QXTOOL_", 0) != 0) envStrings.push_back(entry);
  }
  for (const auto& [name, value] : env) envStrings.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (std::string& s : envStrings) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::vector<std::string> argStrings{ToolPath()};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& s : argStrings) argv.push_back(s.data());
  argv.push_back(nullptr);

  ToolRun result;
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, argStrings[0].c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return result;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadTextFile(outPath);
  result.err = ReadTextFile(errPath);
  return result;
}

}  // namespace qx::test
