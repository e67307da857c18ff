// FuzzSupport.h: checks shared by the fuzz targets. A check that fails aborts, which
// libFuzzer reports as a crash together with the input that caused it.
#ifndef OSTRA1516E_FUZZ_SUPPORT_H
#define OSTRA1516E_FUZZ_SUPPORT_H

#include <RTI/encoding/DataElement.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace fuzz {

inline void require(bool condition, char const* what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
  }
}

inline bool sameBytes(rti1516e::VariableLengthData const& a, rti1516e::VariableLengthData const& b) {
  return a.size() == b.size() && (a.size() == 0 || std::memcmp(a.data(), b.data(), a.size()) == 0);
}

// After a successful decode the element must encode to what it announces, and that
// encoding must decode (into a fresh element made by makeFresh) to the same encoding.
template <class MakeFresh>
void requireStableRoundTrip(rti1516e::DataElement const& decoded, MakeFresh makeFresh) {
  rti1516e::VariableLengthData const once = decoded.encode();
  require(once.size() == decoded.getEncodedLength(), "encoded length matches getEncodedLength");
  auto fresh = makeFresh();
  fresh->decode(once);
  require(sameBytes(fresh->encode(), once), "a re-encoded value decodes to itself");
}

// The outcome of a decode, to compare two ways of decoding the same bytes: the end index,
// or the exception's message.
inline std::wstring outcome(std::function<size_t()> const& decode) {
  try {
    return std::to_wstring(decode());
  } catch (rti1516e::EncoderException const& e) {
    return e.what();
  }
}

// Two elements that took the same path through decoding hold the same value: the same
// bytes, length and boundary.
inline void requireSame(rti1516e::DataElement const& fast, rti1516e::DataElement const& general, char const* what) {
  require(sameBytes(fast.encode(), general.encode()), what);
  require(fast.getEncodedLength() == general.getEncodedLength(), "the same length");
  require(fast.getOctetBoundary() == general.getOctetBoundary(), "the same boundary");
}

// decodeFrom at an index chosen by the input, which may lie past the end of the buffer.
// It either throws EncoderException or returns an index past the one it was given.
inline size_t decodeAtChosenIndex(rti1516e::DataElement& element, std::vector<char> const& buffer,
                                  unsigned char choice) {
  size_t const index = choice % (buffer.size() + 3);
  try {
    size_t const end = element.decodeFrom(buffer, index);
    require(end >= index, "decodeFrom never moves backwards");
    return end;
  } catch (rti1516e::EncoderException const&) {
    return index;
  }
}

}  // namespace fuzz

#endif  // OSTRA1516E_FUZZ_SUPPORT_H
