// child_process.h: bridge tests that need a fresh process or another environment re-run
// their own program with --child=<scenario> and read back what it prints.
#ifndef OSTRA_TESTS_BRIDGE_CHILD_PROCESS_H
#define OSTRA_TESTS_BRIDGE_CHILD_PROCESS_H

#include <unistd.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>

namespace ostra1516e {

inline std::string selfPath() {
  char path[4096];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : "";
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
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    std::size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] += line.substr(equals + 1);
  }
  if (all) *all = output;
  return values;
}

}  // namespace ostra1516e

#endif  // OSTRA_TESTS_BRIDGE_CHILD_PROCESS_H
