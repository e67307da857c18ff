// BasicCodecs.h: how each of the nineteen basic elements lays out its value, and the
// record behind every basic element. BasicDataElements.cpp builds the public classes on
// these; the composites' fast paths (KnownElements.h) use them to read and write the
// values of the library's own elements without a virtual call per element.
#ifndef OSTRA1516E_ENCODING_BASIC_CODECS_H
#define OSTRA1516E_ENCODING_BASIC_CODECS_H

#include <RTI/encoding/BasicDataElements.h>

#include "EncodingSupport.h"
#include "RTI/Utf16.h"

#include <cstring>
#include <new>
#include <string>
#include <type_traits>
#include <utility>

namespace ostra1516e {
namespace encoding {

using rti1516e::Integer64;

constexpr std::uint64_t kHashMask = 0xDEADBEEFu;

inline Integer64 maskedHash(std::uint64_t bits) { return static_cast<Integer64>(bits ^ kHashMask); }

enum class ByteOrder { Big, Little };

// The unsigned integer of Size bytes, and its bytes reversed.
template <size_t Size> struct UnsignedOf;
template <> struct UnsignedOf<1> { using type = std::uint8_t; };
template <> struct UnsignedOf<2> { using type = std::uint16_t; };
template <> struct UnsignedOf<4> { using type = std::uint32_t; };
template <> struct UnsignedOf<8> { using type = std::uint64_t; };

inline std::uint8_t reverseBytes(std::uint8_t v) { return v; }
inline std::uint16_t reverseBytes(std::uint16_t v) { return __builtin_bswap16(v); }
inline std::uint32_t reverseBytes(std::uint32_t v) { return __builtin_bswap32(v); }
inline std::uint64_t reverseBytes(std::uint64_t v) { return __builtin_bswap64(v); }

// Whether Order differs from the processor's own: the bytes are then reversed. One load
// or store and one swap, where byte after byte is not always merged by the compiler.
template <ByteOrder Order>
constexpr bool kSwapped =
    (Order == ByteOrder::Big) == (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__);

// Stores the Size low bytes of bits in the given byte order.
template <size_t Size, ByteOrder Order>
inline void storeBytes(std::uint64_t bits, Octet* out) {
  auto v = static_cast<typename UnsignedOf<Size>::type>(bits);
  if (kSwapped<Order>) v = reverseBytes(v);
  std::memcpy(out, &v, Size);
}

template <size_t Size, ByteOrder Order>
inline std::uint64_t loadBytes(Octet const* in) {
  typename UnsignedOf<Size>::type v;
  std::memcpy(&v, in, Size);
  if (kSwapped<Order>) v = reverseBytes(v);
  return v;
}

// A codec describes one value type: its fixed Size (or minimum, for the strings) and
// Boundary, length(v), write(v, out) into length(v) bytes, read(in, available, v)
// returning the bytes consumed (available is at least Size), and hash(v).
template <typename T, size_t N>
struct FixedCodec {
  using Value = T;
  static constexpr size_t Size = N;
  static constexpr unsigned Boundary = N;  // every fixed-size value aligns to its size
  static constexpr bool Fixed = true;
  static size_t length(T const&) { return N; }
};

struct ByteCodec : FixedCodec<char, 1> {
  static void write(char v, Octet* out) { out[0] = v; }
  static size_t read(Octet const* in, size_t, char& v) { v = in[0]; return 1; }
  static Integer64 hash(char v) { return maskedHash(static_cast<std::uint64_t>(static_cast<Integer64>(v))); }
};

struct BooleanCodec : FixedCodec<bool, 4> {
  static void write(bool v, Octet* out) { storeBytes<4, ByteOrder::Big>(v ? 1 : 0, out); }
  // Only the value 1 is true.
  static size_t read(Octet const* in, size_t, bool& v) {
    v = loadBytes<4, ByteOrder::Big>(in) == 1;
    return 4;
  }
  static Integer64 hash(bool v) { return maskedHash(v ? 1 : 0); }
};

template <typename T, ByteOrder Order>
struct IntegerCodec : FixedCodec<T, sizeof(T)> {
  using Unsigned = typename std::make_unsigned<T>::type;
  static void write(T v, Octet* out) { storeBytes<sizeof(T), Order>(static_cast<Unsigned>(v), out); }
  static size_t read(Octet const* in, size_t, T& v) {
    v = static_cast<T>(static_cast<Unsigned>(loadBytes<sizeof(T), Order>(in)));
    return sizeof(T);
  }
  static Integer64 hash(T v) { return maskedHash(static_cast<std::uint64_t>(static_cast<Integer64>(v))); }
};

// The float hash truncates toward zero. Values that no 64-bit integer holds (NaN,
// infinities, below -2^63, from 2^64 up) give 0x8000000000000000, the value the
// processor's own truncation produces for them, instead of undefined behaviour.
inline Integer64 truncatedHash(double v) {
  std::uint64_t bits;
  if (!(v >= -9223372036854775808.0 && v < 18446744073709551616.0)) {
    bits = std::uint64_t{1} << 63;
  } else if (v >= 9223372036854775808.0) {
    bits = static_cast<std::uint64_t>(v);
  } else {
    bits = static_cast<std::uint64_t>(static_cast<Integer64>(v));
  }
  return maskedHash(bits);
}

template <typename T, ByteOrder Order>
struct FloatCodec : FixedCodec<T, sizeof(T)> {
  using Bits = typename std::conditional<sizeof(T) == 4, std::uint32_t, std::uint64_t>::type;
  static void write(T v, Octet* out) {
    Bits bits;
    std::memcpy(&bits, &v, sizeof bits);
    storeBytes<sizeof(T), Order>(bits, out);
  }
  static size_t read(Octet const* in, size_t, T& v) {
    Bits const bits = static_cast<Bits>(loadBytes<sizeof(T), Order>(in));
    std::memcpy(&v, &bits, sizeof v);
    return sizeof(T);
  }
  static Integer64 hash(T v) { return truncatedHash(v); }
};

template <ByteOrder Order>
struct OctetPairCodec : FixedCodec<rti1516e::OctetPair, 2> {
  static void write(rti1516e::OctetPair const& v, Octet* out) {
    out[Order == ByteOrder::Big ? 0 : 1] = v.first;
    out[Order == ByteOrder::Big ? 1 : 0] = v.second;
  }
  static size_t read(Octet const* in, size_t, rti1516e::OctetPair& v) {
    v.first = in[Order == ByteOrder::Big ? 0 : 1];
    v.second = in[Order == ByteOrder::Big ? 1 : 0];
    return 2;
  }
  static Integer64 hash(rti1516e::OctetPair const& v) {
    auto const combined = static_cast<std::int32_t>(v.first * 256 + v.second);
    return maskedHash(static_cast<std::uint64_t>(static_cast<Integer64>(combined)));
  }
};

// A wchar_t holds 32 bits here; the element carries its low 16.
struct UnicodeCharCodec : FixedCodec<wchar_t, 2> {
  static std::uint16_t unit(wchar_t v) { return static_cast<std::uint16_t>(v); }
  static void write(wchar_t v, Octet* out) { storeBytes<2, ByteOrder::Big>(unit(v), out); }
  static size_t read(Octet const* in, size_t, wchar_t& v) {
    v = static_cast<wchar_t>(loadBytes<2, ByteOrder::Big>(in));
    return 2;
  }
  static Integer64 hash(wchar_t v) { return maskedHash(unit(v)); }
};

// The strings: a 32-bit big-endian count, then the characters; Size is the minimum.
template <typename T>
struct StringCodec {
  using Value = T;
  static constexpr size_t Size = 4;
  static constexpr unsigned Boundary = 4;
  static constexpr bool Fixed = false;

