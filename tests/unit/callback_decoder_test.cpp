#include "gen/cpp_handwritten/Decoder.h"

#include "../support/RecordingAmbassador.h"
#include "../support/WireBytes.h"

#include <RTI/time/HLAinteger64Time.h>
#include <RTI/time/HLAinteger64TimeFactory.h>

#include <gtest/gtest.h>

namespace ostra1516e {
namespace {

using testing::show;
using testing::WireBytes;

// Decodes one value of Code from an exact heap copy of the bytes and checks that every
// byte was consumed.
template <typename Code>
typename Decoder<Code>::Owned decodeAll(WireBytes const& in,
                                        CallbackTarget const& target = CallbackTarget()) {
  auto bytes = in.copy();
  rti1516e::ByteWrapper cursor(bytes.get(), in.size());
  auto value = Decoder<Code>::decode(target, cursor);
  EXPECT_EQ(cursor.remaining(), 0u) << "bytes left after the value";
  return value;
}

TEST(CallbackDecoderTest, StringsJoinOnlyWellFormedSurrogatePairs) {
  // Lone surrogates and a reversed pair pass through unit by unit.
  std::wstring lone = decodeAll<code::S>(WireBytes().string(u"\xD800x\xDC00\xD800"));
  EXPECT_EQ(lone, (std::wstring{wchar_t(0xD800), L'x', wchar_t(0xDC00), wchar_t(0xD800)}));
}

TEST(CallbackDecoderTest, SetsAreOrderedAndCollapseDuplicates) {
  auto names = decodeAll<code::SSet>(WireBytes().word(3).string(u"b").string(u"a").string(u"b"));
  EXPECT_EQ(show(names), "{\"a\", \"b\"}");
  auto attributes = decodeAll<code::AHS>(WireBytes().word(3).word(7).word(3).word(7));
  EXPECT_EQ(show(attributes), "{3, 7}");
  EXPECT_TRUE(decodeAll<code::FHS>(WireBytes().word(0)).empty());
}

TEST(CallbackDecoderTest, ValueMapsKeepTheLastOfARepeatedKey) {
  auto repeated = decodeAll<code::PHVM>(
      WireBytes().word(3).word(9).block({1}).word(4).block({}).word(9).block({2, 3}));
  EXPECT_EQ(show(repeated), "{4=[], 9=[02 03]}");
}

TEST(CallbackDecoderTest, LogicalTimesComeFromTheTargetsFactory) {
  CallbackTarget target;
  target.replaceTimeFactory(std::make_shared<rti1516e::HLAinteger64TimeFactory>());
  auto time = decodeAll<code::LT>(WireBytes().raw({0, 0, 0, 0, 0, 0, 0, 5}), target);
  ASSERT_NE(dynamic_cast<rti1516e::HLAinteger64Time*>(time.get()), nullptr);
  EXPECT_EQ(static_cast<rti1516e::HLAinteger64Time&>(*time).getTime(), 5);

  // Without a factory nothing says how long the time is: the callback is refused.
  auto bytes = WireBytes().raw({0, 0, 0, 0, 0, 0, 0, 5});
  auto copy = bytes.copy();
  rti1516e::ByteWrapper cursor(copy.get(), bytes.size());
  EXPECT_THROW(Decoder<code::LT>::decode(CallbackTarget(), cursor), UndeliverableCallback);
  // A time longer than what remains is not handed to the factory.
  rti1516e::ByteWrapper shortCursor(copy.get(), 7);
  EXPECT_THROW(Decoder<code::LT>::decode(target, shortCursor), rti1516e::WireFormatError);
}

TEST(CallbackDecoderTest, SupplementalInfoReadsWhatItsFlagsAnnounce) {
  struct Case {
    WireBytes bytes;
    std::string reflect;
  } const cases[] = {
      {WireBytes().word(0).word(0), "reflect(federate=-, regions=-)"},
      {WireBytes().word(-1).word(5).word(12).word(0), "reflect(federate=12, regions={})"},
  };
  for (auto const& c : cases) {
    SCOPED_TRACE(c.reflect);
    EXPECT_EQ(show(decodeAll<code::FASRIReflect>(c.bytes)), c.reflect);
    std::string receive = "receive" + c.reflect.substr(7);
    EXPECT_EQ(show(decodeAll<code::FASRIReceive>(c.bytes)), receive);
  }
  // A clear flag leaves the default values in place.
  auto info = decodeAll<code::FASRIReflect>(WireBytes().word(1).word(0).word(12));
  EXPECT_TRUE(info.sentRegions.empty());
  EXPECT_EQ(show(decodeAll<code::FASRIRemove>(WireBytes().word(2).word(8))), "remove(federate=8)");
}

// Every enumeration: its last valid number, and a number outside the table, which is
// reported on standard error and delivered as the table's fallback.
TEST(CallbackDecoderTest, EnumerationsMapByTheirTablesAndFallBack) {
  struct Case {
    std::string name;
    int32_t number;
    std::function<int(WireBytes const&)> decode;
    int expected;
    bool reported;
  };
  auto ot = [](WireBytes const& b) { return int(decodeAll<code::OT>(b)); };
  auto tth = [](WireBytes const& b) { return int(decodeAll<code::TTH>(b)); };
  auto spfr = [](WireBytes const& b) { return int(decodeAll<code::SPFR>(b)); };
  auto sfr = [](WireBytes const& b) { return int(decodeAll<code::SFR>(b)); };
  auto rfr = [](WireBytes const& b) { return int(decodeAll<code::RFR>(b)); };
  auto restore = [](WireBytes const& b) {
    return int(decodeAll<code::FRSX>(WireBytes().word(1).word(1).word(1).raw(b.bytes()))[0].status);
  };
  auto save = [](WireBytes const& b) {
    return int(decodeAll<code::FHSSPX>(WireBytes().word(1).word(1).raw(b.bytes()))[0].second);
  };
  Case const cases[] = {
      {"OT 0", 0, ot, rti1516e::RECEIVE, false},
      {"OT 1", 1, ot, rti1516e::TIMESTAMP, false},
      {"OT 2", 2, ot, rti1516e::RECEIVE, true},
      {"OT -1", -1, ot, rti1516e::RECEIVE, true},
      {"TTH 1", 1, tth, rti1516e::RELIABLE, false},
      {"TTH 2", 2, tth, rti1516e::BEST_EFFORT, false},
      {"TTH 0", 0, tth, rti1516e::RELIABLE, true},
      {"SPFR 1", 1, spfr, rti1516e::SYNCHRONIZATION_SET_MEMBER_NOT_JOINED, false},
      {"SPFR 2", 2, spfr, 0, true},
      {"SFR 5", 5, sfr, rti1516e::SAVE_ABORTED, false},
      {"SFR 6", 6, sfr, 0, true},
      {"RFR 4", 4, rfr, rti1516e::RESTORE_ABORTED, false},
      {"RFR -3", -3, rfr, 0, true},
      {"RestoreStatus 5", 5, restore, rti1516e::FEDERATE_WAITING_FOR_FEDERATION_TO_RESTORE, false},
      {"RestoreStatus 6", 6, restore, 0, true},
      {"SaveStatus 3", 3, save, rti1516e::FEDERATE_WAITING_FOR_FEDERATION_TO_SAVE, false},
      {"SaveStatus 4", 4, save, 0, true},
  };
  for (auto const& c : cases) {
    SCOPED_TRACE(c.name);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(c.decode(WireBytes().word(c.number)), c.expected);
    std::string const err = ::testing::internal::GetCapturedStderr();
    if (c.reported) {
      EXPECT_NE(err.find("Internal error: a callback array carries " + std::to_string(c.number)),
                std::string::npos)
          << err;
    } else {
      EXPECT_EQ(err, "");
    }
  }
}

// Each malformed input is refused with WireFormatError, read from an exact heap copy so
// that AddressSanitizer sees any read past its end.
TEST(CallbackDecoderTest, MalformedLengthsAndCountsAreRefusedBeforeReading) {
  struct Case {
    std::string name;
    WireBytes bytes;
    std::function<void(CallbackTarget const&, rti1516e::ByteWrapper&)> decode;
  };
  auto s = [](CallbackTarget const& t, rti1516e::ByteWrapper& c) { Decoder<code::S>::decode(t, c); };
  auto bx = [](CallbackTarget const& t, rti1516e::ByteWrapper& c) { Decoder<code::BX>::decode(t, c); };
  auto ahvm = [](CallbackTarget const& t, rti1516e::ByteWrapper& c) { Decoder<code::AHVM>::decode(t, c); };
  auto ahs = [](CallbackTarget const& t, rti1516e::ByteWrapper& c) { Decoder<code::AHS>::decode(t, c); };
  auto sset = [](CallbackTarget const& t, rti1516e::ByteWrapper& c) { Decoder<code::SSet>::decode(t, c); };
  auto mrh = [](CallbackTarget const& t, rti1516e::ByteWrapper& c) { Decoder<code::MRH>::decode(t, c); };
  auto feis = [](CallbackTarget const& t, rti1516e::ByteWrapper& c) { Decoder<code::FEIS>::decode(t, c); };
  auto frsx = [](CallbackTarget const& t, rti1516e::ByteWrapper& c) { Decoder<code::FRSX>::decode(t, c); };
  auto fasri = [](CallbackTarget const& t, rti1516e::ByteWrapper& c) { Decoder<code::FASRIReflect>::decode(t, c); };
  Case const cases[] = {
      {"string length negative", WireBytes().word(-1), s},
      {"string longer than the array", WireBytes().word(2).raw({0, 0x61}), s},
      {"string length near 2^31", WireBytes().word(0x7FFFFFFF), s},
      {"string with no length", WireBytes().raw({0, 0}), s},
      {"byte block negative", WireBytes().word(-5).raw({1, 2, 3}), bx},
      {"byte block one past the end", WireBytes().word(4).raw({1, 2, 3}), bx},
      {"map count negative", WireBytes().word(-1), ahvm},
      {"map count larger than the entries", WireBytes().word(1000).word(1).block({}), ahvm},
      {"map value past the end", WireBytes().word(1).word(1).word(3).raw({1, 2}), ahvm},
      {"map value length negative", WireBytes().word(1).word(1).word(-1).raw({1, 2}), ahvm},
      {"set count negative", WireBytes().word(-2), ahs},
      {"set count one too many", WireBytes().word(2).word(1), ahs},
      {"string set count huge", WireBytes().word(0x40000000), sset},
      {"retraction payload past the end", WireBytes().word(1).word(3).raw({1, 2}), mrh},
      {"retraction payload length negative", WireBytes().word(1).word(-1).raw({1, 2}), mrh},
      {"retraction header cut", WireBytes().word(1).raw({0, 0}), mrh},
      {"execution list count huge", WireBytes().word(0x7FFFFFFF), feis},
      {"restore list one element short", WireBytes().word(1).word(1).word(2), frsx},
      {"regions announced but missing", WireBytes().word(0).word(1), fasri},
  };
  for (auto const& c : cases) {
    SCOPED_TRACE(c.name);
    auto bytes = c.bytes.copy();
    rti1516e::ByteWrapper cursor(bytes.get(), c.bytes.size());
    EXPECT_THROW(c.decode(CallbackTarget(), cursor), rti1516e::WireFormatError);
  }
}

}  // namespace
}  // namespace ostra1516e
