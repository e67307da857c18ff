// TimeValue.h: what the integer and floating-point time classes have in common.
//
// Both representations hold one 64-bit value and encode it as its eight-byte bit
// pattern, most significant byte first; they differ only in arithmetic and printing.
// The classes do their own bookkeeping and call these helpers for the shared parts.
#ifndef OSTRA_RTI_TIME_TimeValue_h
#define OSTRA_RTI_TIME_TimeValue_h

#include <RTI/VariableLengthData.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace rti1516e {
namespace logicaltime {

// The implementation names of the two standard representations. Constant-initialised,
// so they are ready before any code of the process runs.
constexpr wchar_t kInteger64Name[] = L"HLAinteger64Time";
constexpr wchar_t kFloat64Name[] = L"HLAfloat64Time";

constexpr size_t kEncodedLength = 8;

inline uint64_t bitsOf(int64_t value) { return static_cast<uint64_t>(value); }
inline uint64_t bitsOf(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}
inline void setFromBits(uint64_t bits, int64_t& value) { value = static_cast<int64_t>(bits); }
inline void setFromBits(uint64_t bits, double& value) {
  std::memcpy(&value, &bits, sizeof value);
}

// The encoded form of bits in a new block that owns its eight bytes.
VariableLengthData encodeBits(uint64_t bits);
// Writes the encoded form of bits into buffer and returns 8; throws CouldNotEncode and
// writes nothing when the buffer is shorter than that.
size_t encodeBits(uint64_t bits, void* buffer, size_t bufferSize);
// Reads the first eight bytes of buffer; throws CouldNotDecode when there are fewer.
uint64_t decodeBits(void const* buffer, size_t bufferSize);

// "className<value>", printed without grouping whatever the global locale says.
std::wstring describe(wchar_t const* className, int64_t value);
std::wstring describe(wchar_t const* className, double value);

// a + b and a - b, held at the ends of the signed 64-bit range instead of wrapping.
int64_t saturatingAdd(int64_t a, int64_t b);
int64_t saturatingSubtract(int64_t a, int64_t b);

// time + change, except that a non-zero change too small to alter a finite time moves
// it to the adjacent double in the direction of the change, and that a finite time is
// held at the largest or the lowest finite double instead of overflowing to an infinity
// (the largest is the final time). An infinite or NaN time gets the plain sum.
double advanceTime(double time, double change);

// A new Concrete, decoded from source, handed out as its abstract base. A decoding
// failure destroys the new object and passes the exception on.
template <typename Abstract, typename Concrete, typename... Source>
std::auto_ptr<Abstract> makeDecoded(Source const&... source) {
  std::auto_ptr<Concrete> made(new Concrete);
  made->decode(source...);
  return std::auto_ptr<Abstract>(made.release());
}

}  // namespace logicaltime
}  // namespace rti1516e

#endif  // OSTRA_RTI_TIME_TimeValue_h
