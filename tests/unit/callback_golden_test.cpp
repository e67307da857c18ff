// The shared wire vectors, read through the callback side: every callback row delivered
// to its native method's dispatch must reach the ambassador with exactly the sample
// values that the file's header defines, and the single-value rows of the codes that
// callbacks carry must decode to the values their labels name.
#include "gen/cpp/CallbackDispatch.h"

#include "../support/Golden.h"
#include "../support/RecordingAmbassador.h"

#include <RTI/time/HLAinteger64TimeFactory.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

namespace ostra1516e {
namespace {

using testing::goldenRows;
using testing::RecordingAmbassador;
using testing::show;

std::string hexByte(int value) {
  char text[4];
  std::snprintf(text, sizeof text, "%02x", value);
  return text;
}

std::string n(long value) { return std::to_string(value); }

// The sample value of a code at position p, as RecordingAmbassador writes it.
std::string sample(std::string const& code, int p) {
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
std::string expectedCall(CallbackRow const& row) {
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

TEST(CallbackGoldenTest, EveryCallbackRowReachesItsMethodWithTheSampleValues) {
  FederateAmbassadorRegistry::resetForTesting();
  CallbackTarget unused, target;
  RecordingAmbassador ambassador;
  target.federateAmbassador = &ambassador;
  target.federateFpControl = _mm_getcsr();
  target.replaceTimeFactory(std::make_shared<rti1516e::HLAinteger64TimeFactory>());
  FederateAmbassadorRegistry::add(&unused);
  ASSERT_EQ(FederateAmbassadorRegistry::add(&target), 2) << "the golden arrays carry handle 2";

  std::map<std::string, std::vector<uint8_t>> arrays;
  for (auto const& row : goldenRows("callback")) arrays[row.name] = row.bytes;
  ASSERT_EQ(arrays.size(), kCallbackCount);

  for (size_t i = 0; i < kCallbackCount; ++i) {
    CallbackRow const& row = kCallbackRows[i];
    SCOPED_TRACE(row.nativeName);
    auto found = arrays.find(row.nativeName);
    ASSERT_NE(found, arrays.end()) << "no golden array";
    std::vector<uint8_t> bytes = found->second;
    ArrayPin pin(bytes.data(), bytes.size());
    ambassador.calls.clear();
    CallbackFailure failure = row.deliver(pin);
    EXPECT_FALSE(failure.has_value()) << show(std::wstring(failure->begin(), failure->end()));
    EXPECT_EQ(ambassador.calls, std::vector<std::string>{expectedCall(row)});
  }
  FederateAmbassadorRegistry::resetForTesting();
}

TEST(CallbackGoldenTest, SingleValuesDecodeToTheirLabels) {
  CallbackTarget target;
  target.replaceTimeFactory(std::make_shared<rti1516e::HLAinteger64TimeFactory>());
  auto as = [&](auto tag) {
    using Code = decltype(tag);
    return std::function<std::string(rti1516e::ByteWrapper&)>([&](rti1516e::ByteWrapper& c) {
      auto value = Decoder<Code>::decode(target, c);
      return show(Decoder<Code>::argument(value));
    });
  };
  std::map<std::string, std::pair<std::function<std::string(rti1516e::ByteWrapper&)>, std::string>> const
      expected = {
          {"S.abc", {as(code::S()), "\"abc\""}},
          {"S.empty", {as(code::S()), "\"\""}},
          {"S.non_bmp", {as(code::S()), "\"\\u{1F600}\""}},
          {"BX.empty", {as(code::BX()), "[]"}},
          {"BX.00_ff", {as(code::BX()), "[00 ff]"}},
          {"OT.TIMESTAMP", {as(code::OT()), n(rti1516e::TIMESTAMP)}},
          {"OT.RECEIVE", {as(code::OT()), n(rti1516e::RECEIVE)}},
          {"TTH.BEST_EFFORT", {as(code::TTH()), n(rti1516e::BEST_EFFORT)}},
          {"AHS.7_3", {as(code::AHS()), "{3, 7}"}},
          {"AHVM.5_0102", {as(code::AHVM()), "{5=[01 02]}"}},
          {"OIH.minus_one", {as(code::OIH()), "-1"}},
          {"LT.integer_5", {as(code::LT()), "HLAinteger64Time<5>"}},
          {"MRH.invalid", {as(code::MRH()), "mrh(0:[])"}},
          {"MRH.serial_7", {as(code::MRH()), "mrh(7:[01 02 03])"}},
          {"FASRI_REFLECT.regions_only", {as(code::FASRIReflect()), "reflect(federate=-, regions={9})"}},
          {"FASRI_REFLECT.producer_only", {as(code::FASRIReflect()), "reflect(federate=3, regions=-)"}},
          {"FASRI_REMOVE.none", {as(code::FASRIRemove()), "remove(federate=-)"}},
          {"FASRI_REMOVE.producer_4", {as(code::FASRIRemove()), "remove(federate=4)"}},
          {"FRSX.empty", {as(code::FRSX()), "[]"}},
      };
  size_t checked = 0;
  for (auto const& row : goldenRows("code")) {
    auto it = expected.find(row.name);
    if (it == expected.end()) continue;  // a service-side code
    SCOPED_TRACE(row.name);
    std::vector<uint8_t> bytes = row.bytes;
    rti1516e::ByteWrapper cursor(bytes.data(), bytes.size());
    EXPECT_EQ(it->second.first(cursor), it->second.second);
    EXPECT_EQ(cursor.remaining(), 0u);
    ++checked;
  }
  EXPECT_EQ(checked, expected.size()) << "labels missing from the golden file";
}

}  // namespace
}  // namespace ostra1516e
