#include <RTI/encoding/BasicDataElements.h>

#include "encoding_test_support.h"

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace rti1516e {
namespace {

using namespace testing_support;

struct LayoutRow {
  char const* name;
  std::function<std::unique_ptr<DataElement>()> make;  // holds a non-zero value
  std::function<std::unique_ptr<DataElement>()> makeEmpty;
  Bytes bytes;
  unsigned boundary;
};

template <class E, class T>
LayoutRow row(char const* name, T value, Bytes bytes, unsigned boundary) {
  return LayoutRow{name, [value] { return std::unique_ptr<DataElement>(new E(value)); },
                   [] { return std::unique_ptr<DataElement>(new E()); }, bytes, boundary};
}

std::vector<LayoutRow> layoutRows() {
  return {
      row<HLAASCIIchar>("HLAASCIIchar", 'A', {0x41}, 1),
      row<HLAASCIIstring>("HLAASCIIstring", std::string("abc"), {0, 0, 0, 3, 0x61, 0x62, 0x63}, 4),
      row<HLAboolean>("HLAboolean", true, {0, 0, 0, 1}, 4),
      row<HLAbyte>("HLAbyte", '\x80', {0x80}, 1),
      row<HLAfloat32BE>("HLAfloat32BE", 1.0f, {0x3F, 0x80, 0, 0}, 4),
      row<HLAfloat32LE>("HLAfloat32LE", 1.0f, {0, 0, 0x80, 0x3F}, 4),
      row<HLAfloat64BE>("HLAfloat64BE", -2.0, {0xC0, 0, 0, 0, 0, 0, 0, 0}, 8),
      row<HLAfloat64LE>("HLAfloat64LE", -2.0, {0, 0, 0, 0, 0, 0, 0, 0xC0}, 8),
      row<HLAinteger16BE>("HLAinteger16BE", Integer16(-2), {0xFF, 0xFE}, 2),
      row<HLAinteger16LE>("HLAinteger16LE", Integer16(0x0102), {0x02, 0x01}, 2),
      row<HLAinteger32BE>("HLAinteger32BE", Integer32(16909060), {1, 2, 3, 4}, 4),
      row<HLAinteger32LE>("HLAinteger32LE", Integer32(16909060), {4, 3, 2, 1}, 4),
      row<HLAinteger64BE>("HLAinteger64BE", Integer64(0x0102030405060708), {1, 2, 3, 4, 5, 6, 7, 8}, 8),
      row<HLAinteger64LE>("HLAinteger64LE", Integer64(-2), {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 8),
      row<HLAoctet>("HLAoctet", '\x7F', {0x7F}, 1),
      row<HLAoctetPairBE>("HLAoctetPairBE", OctetPair('a', 'b'), {0x61, 0x62}, 2),
      row<HLAoctetPairLE>("HLAoctetPairLE", OctetPair('a', 'b'), {0x62, 0x61}, 2),
      row<HLAunicodeChar>("HLAunicodeChar", L'\x20AC', {0x20, 0xAC}, 2),
      row<HLAunicodeString>("HLAunicodeString", std::wstring(L"abc"),
                            {0, 0, 0, 3, 0, 0x61, 0, 0x62, 0, 0x63}, 4),
  };
}

TEST(BasicDataElementTest, LayoutLengthBoundaryAndRoundTrip) {
  for (LayoutRow const& r : layoutRows()) {
    SCOPED_TRACE(r.name);
    std::unique_ptr<DataElement> element = r.make();
    EXPECT_EQ(bytesOf(element->encode()), r.bytes);
    VariableLengthData into("stale", 5);
    element->encode(into);
    EXPECT_EQ(bytesOf(into), r.bytes);
    EXPECT_EQ(element->getEncodedLength(), r.bytes.size());
    EXPECT_EQ(element->getOctetBoundary(), r.boundary);

    std::unique_ptr<DataElement> received = r.makeEmpty();
    EXPECT_NE(bytesOf(received->encode()), r.bytes);
    received->decode(dataOf(r.bytes));
    EXPECT_EQ(bytesOf(received->encode()), r.bytes);
    EXPECT_EQ(received->hash(), element->hash());

    // Bytes after the value are ignored by decode; decodeFrom says where it stopped.
    Bytes longer = r.bytes;
    longer.push_back(0xEE);
    received = r.makeEmpty();
    received->decode(dataOf(longer));
    EXPECT_EQ(bytesOf(received->encode()), r.bytes);
    EXPECT_EQ(r.makeEmpty()->decodeFrom(bufferOf(longer), 0), r.bytes.size());

    std::unique_ptr<DataElement> copy(element->clone().release());
    EXPECT_TRUE(copy->isSameTypeAs(*element));
    EXPECT_EQ(bytesOf(copy->encode()), r.bytes);
  }
}

TEST(BasicDataElementTest, EncodeIntoPadsFromTheBufferStart) {
  std::vector<Octet> buffer(5, '\x11');
  HLAinteger32BE(16909060).encodeInto(buffer);
  EXPECT_EQ(bytesOf(buffer), (Bytes{0x11, 0x11, 0x11, 0x11, 0x11, 0, 0, 0, 1, 2, 3, 4}));

  buffer.assign(1, '\x11');
  HLAfloat64LE(1.0).encodeInto(buffer);
  EXPECT_EQ(buffer.size(), 16u);
  EXPECT_EQ(bytesOf(buffer), (Bytes{0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));

  buffer.assign(3, '\x11');
  HLAoctet('\x22').encodeInto(buffer);  // boundary 1: no padding
  EXPECT_EQ(bytesOf(buffer), (Bytes{0x11, 0x11, 0x11, 0x22}));
}

TEST(BasicDataElementTest, DecodeFromReadsAtTheIndexItself) {
  std::vector<Octet> buffer = bufferOf({9, 0, 1, 0, 2});
  HLAinteger16BE element;
  EXPECT_EQ(element.decodeFrom(buffer, 1), 3u);  // no skipping to a boundary
  EXPECT_EQ(element.get(), 1);
  EXPECT_EQ(element.decodeFrom(buffer, 3), 5u);
  EXPECT_EQ(element.get(), 2);
}

TEST(BasicDataElementTest, MalformedInputThrowsAndLeavesTheElementUnchanged) {
  struct Case {
    char const* name;
    std::function<std::unique_ptr<DataElement>()> make;
    Bytes bytes;
    size_t index;  // decodeFrom only
    bool viaDecode;
    wchar_t const* message;
  };
  auto i32 = [] { return std::unique_ptr<DataElement>(new HLAinteger32BE(77)); };
  auto ascii = [] { return std::unique_ptr<DataElement>(new HLAASCIIstring("keep")); };
  auto wide = [] { return std::unique_ptr<DataElement>(new HLAunicodeString(L"keep")); };
  std::vector<Case> cases = {
      {"int32 from 3 bytes", i32, {1, 2, 3}, 0, true, L"Index is out of bounds"},
      {"int32 from nothing", i32, {}, 0, true, L"Index is out of bounds"},
      {"int32 at the end", i32, {1, 2, 3, 4}, 4, false, L"Index is out of bounds"},
      {"int32 far past the end", i32, {1, 2, 3, 4}, std::numeric_limits<size_t>::max(), false,
       L"Index is out of bounds"},
      {"int32 with 3 bytes left", i32, {0, 1, 2, 3, 4}, 2, false, L"Index is out of bounds"},
      {"string shorter than a count", ascii, {0, 0, 3}, 0, true, L"Index is out of bounds"},
      {"string at the end", ascii, {0, 0, 0, 0}, 4, false, L"Index is out of bounds"},
      {"string count beyond the bytes", ascii, {0, 0, 0, 5, 0x61, 0x62, 0x63}, 0, true,
       L"Array index out of bounds"},
      {"string count beyond the bytes at an index", ascii, {7, 0, 0, 0, 2, 0x61}, 1, false,
       L"Array index out of bounds"},
      {"string negative count", ascii, {0xFF, 0xFF, 0xFF, 0xFF, 0x61}, 0, true,
       L"Array index out of bounds"},
      {"string most negative count", ascii, {0x80, 0, 0, 0}, 0, true, L"Array index out of bounds"},
      {"unicode odd byte short", wide, {0, 0, 0, 2, 0, 0x61, 0}, 0, true, L"Array index out of bounds"},
      {"unicode count whose bytes wrap 32 bits", wide, {0x7F, 0xFF, 0xFF, 0xFF, 0, 0x61}, 0, true,
       L"Array index out of bounds"},
      {"unicode negative count", wide, {0xFF, 0xFF, 0xFF, 0xFE}, 0, true, L"Array index out of bounds"},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<DataElement> element = c.make();
    Bytes const before = bytesOf(element->encode());
    if (c.viaDecode) {
      VariableLengthData data = dataOf(c.bytes);
      EXPECT_EQ(encoderFailure([&] { element->decode(data); }), c.message);
    } else {
      std::vector<Octet> buffer = bufferOf(c.bytes);
      EXPECT_EQ(encoderFailure([&] { element->decodeFrom(buffer, c.index); }), c.message);
    }
    EXPECT_EQ(bytesOf(element->encode()), before);
  }
}

TEST(BasicDataElementTest, FailedDecodeKeepsTheCallersVariableAndBinding) {
  std::string variable = "mine";
  HLAASCIIstring element(&variable);
  EXPECT_EQ(encoderFailure([&] { element.decode(dataOf({0, 0, 0, 9, 0x61})); }),
            L"Array index out of bounds");
  EXPECT_EQ(variable, "mine");
  element.decode(dataOf({0, 0, 0, 2, 0x68, 0x69}));
  EXPECT_EQ(variable, "hi");  // still bound
}

TEST(BasicDataElementTest, BoundElementReadsAndWritesTheCallersVariable) {
  Integer32 variable = 5;
  HLAinteger32BE element(&variable);
  EXPECT_EQ(element.get(), 5);
  variable = 6;
  EXPECT_EQ(bytesOf(element.encode()), (Bytes{0, 0, 0, 6}));

  element.decode(dataOf({0, 0, 1, 0}));
  EXPECT_EQ(variable, 256);

  // A copy and a clone have their own storage from the moment they are made.
  HLAinteger32BE copy(element);
  std::auto_ptr<DataElement> clone = element.clone();
  HLAinteger32BE assigned;
  assigned = element;
  variable = 1;
  EXPECT_EQ(copy.get(), 256);
  EXPECT_EQ(static_cast<HLAinteger32BE&>(*clone).get(), 256);
  EXPECT_EQ(assigned.get(), 256);

  // set unbinds without writing the variable; later decodes leave it alone.
  element.set(7);
  EXPECT_EQ(variable, 1);
  EXPECT_EQ(element.get(), 7);
  element.decode(dataOf({0, 0, 0, 9}));
  EXPECT_EQ(variable, 1);
  EXPECT_EQ(static_cast<Integer32>(element), 9);

  // setDataPointer binds again; operator= unbinds like set.
  element.setDataPointer(&variable);
  element.decode(dataOf({0, 0, 0, 3}));
  EXPECT_EQ(variable, 3);
  element = 4;
  EXPECT_EQ(variable, 3);
  EXPECT_EQ(element.get(), 4);
}

TEST(BasicDataElementTest, BooleanIsTrueOnlyForOne) {
  HLAboolean element(true);
  element.decode(dataOf({0, 0, 0, 2}));
  EXPECT_FALSE(element.get());
  element.decode(dataOf({1, 0, 0, 1}));
  EXPECT_FALSE(element.get());
  element.decode(dataOf({0, 0, 0, 1}));
  EXPECT_TRUE(element.get());
}

TEST(BasicDataElementTest, SameTypeMeansSameClass) {
  EXPECT_FALSE(HLAinteger32BE().isSameTypeAs(HLAinteger32LE()));
  EXPECT_FALSE(HLAoctet().isSameTypeAs(HLAbyte()));
  EXPECT_TRUE(HLAinteger32BE(1).isSameTypeAs(HLAinteger32BE(2)));
}

TEST(BasicDataElementTest, HashValues) {
  double const nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    char const* name;
    Integer64 actual;
    std::uint64_t expected;
  };
  std::uint64_t const indefinite = std::uint64_t{1} << 63;
  Case cases[] = {
      {"int32 -1", HLAinteger32BE(-1).hash(), 0xFFFFFFFF21524110u},
      {"int16 -1 LE", HLAinteger16LE(-1).hash(), 0xFFFFFFFF21524110u},
      {"int64 -1", HLAinteger64BE(-1).hash(), 0xFFFFFFFF21524110u},
      {"int32 0", HLAinteger32LE(0).hash(), 0xDEADBEEFu},
      {"char -1 widens with its sign", HLAASCIIchar('\xFF').hash(), 0xFFFFFFFF21524110u},
      {"boolean true", HLAboolean(true).hash(), 0xDEADBEEEu},
      {"unicode char widens without sign", HLAunicodeChar(L'\xFFFF').hash(), 0xFFFFu ^ 0xDEADBEEFu},
      {"octet pair", HLAoctetPairBE(OctetPair('\x01', '\xFF')).hash(), 255u ^ 0xDEADBEEFu},
      {"octet pair LE same value", HLAoctetPairLE(OctetPair('\x01', '\xFF')).hash(), 255u ^ 0xDEADBEEFu},
      {"float truncates toward zero", HLAfloat64BE(-1.9).hash(), 0xFFFFFFFF21524110u},
      {"float32 2.5", HLAfloat32LE(2.5f).hash(), 2u ^ 0xDEADBEEFu},
      {"float 2^63 is unsigned", HLAfloat64BE(9223372036854775808.0).hash(), indefinite ^ 0xDEADBEEFu},
      {"float 2^63+2^11", HLAfloat64BE(9223372036854777856.0).hash(), (indefinite + 2048) ^ 0xDEADBEEFu},
      {"float NaN", HLAfloat64LE(nan).hash(), indefinite ^ 0xDEADBEEFu},
      {"float +inf", HLAfloat32BE(INFINITY).hash(), indefinite ^ 0xDEADBEEFu},
      {"float 1e30", HLAfloat64BE(1e30).hash(), indefinite ^ 0xDEADBEEFu},
      {"empty string", HLAASCIIstring("").hash(), 2166136261u},
      {"empty unicode string", HLAunicodeString(L"").hash(), 2166136261u},
      {"string a", HLAASCIIstring("a").hash(), 0x811D69050C5D7Eu},
      {"unicode string a", HLAunicodeString(L"a").hash(), 0x811D69050C5D7Eu},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(static_cast<std::uint64_t>(c.actual), c.expected);
  }
  // A character above U+FFFF hashes as its two UTF-16 units.
  EXPECT_EQ(HLAunicodeString(L"\U0001F600").hash(), HLAunicodeString(L"\xD83D\xDE00").hash());
  EXPECT_NE(HLAASCIIstring("ab").hash(), HLAASCIIstring("ba").hash());
}

TEST(BasicDataElementTest, UnicodeStringCrossesAsUtf16) {
  struct Case {
    char const* name;
    std::wstring text;
    Bytes bytes;
    std::wstring decoded;  // what comes back
  };
  Case cases[] = {
      {"above U+FFFF takes a surrogate pair", L"\U0001F600", {0, 0, 0, 2, 0xD8, 0x3D, 0xDE, 0x00}, L"\U0001F600"},
      {"last character of Unicode", L"\U0010FFFF", {0, 0, 0, 2, 0xDB, 0xFF, 0xDF, 0xFF}, L"\U0010FFFF"},
      {"lone high surrogate passes", std::wstring(1, 0xD800) + L"a", {0, 0, 0, 2, 0xD8, 0, 0, 0x61},
       std::wstring(1, 0xD800) + L"a"},
      {"lone low surrogate passes", std::wstring(1, 0xDC00), {0, 0, 0, 1, 0xDC, 0}, std::wstring(1, 0xDC00)},
      {"no character at all becomes U+FFFD", std::wstring(1, static_cast<wchar_t>(0x110000)),
       {0, 0, 0, 1, 0xFF, 0xFD}, L"\xFFFD"},
      {"negative wchar_t becomes U+FFFD", std::wstring(1, static_cast<wchar_t>(-1)),
       {0, 0, 0, 1, 0xFF, 0xFD}, L"\xFFFD"},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    HLAunicodeString element(c.text);
    EXPECT_EQ(bytesOf(element.encode()), c.bytes);
    EXPECT_EQ(element.getEncodedLength(), c.bytes.size());
    HLAunicodeString received;
    received.decode(dataOf(c.bytes));
    EXPECT_EQ(received.get(), c.decoded);
  }
  // A high surrogate whose partner would be the first unit of the next value stays alone.
  HLAunicodeString received;
  received.decode(dataOf({0, 0, 0, 1, 0xD8, 0x3D, 0xDE, 0x00}));
  EXPECT_EQ(received.get(), std::wstring(1, 0xD83D));
}

TEST(BasicDataElementTest, UnicodeCharCarriesTheLow16Bits) {
  HLAunicodeChar element(static_cast<wchar_t>(0x1F600));
  EXPECT_EQ(bytesOf(element.encode()), (Bytes{0xF6, 0x00}));
  element.decode(dataOf({0xFF, 0xFE}));
  EXPECT_EQ(element.get(), static_cast<wchar_t>(0xFFFE));  // no sign extension
}

}  // namespace
}  // namespace rti1516e
