// Encoder: the service side of the array format shared with the Java core.
//
// Every type code that a service array can hold has two overloads, picked by the code's
// tag type (TypeCodes.h):
//
//   size_t n = encodedSize(code::S{}, name);      // bytes the value takes, nothing written
//   encode(code::S{}, name, cursor);              // writes exactly those bytes
//
// so that a service call sizes its one Java array before it pins and fills it. The
// functions at the end convert what the core returns (numbers, handles, bounds) into the
// API's values; the parts that need JNI to reach the returned objects live in the
// service call frame.
//
// Strings: wchar_t holds one code point here and the wire carries UTF-16, so a character
// above U+FFFF is written as a surrogate pair (two units, both counted in the length), a
// lone surrogate as its own unit, and a value beyond U+10FFFF, which has no UTF-16 form,
// as U+FFFD.
#ifndef OSTRA_GEN_ENCODER_H
#define OSTRA_GEN_ENCODER_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "gen/cpp_handwritten/ByteWrapper.h"
#include "gen/cpp_handwritten/TypeCodes.h"
#include "RTI/HandleFriend.h"
#include "RTI/VariableLengthDataFriend.h"

namespace ostra1516e {

using rti1516e::ByteWrapper;

namespace wire {

// The number of UTF-16 units of text.
inline size_t utf16Length(std::wstring const& text) {
  size_t units = text.size();
  for (wchar_t c : text) {
    uint32_t const cp = static_cast<uint32_t>(c);
    if (cp > 0xFFFF && cp <= 0x10FFFF) ++units;
  }
  return units;
}

inline void writeUtf16(std::wstring const& text, size_t units, ByteWrapper& out) {
  out.writeInt(static_cast<int32_t>(units));
  unsigned char* p = out.cursor();
  for (wchar_t c : text) {
    uint32_t cp = static_cast<uint32_t>(c);
    if (cp > 0x10FFFF) cp = 0xFFFD;
    if (cp > 0xFFFF) {
      cp -= 0x10000;
      uint32_t const high = 0xD800 + (cp >> 10), low = 0xDC00 + (cp & 0x3FF);
      p[0] = static_cast<unsigned char>(high >> 8);
      p[1] = static_cast<unsigned char>(high);
      p[2] = static_cast<unsigned char>(low >> 8);
      p[3] = static_cast<unsigned char>(low);
      p += 4;
    } else {
      p[0] = static_cast<unsigned char>(cp >> 8);
      p[1] = static_cast<unsigned char>(cp);
      p += 2;
    }
  }
  out.advance(2 * units);
}

inline void writeCount(size_t count, ByteWrapper& out) {
  out.writeInt(static_cast<int32_t>(static_cast<uint32_t>(count)));
}

template <typename Handle>
int32_t handleNumber(Handle const& handle);
#define OSTRA_HANDLE_NUMBER(Kind)                                     \
  template <>                                                         \
  inline int32_t handleNumber(rti1516e::Kind const& handle) {         \
    return rti1516e::Kind##Friend::number(handle);                    \
  }
RTI1516E_SIMPLE_HANDLES(OSTRA_HANDLE_NUMBER)
#undef OSTRA_HANDLE_NUMBER

// reportBadEnumerator writes the internal error of an enumeration value outside its
// table to standard error; the caller then writes the table's fallback.
void reportBadEnumerator(char const* enumeration, long value, int32_t fallback);
// reportBadNumber writes the internal error of a number from the core that stands for
// no value of its enumeration; the caller then uses the fallback.
void reportBadNumber(char const* enumeration, int32_t number, char const* fallback);

}  // namespace wire

// ---- strings ----------------------------------------------------------------------

inline size_t encodedSize(code::S, std::wstring const& v) { return 4 + 2 * wire::utf16Length(v); }
inline void encode(code::S, std::wstring const& v, ByteWrapper& out) {
  wire::writeUtf16(v, wire::utf16Length(v), out);
}

inline size_t encodedSize(code::URL, std::wstring const& v) { return encodedSize(code::S{}, v); }
inline void encode(code::URL, std::wstring const& v, ByteWrapper& out) { encode(code::S{}, v, out); }

template <typename Strings>
size_t encodedStringsSize(Strings const& strings) {
  size_t size = 4;
  for (std::wstring const& s : strings) size += encodedSize(code::S{}, s);
  return size;
}
template <typename Strings>
void encodeStrings(Strings const& strings, ByteWrapper& out) {
  wire::writeCount(strings.size(), out);
  for (std::wstring const& s : strings) encode(code::S{}, s, out);
}

inline size_t encodedSize(code::SSet, std::set<std::wstring> const& v) { return encodedStringsSize(v); }
inline void encode(code::SSet, std::set<std::wstring> const& v, ByteWrapper& out) { encodeStrings(v, out); }
inline size_t encodedSize(code::URLX, std::vector<std::wstring> const& v) { return encodedStringsSize(v); }
inline void encode(code::URLX, std::vector<std::wstring> const& v, ByteWrapper& out) { encodeStrings(v, out); }

// ---- bytes ------------------------------------------------------------------------

// Read through the friend: the exported accessors would cost a call per value.
using rti1516e::VariableLengthDataFriend;

inline size_t encodedSize(code::BX, rti1516e::VariableLengthData const& v) {
  return 4 + VariableLengthDataFriend::size(v);
}
inline void encode(code::BX, rti1516e::VariableLengthData const& v, ByteWrapper& out) {
  size_t const n = VariableLengthDataFriend::size(v);
  wire::writeCount(n, out);
  out.writeBytes(VariableLengthDataFriend::data(v), n);
}

// ---- handles, handle sets and maps ------------------------------------------------

#define OSTRA_HANDLE_CODE(Tag)                                                          \
  inline size_t encodedSize(code::Tag, code::Tag::Value const&) { return 4; }           \
  inline void encode(code::Tag, code::Tag::Value const& v, ByteWrapper& out) {          \
    out.writeInt(wire::handleNumber(v));                                                \
  }
OSTRA_HANDLE_CODE(OIH)
OSTRA_HANDLE_CODE(OCH)
OSTRA_HANDLE_CODE(ICH)
OSTRA_HANDLE_CODE(AH)
OSTRA_HANDLE_CODE(PH)
OSTRA_HANDLE_CODE(FH)
OSTRA_HANDLE_CODE(DH)
OSTRA_HANDLE_CODE(RH)
#undef OSTRA_HANDLE_CODE

template <typename Set>
void encodeHandleSet(Set const& set, ByteWrapper& out) {
  wire::writeCount(set.size(), out);
  for (auto const& handle : set) out.writeInt(wire::handleNumber(handle));
}

#define OSTRA_HANDLE_SET_CODE(Tag)                                                         \
  inline size_t encodedSize(code::Tag, code::Tag::Value const& v) { return 4 + 4 * v.size(); } \
  inline void encode(code::Tag, code::Tag::Value const& v, ByteWrapper& out) {             \
    encodeHandleSet(v, out);                                                               \
  }
OSTRA_HANDLE_SET_CODE(AHS)
OSTRA_HANDLE_SET_CODE(FHS)
OSTRA_HANDLE_SET_CODE(DHS)
OSTRA_HANDLE_SET_CODE(RHS)
#undef OSTRA_HANDLE_SET_CODE

template <typename Map>
size_t encodedMapSize(Map const& map) {
  size_t size = 4;
  for (auto const& entry : map) size += 8 + VariableLengthDataFriend::size(entry.second);
  return size;
}
// The same bytes as a count and then handle and BX value after value, written through
// a local pointer: the loop runs once per attribute or parameter of every update.
template <typename Map>
void encodeMap(Map const& map, ByteWrapper& out) {
  unsigned char* const start = out.cursor();
  unsigned char* p = start;
  ByteWrapper::putInt(p, static_cast<int32_t>(static_cast<uint32_t>(map.size())));
  p += 4;
  for (auto const& entry : map) {
    size_t const n = VariableLengthDataFriend::size(entry.second);
    ByteWrapper::putInt(p, wire::handleNumber(entry.first));
    ByteWrapper::putInt(p + 4, static_cast<int32_t>(static_cast<uint32_t>(n)));
    if (n > 0) std::memcpy(p + 8, VariableLengthDataFriend::data(entry.second), n);
    p += 8 + n;
  }
  out.advance(static_cast<size_t>(p - start));
}

// ValueMapWriter holds what one walk over an attribute or parameter value map found (each
// entry's handle number and bytes, and the encoded size of the whole map), so that a
// service call sizes its array and then writes the map without walking the tree again.
class ValueMapWriter {
 public:
  template <typename Map>
  explicit ValueMapWriter(Map const& map) : count_(map.size()) {
    if (count_ > kInline) {
      heap_.reset(new Entry[count_]);
      entries_ = heap_.get();
    }
    Entry* e = entries_;
    size_t size = 4;
    for (auto const& entry : map) {
      size_t const n = VariableLengthDataFriend::size(entry.second);
      *e++ = Entry{VariableLengthDataFriend::data(entry.second), n, wire::handleNumber(entry.first)};
      size += 8 + n;
    }
    encodedSize_ = size;
  }
  ValueMapWriter(ValueMapWriter const&) = delete;
  ValueMapWriter& operator=(ValueMapWriter const&) = delete;

