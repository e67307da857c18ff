// The shared wire vectors, read through the callback side: every callback row delivered
// to its native method's dispatch must reach the ambassador with exactly the sample
// values that the file's header defines, and the single-value rows of the codes that
// callbacks carry must decode to the values their labels name.
#include "gen/cpp/CallbackDispatch.h"

#include "../support/Golden.h"
#include "../support/GoldenSamples.h"
#include "../support/RecordingAmbassador.h"

#include <RTI/time/HLAinteger64TimeFactory.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

namespace ostra1516e {
namespace {

using testing::expectedCall;
using testing::goldenRows;
using testing::n;
using testing::RecordingAmbassador;
using testing::show;

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
