// The benchmarks' own command-line options, taken out of the arguments before the rest go
// to Google Benchmark.
#ifndef OSTRA_BENCH_OPTIONS_H
#define OSTRA_BENCH_OPTIONS_H

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace ostra1516e {
namespace bench {

// Takes --name=VALUE out of the arguments (arguments[0] is the program); true when found.
inline bool takeOption(std::vector<char*>& arguments, char const* name, std::string* value) {
  size_t const length = std::strlen(name);
  for (auto it = arguments.begin() + 1; it != arguments.end(); ++it) {
    if (std::strncmp(*it, name, length) == 0 && (*it)[length] == '=') {
      value->assign(*it + length + 1);
      arguments.erase(it);
      return true;
    }
  }
  return false;
}

inline bool takeOption(std::vector<char*>& arguments, char const* name, long* value) {
  std::string text;
  if (!takeOption(arguments, name, &text)) return false;
  *value = std::atol(text.c_str());
  return true;
}

// Takes --name out of the arguments; true when it was there.
inline bool takeFlag(std::vector<char*>& arguments, char const* name) {
  for (auto it = arguments.begin() + 1; it != arguments.end(); ++it) {
    if (std::strcmp(*it, name) == 0) {
      arguments.erase(it);
      return true;
    }
  }
  return false;
}

}  // namespace bench
}  // namespace ostra1516e

#endif  // OSTRA_BENCH_OPTIONS_H