  size_t encodedSize() const { return encodedSize_; }

  // The same bytes as encode(code::AHVM or code::PHVM, ...).
  void write(ByteWrapper& out) const {
    unsigned char* const start = out.cursor();
    unsigned char* p = start;
    ByteWrapper::putInt(p, static_cast<int32_t>(static_cast<uint32_t>(count_)));
    p += 4;
    for (Entry const* e = entries_; e != entries_ + count_; ++e) {
      ByteWrapper::putInt(p, e->key);
      ByteWrapper::putInt(p + 4, static_cast<int32_t>(static_cast<uint32_t>(e->size)));
      if (e->size > 0) std::memcpy(p + 8, e->data, e->size);
      p += 8 + e->size;
    }
    out.advance(static_cast<size_t>(p - start));
  }

 private:
  struct Entry {
    void const* data;
    size_t size;
    int32_t key;
  };
  static constexpr size_t kInline = 16;  // updates rarely carry more values than this

  size_t count_;
  size_t encodedSize_ = 0;
  Entry inline_[kInline];
  std::unique_ptr<Entry[]> heap_;
  Entry* entries_ = inline_;
};

inline size_t encodedSize(code::AHVM, rti1516e::AttributeHandleValueMap const& v) { return encodedMapSize(v); }
inline void encode(code::AHVM, rti1516e::AttributeHandleValueMap const& v, ByteWrapper& out) { encodeMap(v, out); }
inline size_t encodedSize(code::PHVM, rti1516e::ParameterHandleValueMap const& v) { return encodedMapSize(v); }
inline void encode(code::PHVM, rti1516e::ParameterHandleValueMap const& v, ByteWrapper& out) { encodeMap(v, out); }

inline size_t encodedSize(code::ASRSPL, rti1516e::AttributeHandleSetRegionHandleSetPairVector const& v) {
  size_t size = 4;
  for (auto const& pair : v) size += 8 + 4 * pair.first.size() + 4 * pair.second.size();
  return size;
}
inline void encode(code::ASRSPL, rti1516e::AttributeHandleSetRegionHandleSetPairVector const& v,
                   ByteWrapper& out) {
  wire::writeCount(v.size(), out);
  for (auto const& pair : v) {
    encodeHandleSet(pair.first, out);
    encodeHandleSet(pair.second, out);
  }
}

// ---- numbers ----------------------------------------------------------------------

inline size_t encodedSize(code::Z, bool) { return 4; }
inline void encode(code::Z, bool v, ByteWrapper& out) { out.writeInt(v ? 1 : 0); }

inline size_t encodedSize(code::D, double) { return 8; }
inline void encode(code::D, double v, ByteWrapper& out) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  out.writeInt(static_cast<int32_t>(static_cast<uint32_t>(bits >> 32)));
  out.writeInt(static_cast<int32_t>(static_cast<uint32_t>(bits)));
}

