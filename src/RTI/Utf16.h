// Utf16.h: the one conversion between this platform's wide strings and UTF-16.
//
// wchar_t holds one Unicode code point here; everything that crosses as UTF-16 (the
// wire format to the Java core, Java strings, HLAunicodeString) goes through these.
// Out: a character above U+FFFF becomes a surrogate pair; a value that is no Unicode
// character (negative, or above U+10FFFF) has no UTF-16 form and becomes U+FFFD.
// In: a high surrogate directly followed by a low one becomes one character; any other
// unit, a lone surrogate included, is kept as its own value.
#ifndef OSTRA_RTI_Utf16_h
#define OSTRA_RTI_Utf16_h

#include <cstddef>
#include <cstdint>
#include <string>

namespace rti1516e {
namespace utf16 {

// Calls sink(unit) for each UTF-16 code unit of text, in order.
template <typename Sink>
inline void forEachUnit(std::wstring const& text, Sink&& sink) {
  for (wchar_t c : text) {
    std::uint32_t const cp = static_cast<std::uint32_t>(c);
    if (cp <= 0xFFFF) {
      sink(static_cast<std::uint16_t>(cp));
    } else if (cp <= 0x10FFFF) {
      sink(static_cast<std::uint16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      sink(static_cast<std::uint16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      sink(std::uint16_t{0xFFFD});
    }
  }
}

// The number of UTF-16 code units forEachUnit produces for text.
inline std::size_t length(std::wstring const& text) {
  std::size_t units = text.size();
  for (wchar_t c : text) {
    std::uint32_t const cp = static_cast<std::uint32_t>(c);
    if (cp > 0xFFFF && cp <= 0x10FFFF) ++units;
  }
  return units;
}

// The wide string of count UTF-16 units; unitAt(i) gives unit i.
template <typename UnitAt>
inline std::wstring toWide(std::size_t count, UnitAt&& unitAt) {
  std::wstring wide;
  wide.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t unit = unitAt(i);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count) {
      std::uint32_t const next = unitAt(i + 1);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
        ++i;
      }
    }
    wide.push_back(static_cast<wchar_t>(unit));
  }
  return wide;
}

// Unit i of a big-endian UTF-16 byte sequence.
inline std::uint16_t bigEndianUnit(unsigned char const* bytes, std::size_t i) {
  return static_cast<std::uint16_t>((bytes[2 * i] << 8) | bytes[2 * i + 1]);
}

}  // namespace utf16
}  // namespace rti1516e

#endif  // OSTRA_RTI_Utf16_h