  // Reads the count and checks that unitSize * count bytes follow it.
  static std::uint64_t checkedCount(Octet const* in, size_t available, size_t unitSize) {
    auto const n = static_cast<std::int32_t>(loadUInt32BE(in));
    if (n < 0 || static_cast<std::uint64_t>(n) > (available - 4) / unitSize) {
      fail(kArrayIndexOutOfBounds);
    }
    return static_cast<std::uint64_t>(n);
  }
  // The string hash is FNV-1 in 64-bit arithmetic (with the 32-bit offset basis and
  // prime), without a final xor: h starts at kFnvStart and takes each character so.
  static constexpr std::uint64_t kFnvStart = 2166136261u;
  static std::uint64_t fnvStep(std::uint64_t h, std::uint64_t c) { return (h * 16777619u) ^ c; }
};

struct ASCIIStringCodec : StringCodec<std::string> {
  static size_t length(std::string const& v) { return 4 + v.size(); }
  static void write(std::string const& v, Octet* out) {
    storeUInt32BE(out, static_cast<std::uint32_t>(v.size()));
    if (!v.empty()) std::memcpy(out + 4, v.data(), v.size());
  }
  static size_t read(Octet const* in, size_t available, std::string& v) {
    size_t const n = checkedCount(in, available, 1);
    v.assign(in + 4, n);
    return 4 + n;
  }
  static Integer64 hash(std::string const& v) {
    std::uint64_t h = kFnvStart;
    for (char c : v) h = fnvStep(h, static_cast<std::uint64_t>(static_cast<Integer64>(c)));
    return static_cast<Integer64>(h);
  }
};

// HLAunicodeString crosses as UTF-16 (Utf16.h says how characters without a UTF-16 form
// and lone surrogates are handled).
struct UnicodeStringCodec : StringCodec<std::wstring> {
  static size_t units(std::wstring const& v) { return rti1516e::utf16::length(v); }
  static size_t length(std::wstring const& v) { return 4 + 2 * units(v); }
  static void write(std::wstring const& v, Octet* out) {
    storeUInt32BE(out, static_cast<std::uint32_t>(units(v)));
    Octet* p = out + 4;
    rti1516e::utf16::forEachUnit(v, [&p](std::uint16_t unit) {
      storeBytes<2, ByteOrder::Big>(unit, p);
      p += 2;
    });
  }
  static size_t read(Octet const* in, size_t available, std::wstring& v) {
    size_t const n = checkedCount(in, available, 2);
    auto const* p = reinterpret_cast<unsigned char const*>(in + 4);
    std::wstring text =
        rti1516e::utf16::toWide(n, [p](size_t i) { return rti1516e::utf16::bigEndianUnit(p, i); });
    v.swap(text);
    return 4 + 2 * n;
  }
  // Hashed over the UTF-16 units, so a string has the same hash on every platform.
  static Integer64 hash(std::wstring const& v) {
    std::uint64_t h = kFnvStart;
    rti1516e::utf16::forEachUnit(v, [&h](std::uint16_t unit) { h = fnvStep(h, unit); });
    return static_cast<Integer64>(h);
  }
};

using Float32BE = FloatCodec<float, ByteOrder::Big>;
using Float32LE = FloatCodec<float, ByteOrder::Little>;
using Float64BE = FloatCodec<double, ByteOrder::Big>;
using Float64LE = FloatCodec<double, ByteOrder::Little>;
using Integer16BE = IntegerCodec<rti1516e::Integer16, ByteOrder::Big>;
using Integer16LE = IntegerCodec<rti1516e::Integer16, ByteOrder::Little>;
using Integer32BE = IntegerCodec<rti1516e::Integer32, ByteOrder::Big>;
using Integer32LE = IntegerCodec<rti1516e::Integer32, ByteOrder::Little>;
using Integer64BE = IntegerCodec<rti1516e::Integer64, ByteOrder::Big>;
using Integer64LE = IntegerCodec<rti1516e::Integer64, ByteOrder::Little>;
using OctetPairBE = OctetPairCodec<ByteOrder::Big>;
using OctetPairLE = OctetPairCodec<ByteOrder::Little>;

// Which codec lays out each element class.
template <class Element> struct CodecOf;
#define RTI1516E_CODEC(Name, Codec) \
  template <> struct CodecOf<rti1516e::Name> { using type = Codec; };
RTI1516E_CODEC(HLAASCIIchar, ByteCodec)
RTI1516E_CODEC(HLAASCIIstring, ASCIIStringCodec)
RTI1516E_CODEC(HLAboolean, BooleanCodec)
RTI1516E_CODEC(HLAbyte, ByteCodec)
RTI1516E_CODEC(HLAfloat32BE, Float32BE)
RTI1516E_CODEC(HLAfloat32LE, Float32LE)
RTI1516E_CODEC(HLAfloat64BE, Float64BE)
RTI1516E_CODEC(HLAfloat64LE, Float64LE)
RTI1516E_CODEC(HLAinteger16BE, Integer16BE)
RTI1516E_CODEC(HLAinteger16LE, Integer16LE)
RTI1516E_CODEC(HLAinteger32BE, Integer32BE)
RTI1516E_CODEC(HLAinteger32LE, Integer32LE)
RTI1516E_CODEC(HLAinteger64BE, Integer64BE)
RTI1516E_CODEC(HLAinteger64LE, Integer64LE)
RTI1516E_CODEC(HLAoctet, ByteCodec)
RTI1516E_CODEC(HLAoctetPairBE, OctetPairBE)
RTI1516E_CODEC(HLAoctetPairLE, OctetPairLE)
RTI1516E_CODEC(HLAunicodeChar, UnicodeCharCodec)
RTI1516E_CODEC(HLAunicodeString, UnicodeStringCodec)
#undef RTI1516E_CODEC

// The record of every basic element: the caller's variable when bound, else the own value.
template <class Codec>
struct BasicValue {
  using T = typename Codec::Value;
  T* external = nullptr;
  T own{};
  ValuePool* pool = nullptr;  // the pool whose slot holds the record, if any

