// child_process.h: bridge tests that need a fresh process or another environment re-run
// their own program with --child=<scenario> and read back what it prints, and how it ended.
#ifndef OSTRA_TESTS_BRIDGE_CHILD_PROCESS_H
#define OSTRA_TESTS_BRIDGE_CHILD_PROCESS_H

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace ostra1516e {

inline std::string selfPath() {
  char path[4096];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : "";
}

// The key=value lines of output (values of a key seen twice are joined).
inline std::map<std::string, std::string> keyValues(std::string const& output) {
  std::map<std::string, std::string> values;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    std::size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] += line.substr(equals + 1);
  }
  return values;
}

// Runs this program with --child=<scenario> under `setup` (shell words put before it,
// such as "cd DIR && env NAME=VALUE") and returns its output, standard error included,
// as key=value lines.
inline std::map<std::string, std::string> runChild(std::string const& scenario,
                                                   std::string const& setup,
                                                   std::string* all = nullptr) {
  std::string const command = setup + " '" + selfPath() + "' --child=" + scenario + " 2>&1";
  std::map<std::string, std::string> values;
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    values["exit"] = std::to_string(pclose(pipe));
  }
  for (auto const& [key, value] : keyValues(output)) values[key] += value;
  if (all) *all = output;
  return values;
}

// How a child started by runChildProcess ended.
struct ChildRun {
  std::string output;  // standard output and standard error
  int status = -1;     // as waitpid reports it
  bool hung = false;   // still running at the limit, and killed

  bool exitedWith(int code) const { return WIFEXITED(status) && WEXITSTATUS(status) == code; }
  bool killedBy(int signal) const { return WIFSIGNALED(status) && WTERMSIG(status) == signal; }
  std::string describe() const {
    if (hung) return "still running at the limit";
    if (WIFSIGNALED(status)) return std::string("killed by ") + strsignal(WTERMSIG(status));
    return "exited with " + std::to_string(WEXITSTATUS(status));
  }
};

// Runs this program with --child=<scenario> in `directory`, with `environment` (NAME=VALUE
// each) added to this process's, and core dumps off. Once the child prints a line that
// starts with "ready", it is sent `signal` (0: none). The exact wait status tells an exit
// with status 128 + n apart from a death by signal n, which a shell in between would not.
inline ChildRun runChildProcess(std::string const& scenario, std::vector<std::string> const& environment,
                                std::string const& directory, int signal = 0,
                                std::chrono::seconds limit = std::chrono::seconds(60)) {
  // Everything the child needs is prepared before fork: this process runs other threads.
  std::string const program = selfPath();
  std::string const argument = "--child=" + scenario;
  std::vector<std::string> entries;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string const entry = *e;
    bool replaced = false;
    for (std::string const& added : environment) {
      replaced = replaced || entry.compare(0, added.find('=') + 1, added, 0, added.find('=') + 1) == 0;
    }
    if (!replaced) entries.push_back(entry);
  }
  entries.insert(entries.end(), environment.begin(), environment.end());
  std::vector<char*> envp;
  for (std::string& entry : entries) envp.push_back(&entry[0]);
  envp.push_back(nullptr);
  char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(argument.c_str()), nullptr};

  ChildRun run;
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return run;
  pid_t const pid = fork();
  if (pid == 0) {
    dup2(pipeEnds[1], 1);
    dup2(pipeEnds[1], 2);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    struct rlimit const noCore = {0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    if (chdir(directory.c_str()) != 0) _exit(126);
    execve(program.c_str(), argv, envp.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  if (pid < 0) {
    close(pipeEnds[0]);
    return run;
  }
  auto const deadline = std::chrono::steady_clock::now() + limit;
  bool signalled = signal == 0;
  for (;;) {
    auto const left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      kill(pid, SIGKILL);
      run.hung = true;
      break;
    }
    pollfd readable = {pipeEnds[0], POLLIN, 0};
    if (poll(&readable, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[4096];
    ssize_t const n = read(pipeEnds[0], buffer, sizeof buffer);
    if (n <= 0) break;  // every writer is gone
    run.output.append(buffer, static_cast<std::size_t>(n));
    if (!signalled && (run.output.rfind("ready", 0) == 0 ||
                       run.output.find("\nready") != std::string::npos)) {
      kill(pid, signal);
      signalled = true;
    }
  }
  close(pipeEnds[0]);
  waitpid(pid, &run.status, 0);
  return run;
}

}  // namespace ostra1516e

#endif  // OSTRA_TESTS_BRIDGE_CHILD_PROCESS_H
