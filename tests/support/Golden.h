// Golden: the rows of the wire vectors file that the C++ and Java tests share.
//
//   for (GoldenRow const& row : goldenRows("callback")) { ... row.name ... row.bytes ... }
#ifndef OSTRA_TESTS_GOLDEN_H
#define OSTRA_TESTS_GOLDEN_H

#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace ostra1516e {
namespace testing {

struct GoldenRow {
  std::string name;
  std::vector<uint8_t> bytes;
};

// goldenRows returns the rows of one kind (code, service, callback) in file order.
inline std::vector<GoldenRow> goldenRows(std::string const& kind,
                                         std::string const& path = OSTRA_GOLDEN_FILE) {
  std::ifstream file(path);
  if (!file) throw std::runtime_error("cannot read " + path);
  std::vector<GoldenRow> rows;
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string rowKind, name, hex;
    fields >> rowKind >> name >> hex;
    if (rowKind != kind) continue;
    GoldenRow row{name, {}};
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
      row.bytes.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace testing
}  // namespace ostra1516e

#endif  // OSTRA_TESTS_GOLDEN_H