  BasicValue() = default;
  explicit BasicValue(T const& value) : own(value) {}
  explicit BasicValue(T* variable) : external(variable) {}

  T const& current() const { return external != nullptr ? *external : own; }
  T& target() { return external != nullptr ? *external : own; }
  // Plans store and load by what is bound, so every change of the binding moves them on.
  void bind(T* variable) {
    external = variable;
    movePlanEpoch();
  }
  void unbind() {
    if (external == nullptr) return;
    external = nullptr;
    movePlanEpoch();
  }
};

// A record for a copy of a number holding value: in a slot of the present pool when there
// is one (ValuePool), else on its own. dropRecord ends either.
template <class Record, class Value>
Record* copyRecord(Value const& value) {
  if constexpr (sizeof(Record) <= ValuePool::kSlot && alignof(Record) <= alignof(void*) &&
                std::is_nothrow_copy_constructible<Value>::value) {
    if (ValuePool* const pool = ValuePool::current()) {
      Record* const record = new (pool->take()) Record(value);
      record->pool = pool;
      return record;
    }
  }
  return new Record(value);
}

template <class Record>
void dropRecord(Record* record) {
  if (ValuePool* const pool = record->pool) {
    record->~Record();
    pool->give(record);
  } else {
    delete record;
  }
}

template <class Codec>
void encodeValue(typename Codec::Value const& value, rti1516e::VariableLengthData& out) {
  size_t const length = Codec::length(value);
  Octet small[16];
  if (length <= sizeof small) {
    Codec::write(value, small);
    out.setData(small, length);
  } else {
    std::vector<Octet> bytes(length);
    Codec::write(value, bytes.data());
    out.setData(bytes.data(), length);
  }
}

template <class Codec>
void encodeValueInto(typename Codec::Value const& value, std::vector<Octet>& buffer) {
  size_t const at = roundUp(buffer.size(), Codec::Boundary);
  buffer.resize(at + Codec::length(value));
  Codec::write(value, buffer.data() + at);
}

// Decodes from available bytes at in into target; target changes only on success. Every
// codec checks what it reads before it changes the value, so the value is read in place
// (a string keeps its capacity from one decode to the next).
template <class Codec>
size_t decodeValue(Octet const* in, size_t available, typename Codec::Value& target) {
  if (available < Codec::Size) fail(kIndexOutOfBounds);
  return Codec::read(in, available, target);
}

template <class Codec>
size_t decodeValueFrom(std::vector<Octet> const& buffer, size_t index,
                       typename Codec::Value& target) {
  if (index >= buffer.size()) fail(kIndexOutOfBounds);
  return index + decodeValue<Codec>(buffer.data() + index, buffer.size() - index, target);
}

}  // namespace encoding
}  // namespace ostra1516e

namespace rti1516e {

// The record of each basic element class.
#define RTI1516E_BASIC_IMPLEMENTATION(Name, T)                                              \
  class Name##Implementation                                                                \
      : public ostra1516e::encoding::BasicValue<ostra1516e::encoding::CodecOf<Name>::type> { \
   public:                                                                                  \
    using BasicValue::BasicValue;                                                           \
  };
RTI1516E_BASIC_DATA_ELEMENTS(RTI1516E_BASIC_IMPLEMENTATION)
#undef RTI1516E_BASIC_IMPLEMENTATION

}  // namespace rti1516e

#endif  // OSTRA1516E_ENCODING_BASIC_CODECS_H