// Each bound is a 32-bit unsigned number sent as a 64-bit one whose high word is 0.
inline size_t encodedSize(code::RB, rti1516e::RangeBounds const&) { return 16; }
inline void encode(code::RB, rti1516e::RangeBounds const& v, ByteWrapper& out) {
  out.writeInt(0);
  out.writeInt(static_cast<int32_t>(static_cast<uint32_t>(v.getLowerBound())));
  out.writeInt(0);
  out.writeInt(static_cast<int32_t>(static_cast<uint32_t>(v.getUpperBound())));
}

// The federate ambassador travels as the registry handle that connect obtained for it.
inline size_t encodedSize(code::FA, int32_t) { return 4; }
inline void encode(code::FA, int32_t handle, ByteWrapper& out) { out.writeInt(handle); }

// ---- times and retraction handles: their own encodings, no length before them -----

inline size_t encodedSize(code::LT, rti1516e::LogicalTime const& v) { return v.encodedLength(); }
inline void encode(code::LT, rti1516e::LogicalTime const& v, ByteWrapper& out) {
  size_t const n = v.encodedLength();
  v.encode(out.cursor(), n);
  out.advance(n);
}

inline size_t encodedSize(code::LTI, rti1516e::LogicalTimeInterval const& v) { return v.encodedLength(); }
inline void encode(code::LTI, rti1516e::LogicalTimeInterval const& v, ByteWrapper& out) {
  size_t const n = v.encodedLength();
  v.encode(out.cursor(), n);
  out.advance(n);
}

