// EncodingSupport.h: what every encoding helper shares: the failure messages, padding
// and alignment, big-endian counts, the encode/decode round trip through a scratch
// buffer, and the list of owned or borrowed elements behind arrays and records.
//
// Every bounds check here compares a count with the bytes that remain after the index
// (never index + count with the size), so no hostile count can make a sum wrap around.
#ifndef OSTRA1516E_ENCODING_SUPPORT_H
#define OSTRA1516E_ENCODING_SUPPORT_H

#include <RTI/encoding/DataElement.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostra1516e {
namespace encoding {

using rti1516e::DataElement;
using rti1516e::Octet;

// The texts of the EncoderExceptions; federates may compare them.
extern wchar_t const kIndexOutOfBounds[];       // "Index is out of bounds"
extern wchar_t const kArrayIndexOutOfBounds[];  // "Array index out of bounds"
extern wchar_t const kNotPrototypeType[];       // "Element doesn't match prototype"
extern wchar_t const kNonMatchingType[];        // "Non-matching type"
extern wchar_t const kVariableArrayTooShort[];  // "HLAvariableArray cannot decode ..."
extern wchar_t const kOpaqueTooShort[];         // "HLAopaqueData cannot decode ..."
extern wchar_t const kUnmappedDiscriminant[];   // "Discriminant is not mapped to a value"
extern wchar_t const kExternalTooSmall[];       // "Insufficient external storage"
extern wchar_t const kNullElement[];            // a null element pointer was given

[[noreturn]] void fail(wchar_t const* message);

// A boundary of 0 (which only a federate's own DataElement could report) means 1.
inline size_t roundUp(size_t n, unsigned boundary) {
  size_t const b = boundary == 0 ? 1 : boundary;
  if ((b & (b - 1)) == 0) return (n + b - 1) & ~(b - 1);  // the usual case, without a division
  return (n + b - 1) / b * b;
}

// padTo appends zero bytes until buffer's size is a multiple of boundary.
inline void padTo(std::vector<Octet>& buffer, unsigned boundary) {
  buffer.resize(roundUp(buffer.size(), boundary));
}

// alignForDecode raises index to boundary while decoding buffer. Padding that would
// reach past the end stops at the end: there is nothing after it to misread, and the
// next element that needs bytes reports the shortage. An index already past the end is
// left alone for the same reason (and so cannot wrap).
inline size_t alignForDecode(size_t index, unsigned boundary, size_t size) {
  if (index >= size) return index;
  size_t const aligned = roundUp(index, boundary);
  return aligned > size ? size : aligned;
}

// remainsFewerThan is true when fewer than n bytes follow index.
inline bool remainsFewerThan(size_t index, size_t size, size_t n) {
  return index > size || size - index < n;
}

inline std::uint32_t loadUInt32BE(Octet const* p) {
  auto b = [p](int i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(p[i])); };
  return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}

inline void storeUInt32BE(Octet* p, std::uint32_t v) {
  p[0] = static_cast<Octet>(v >> 24);
  p[1] = static_cast<Octet>(v >> 16);
  p[2] = static_cast<Octet>(v >> 8);
  p[3] = static_cast<Octet>(v);
}

// readCount reads a 32-bit big-endian signed count at buffer[index] (4 bytes must be
// there) and widens it with its sign, so that a negative count becomes an enormous
// unsigned one that no bounds check lets through.
inline std::uint64_t readCount(std::vector<Octet> const& buffer, size_t index) {
  auto const n = static_cast<std::int32_t>(loadUInt32BE(buffer.data() + index));
  return static_cast<std::uint64_t>(static_cast<std::int64_t>(n));
}

// appendCount pads to 4 bytes and appends n as a 32-bit big-endian integer.
inline void appendCount(std::vector<Octet>& buffer, size_t n) {
  padTo(buffer, 4);
  size_t const at = buffer.size();
  buffer.resize(at + 4);
  storeUInt32BE(buffer.data() + at, static_cast<std::uint32_t>(n));
}

// The composites build their bytes in a scratch buffer and decode from a copy.
void encodeThroughBuffer(DataElement const& element, rti1516e::VariableLengthData& out);
void decodeThroughBuffer(DataElement& element, rti1516e::VariableLengthData const& in);

// cloneOf returns an owned copy of element; never null.
DataElement* cloneOf(DataElement const& element);

// An element held by an array, a record or a variant record. Owned elements are the
// holder's copies, deleted with the entry; the others belong to the caller.
struct ElementEntry {
  bool owned;
  DataElement* element;
};

// ElementList is the ordered element list of arrays and records. Every change that can
// fail (copying, allocating) is done before anything is released, so a failing change
// leaves the list as it was.
class ElementList {
 public:
  ElementList() = default;
  // Owned copies of every element of other, in order.
  ElementList(ElementList const& other);
  ElementList& operator=(ElementList const&) = delete;
  ~ElementList();

  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  DataElement& operator[](size_t index) const { return *entries_[index].element; }
  // at throws "Array index out of bounds" for an index at or past size().
  DataElement& at(size_t index) const;

  void appendCopy(DataElement const& element);
  void appendPointer(DataElement* element);
  void replaceWithCopy(size_t index, DataElement const& element);
  void replaceWithPointer(size_t index, DataElement* element);
  // truncate drops the entries from count on, deleting the owned ones.
  void truncate(size_t count);

  // The largest element boundary, and at least floor.
  unsigned maxBoundary(unsigned floor) const;
  // The length of the elements laid out from offset start (each aligned), plus start.
  size_t layoutLength(size_t start) const;
  void encodeEach(std::vector<Octet>& buffer) const;
  size_t decodeEach(std::vector<Octet> const& buffer, size_t index) const;

 private:
  std::vector<ElementEntry> entries_;
};

}  // namespace encoding
}  // namespace ostra1516e

#endif  // OSTRA1516E_ENCODING_SUPPORT_H
