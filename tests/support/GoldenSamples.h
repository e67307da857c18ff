// GoldenSamples: what a federate ambassador should receive from each callback row of the
// wire vectors file, written as RecordingAmbassador writes calls. The sample values follow
// the rule in the file's header (value by type code and argument position p).
#ifndef OSTRA_TESTS_GOLDENSAMPLES_H
#define OSTRA_TESTS_GOLDENSAMPLES_H

#include "gen/cpp/CallbackDispatch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace ostra1516e {
namespace testing {

inline std::string hexByte(int value) {
  char text[4];
  std::snprintf(text, sizeof text, "%02x", value);
  return text;
}

inline std::string n(long value) { return std::to_string(value); }

// The sample value of a code at position p, as RecordingAmbassador writes it.
inline std::string sample(std::string const& code, int p) {
  std::string const s = "\"" + std::string(1, char('A' + p)) + "\\u{E9}\\u{1F600}\"";
  if (code == "S") return s;
  if (code == "SSet") return "{\"\", " + s + "}";
  if (code == "BX") return "[" + hexByte(0xB0 + p) + " 00 ff]";
  if (code == "OIH" || code == "OCH" || code == "ICH" || code == "AH" || code == "FH") return n(100 + p);
  if (code == "AHS" || code == "FHS") return "{" + n(200 + p) + ", " + n(0x7FFFFF00L + p) + "}";
  if (code == "AHVM" || code == "PHVM") return "{" + n(300 + p) + "=[" + hexByte(p) + "], " + n(301 + p) + "=[]}";
  if (code == "LT") return "HLAinteger64Time<" + n(1000 + p) + ">";
  if (code == "MRH") return "mrh(" + n(600 + p) + ":[ca fe])";
  if (code == "OT") return n(rti1516e::RECEIVE + p % 2);
  if (code == "TTH") return n(rti1516e::RELIABLE + p % 2);
  if (code == "SPFR") return n(p % 2);
  if (code == "SFR") return n(p % 6);
  if (code == "RFR") return n(p % 5);
  if (code == "reflect" || code == "receive") {
    return code + "(federate=" + n(700 + p) + ", regions={" + n(710 + p) + ", " + n(711 + p) + "})";
  }
  if (code == "remove") return "remove(federate=" + n(700 + p) + ")";
  if (code == "FEIS") return "[(" + s + ", \"HLAinteger64Time\"), (\"\", \"HLAfloat64Time\")]";
  if (code == "FRSX") {
    return "[(" + n(800 + p) + ", " + n(801 + p) + ", " + n(p % 6) + "), (" + n(810 + p) + ", " +
           n(811 + p) + ", " + n((p + 1) % 6) + ")]";
  }
  if (code == "FHSSPX") return "[(" + n(900 + p) + ", " + n(p % 4) + "), (" + n(901 + p) + ", " + n((p + 1) % 4) + ")]";
  ADD_FAILURE() << "no sample for code " << code;
  return "?";
}

// The call the ambassador should see for a row: its codes read off the row's name, with
// the string-set and the three supplemental forms told apart by the method.
inline std::string expectedCall(CallbackRow const& row) {
  std::string const method = row.method;
  std::vector<std::string> codes;
  std::istringstream names(row.codeNames());
  std::string code;
  while (std::getline(names, code, '_')) {
    if (code.empty()) continue;
    if (code == "S" && method.rfind("multiple", 0) == 0) code = "SSet";
    if (code == "FASRI") {
      code = method == "reflectAttributeValues" ? "reflect"
             : method == "receiveInteraction"   ? "receive"
                                                : "remove";
    }
    codes.push_back(code);
  }
  std::string call = method + "(";
  for (size_t p = 0; p < codes.size(); ++p) call += (p ? ", " : "") + sample(codes[p], int(p));
  return call + ")";
}

}  // namespace testing
}  // namespace ostra1516e

#endif  // OSTRA_TESTS_GOLDENSAMPLES_H