inline size_t encodedSize(code::MRH, rti1516e::MessageRetractionHandle const& v) { return v.encodedLength(); }
inline void encode(code::MRH, rti1516e::MessageRetractionHandle const& v, ByteWrapper& out) {
  size_t const n = v.encodedLength();
  v.encode(out.cursor(), n);
  out.advance(n);
}

// ---- enumerations -----------------------------------------------------------------
//
// A value outside its table is a programming error of the caller: it is reported on
// standard error and the table's fallback is sent, as the core expects some number.

int32_t orderTypeNumber(rti1516e::OrderType v);
int32_t transportationTypeNumber(rti1516e::TransportationType v);
int32_t resignActionNumber(rti1516e::ResignAction v);
int32_t serviceGroupNumber(rti1516e::ServiceGroup v);
// HLA_EVOKED is 1; every other model is 2.
inline int32_t callbackModelNumber(rti1516e::CallbackModel v) { return v == rti1516e::HLA_EVOKED ? 1 : 2; }

#define OSTRA_ENUM_CODE(Tag, number)                                                   \
  inline size_t encodedSize(code::Tag, code::Tag::Value) { return 4; }                 \
  inline void encode(code::Tag, code::Tag::Value v, ByteWrapper& out) { out.writeInt(number(v)); }
OSTRA_ENUM_CODE(OT, orderTypeNumber)
OSTRA_ENUM_CODE(TTH, transportationTypeNumber)
OSTRA_ENUM_CODE(RA, resignActionNumber)
OSTRA_ENUM_CODE(SG, serviceGroupNumber)
OSTRA_ENUM_CODE(CM, callbackModelNumber)
#undef OSTRA_ENUM_CODE

// ---- what the core returns --------------------------------------------------------

// A handle from the core's signed 32-bit number, widened with its sign.
template <typename Handle>
Handle handleFromJava(int32_t number);
#define OSTRA_HANDLE_FROM_JAVA(Kind)                                   \
  template <>                                                          \
  inline rti1516e::Kind handleFromJava(int32_t number) {               \
    return rti1516e::Kind##Friend::fromNumber(number);                 \
  }
RTI1516E_SIMPLE_HANDLES(OSTRA_HANDLE_FROM_JAVA)
#undef OSTRA_HANDLE_FROM_JAVA

// The core's 0 and 1; any other number is reported and read as RECEIVE.
rti1516e::OrderType orderTypeFromJava(int32_t number);
// The core's 1 and 2; any other number is reported and read as BEST_EFFORT.
rti1516e::TransportationType transportationTypeFromJava(int32_t number);
// The number as it comes, unchecked.
inline rti1516e::ResignAction resignActionFromJava(int32_t number) {
  return static_cast<rti1516e::ResignAction>(number);
}
// A Java long becomes the API's unsigned long through its low 32 bits.
inline unsigned long unsignedFromJava(int64_t number) {
  return static_cast<unsigned long>(static_cast<uint32_t>(number));
}
inline rti1516e::RangeBounds rangeBoundsFromJava(int64_t lower, int64_t upper) {
  return rti1516e::RangeBounds(unsignedFromJava(lower), unsignedFromJava(upper));
}
template <typename Handle>
std::set<Handle> handleSetFromJava(int32_t const* numbers, size_t count) {
  std::set<Handle> set;
  for (size_t i = 0; i < count; ++i) set.insert(set.end(), handleFromJava<Handle>(numbers[i]));
  return set;
}
// A retraction handle from the whole of a returned byte array. Bytes that do not hold
// one are the core's fault: RTIinternalError.
rti1516e::MessageRetractionHandle retractionHandleFromJava(void const* bytes, size_t size);

}  // namespace ostra1516e

#endif  // OSTRA_GEN_ENCODER_H
