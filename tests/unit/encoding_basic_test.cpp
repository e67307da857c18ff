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

TEST(BasicDataElementTest, EncodeIntoPadsButDecodeFromReadsAtTheIndexItself) {
  std::vector<Octet> buffer(5, '\x11');
  HLAinteger32BE(16909060).encodeInto(buffer);
  EXPECT_EQ(bytesOf(buffer), (Bytes{0x11, 0x11, 0x11, 0x11, 0x11, 0, 0, 0, 1, 2, 3, 4}));
  buffer.assign(1, '\x11');
  HLAfloat64LE(1.0).encodeInto(buffer);
  EXPECT_EQ(bytesOf(buffer), (Bytes{0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));

  HLAinteger16BE element;
  EXPECT_EQ(element.decodeFrom(bufferOf({9, 0, 1, 0}), 1), 3u);  // no skipping to a boundary
  EXPECT_EQ(element.get(), 1);
}

TEST(BasicDataElementTest, MalformedInputThrowsAndLeavesTheElementUnchanged) {
  struct Case {
    char const* name;
    Bytes bytes;
    size_t index;  // for decodeFrom; SIZE_MAX means decode
    wchar_t const* message;
    bool stringsOnly;
  };
  size_t const viaDecode = std::numeric_limits<size_t>::max();
  Case cases[] = {
      {"3 bytes for 4", {1, 2, 3}, viaDecode, L"Index is out of bounds", false},
      {"nothing", {}, viaDecode, L"Index is out of bounds", false},
      {"index at the end", {0, 0, 0, 0}, 4, L"Index is out of bounds", false},
      {"index far past the end", {0, 0, 0, 0}, viaDecode - 1, L"Index is out of bounds", false},
      {"3 bytes left at the index", {0, 0, 0, 0, 0, 0}, 3, L"Index is out of bounds", false},
      {"count beyond the bytes", {0, 0, 0, 5, 0x61, 0x62, 0x63}, viaDecode, L"Array index out of bounds", true},
      {"count beyond the bytes at an index", {7, 0, 0, 0, 2, 0x61}, 1, L"Array index out of bounds", true},
      {"negative count", {0xFF, 0xFF, 0xFF, 0xFF, 0x61}, viaDecode, L"Array index out of bounds", true},
      {"most negative count", {0x80, 0, 0, 0}, viaDecode, L"Array index out of bounds", true},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    // Bound to a variable: the failure must change neither the value nor the binding.
    Integer32 number = 77;
    std::string text = "keep";
    std::wstring wide = L"keep";
    HLAinteger32BE numberElement(&number);
    HLAASCIIstring textElement(&text);
    HLAunicodeString wideElement(&wide);
    std::vector<DataElement*> elements = {&textElement, &wideElement};
    if (!c.stringsOnly) elements.push_back(&numberElement);
    for (DataElement* element : elements) {
      std::vector<Octet> const buffer = bufferOf(c.bytes);
      EXPECT_EQ(encoderFailure([&] {
                  if (c.index == viaDecode) {
                    element->decode(dataOf(c.bytes));
                  } else {
                    element->decodeFrom(buffer, c.index);
                  }
                }),
                c.message);
    }
    EXPECT_EQ(number, 77);
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(wide, L"keep");
    textElement.decode(dataOf({0, 0, 0, 2, 0x68, 0x69}));
    EXPECT_EQ(text, "hi");
  }
  // A count whose 16-bit units would need more than 2^32 bytes.
  HLAunicodeString wide(L"keep");
  EXPECT_EQ(encoderFailure([&] { wide.decode(dataOf({0x7F, 0xFF, 0xFF, 0xFF, 0, 0x61})); }),
            L"Array index out of bounds");
  EXPECT_EQ(wide.get(), L"keep");
}

TEST(BasicDataElementTest, BoundElementReadsAndWritesTheCallersVariable) {
  Integer32 variable = 6;
  HLAinteger32BE element(&variable);
  EXPECT_EQ(bytesOf(element.encode()), (Bytes{0, 0, 0, 6}));
  element.decode(dataOf({0, 0, 1, 0}));
  EXPECT_EQ(variable, 256);

  // A copy, a clone and an assigned element have their own storage from then on.
  HLAinteger32BE copy(element);
  std::auto_ptr<DataElement> clone = element.clone();
  HLAinteger32BE assigned;
  assigned = element;
  variable = 1;
  EXPECT_EQ(copy.get(), 256);
  EXPECT_EQ(static_cast<HLAinteger32BE&>(*clone).get(), 256);
  EXPECT_EQ(assigned.get(), 256);

  // set and operator= unbind without writing the variable; later decodes leave it alone.
  element.set(7);
  EXPECT_EQ(element.get(), 7);
  element.decode(dataOf({0, 0, 0, 9}));
  EXPECT_EQ(variable, 1);
  EXPECT_EQ(static_cast<Integer32>(element), 9);
  element.setDataPointer(&variable);
  element.decode(dataOf({0, 0, 0, 3}));
  EXPECT_EQ(variable, 3);
  element = 4;
  EXPECT_EQ(variable, 3);
  EXPECT_EQ(element.get(), 4);
}

TEST(BasicDataElementTest, BooleanIsTrueOnlyForOneAndTypesAreClasses) {
  HLAboolean element(true);
  element.decode(dataOf({0, 0, 0, 2}));
  EXPECT_FALSE(element.get());
  element.decode(dataOf({1, 0, 0, 1}));
  EXPECT_FALSE(element.get());
  EXPECT_FALSE(HLAinteger32BE().isSameTypeAs(HLAinteger32LE()));
  EXPECT_FALSE(HLAoctet().isSameTypeAs(HLAbyte()));
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
      {"int64 -1", HLAinteger64BE(-1).hash(), 0xFFFFFFFF21524110u},
      {"char -1 widens with its sign", HLAASCIIchar('\xFF').hash(), 0xFFFFFFFF21524110u},
      {"boolean true", HLAboolean(true).hash(), 0xDEADBEEEu},
      {"unicode char widens without sign", HLAunicodeChar(L'\xFFFF').hash(), 0xFFFFu ^ 0xDEADBEEFu},
      {"octet pair", HLAoctetPairBE(OctetPair('\x01', '\xFF')).hash(), 255u ^ 0xDEADBEEFu},
      {"float truncates toward zero", HLAfloat64BE(-1.9).hash(), 0xFFFFFFFF21524110u},
      {"float32 2.5", HLAfloat32LE(2.5f).hash(), 2u ^ 0xDEADBEEFu},
      {"float 2^63 is unsigned", HLAfloat64BE(9223372036854775808.0).hash(), indefinite ^ 0xDEADBEEFu},
      {"float 2^63+2^11", HLAfloat64BE(9223372036854777856.0).hash(), (indefinite + 2048) ^ 0xDEADBEEFu},
      {"float NaN", HLAfloat64LE(nan).hash(), indefinite ^ 0xDEADBEEFu},
      {"float 1e30", HLAfloat64BE(1e30).hash(), indefinite ^ 0xDEADBEEFu},
      {"empty string", HLAASCIIstring("").hash(), 2166136261u},
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
