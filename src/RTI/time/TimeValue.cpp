#include "TimeValue.h"

#include <RTI/Exception.h>

#include <cmath>
#include <limits>
#include <locale>
#include <sstream>

namespace rti1516e {
namespace logicaltime {

namespace {

// The system's own text, kept letter for letter: federates match on it.
wchar_t const kBufferTooSmall[] = L"Buffer to small!";

template <typename Value>
std::wstring describeValue(wchar_t const* className, Value value) {
  std::wostringstream text;
  text.imbue(std::locale::classic());
  text << className << L'<' << value << L'>';
  return text.str();
}

}  // namespace

VariableLengthData encodeBits(uint64_t bits) {
  unsigned char* bytes = new unsigned char[kEncodedLength];
  encodeBits(bits, bytes, kEncodedLength);
  VariableLengthData encoded;
  encoded.takeDataPointer(bytes, kEncodedLength);
  return encoded;
}

size_t encodeBits(uint64_t bits, void* buffer, size_t bufferSize) {
  if (bufferSize < kEncodedLength) throw CouldNotEncode(kBufferTooSmall);
  if (buffer == nullptr) throw CouldNotEncode(L"Buffer is null!");
  unsigned char* bytes = static_cast<unsigned char*>(buffer);
  for (size_t i = 0; i < kEncodedLength; ++i) {
    bytes[i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
  }
  return kEncodedLength;
}

uint64_t decodeBits(void const* buffer, size_t bufferSize) {
  if (bufferSize < kEncodedLength) throw CouldNotDecode(kBufferTooSmall);
  if (buffer == nullptr) throw CouldNotDecode(L"Buffer is null!");
  unsigned char const* bytes = static_cast<unsigned char const*>(buffer);
  uint64_t bits = 0;
  for (size_t i = 0; i < kEncodedLength; ++i) bits = (bits << 8) | bytes[i];
  return bits;
}

std::wstring describe(wchar_t const* className, int64_t value) {
  return describeValue(className, value);
}

std::wstring describe(wchar_t const* className, double value) {
  return describeValue(className, value);
}

int64_t saturatingAdd(int64_t a, int64_t b) {
  int64_t sum;
  if (__builtin_add_overflow(a, b, &sum)) {
    return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
  }
  return sum;
}

int64_t saturatingSubtract(int64_t a, int64_t b) {
  int64_t difference;
  if (__builtin_sub_overflow(a, b, &difference)) {
    return b < 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
  }
  return difference;
}

double advanceTime(double time, double change) {
  double result = time + change;
  // Only setTime or decoding makes an infinite or NaN time; it keeps the plain sum.
  if (!std::isfinite(time)) return result;
  // A NaN change makes result == time false, so only a real but too small step gets here.
  if (result == time && change != 0.0) {
    result = std::nextafter(time, change > 0.0 ? std::numeric_limits<double>::infinity()
                                               : -std::numeric_limits<double>::infinity());
  }
  // A finite time stays finite, held at the largest double (the final time) or the lowest
  // one as the integer time holds at the ends of its range: an infinity would lie beyond
  // the final time and never count as final.
  if (std::isinf(result)) {
    return result > 0.0 ? std::numeric_limits<double>::max()
                        : std::numeric_limits<double>::lowest();
  }
  return result;
}

}  // namespace logicaltime
}  // namespace rti1516e
