// The encoding, decoding and measuring of every element by its kind (EncodingSupport.h):
// the library's own classes are reached through their records, without a virtual call;
// a federate's own class through its virtual functions. A composite first works out its
// whole extent; when only the library's own classes are inside, it makes room for all of
// it at once and writes each element at its offset, otherwise it appends element after
// element as a federate's encodeInto expects.
#include "BasicCodecs.h"
#include "Composites.h"
#include "RTI/VariableLengthDataFriend.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <typeinfo>

namespace ostra1516e {
namespace encoding {

using rti1516e::DataElementFriend;

namespace {

// The basic classes' codecs and records, by kind.
template <Kind K> struct BasicOf;
#define OSTRA_BASIC_OF(Name, T)                                             \
  template <> struct BasicOf<Kind::Name> {                                  \
    using Element = rti1516e::Name;                                         \
    using Codec = CodecOf<rti1516e::Name>::type;                            \
  };
RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_BASIC_OF)
#undef OSTRA_BASIC_OF

template <Kind K>
BasicValue<typename BasicOf<K>::Codec>& valueOf(DataElement const& element) {
  return *DataElementFriend::impl(static_cast<typename BasicOf<K>::Element const&>(element));
}

// The same through an entry's record.
template <Kind K>
BasicValue<typename BasicOf<K>::Codec>& valueOf(ElementEntry const& entry) {
  return *static_cast<BasicValue<typename BasicOf<K>::Codec>*>(entry.record);
}

template <class Element>
auto& recordOf(DataElement const& element) {
  return *DataElementFriend::impl(static_cast<Element const&>(element));
}

constexpr size_t kNoRoom = ~size_t{0};

// One basic element, decoded at index as its decodeFrom does.
template <Kind K>
size_t decodeBasic(DataElement& element, DecodeSource& source, size_t index) {
  using Codec = typename BasicOf<K>::Codec;
  if (index >= source.size()) fail(kIndexOutOfBounds);
  return index + decodeValue<Codec>(source.data() + index, source.size() - index,
                                    valueOf<K>(element).target());
}

// The same after raising index to the boundary, inline in the loops over elements.
template <class Codec>
inline __attribute__((always_inline)) size_t decodeBasicAligned(BasicValue<Codec>& value,
                                                                Octet const* data, size_t size,
                                                                size_t index) {
  index = alignForDecode(index, Codec::Boundary, size);
  if (index >= size) fail(kIndexOutOfBounds);
  return index + decodeValue<Codec>(data + index, size - index, value.target());
}

template <class Codec>
inline __attribute__((always_inline)) size_t writeBasic(BasicValue<Codec> const& record, Octet* base,
                                                        size_t p) {
  auto const& value = record.current();
  p = roundUp(p, Codec::Boundary);
  Codec::write(value, base + p);
  return p + Codec::length(value);
}

template <class Codec>
inline __attribute__((always_inline)) Extent basicExtent(BasicValue<Codec> const& record) {
  return Extent{Codec::length(record.current()), Codec::Boundary, true};
}

// One basic element of fixed size read from p into its record. The value is read into a
// local and stored by a branch rather than through a selected address, so that the store
// (nearly always to the element's own storage) need not wait for the load of the binding.
template <Kind K>
inline __attribute__((always_inline)) void readAt(ElementEntry const& entry, Octet const* p) {
  using Codec = typename BasicOf<K>::Codec;
  if constexpr (Codec::Fixed) {
    auto& slot = valueOf<K>(entry);
    typename Codec::Value value;
    Codec::read(p, Codec::Size, value);
    if (__builtin_expect(slot.external != nullptr, 0)) {
      *slot.external = value;
    } else {
      slot.own = value;
    }
  }
}

template <Kind K>
inline __attribute__((always_inline)) void writeAt(ElementEntry const& entry, Octet* p) {
  using Codec = typename BasicOf<K>::Codec;
  if constexpr (Codec::Fixed) Codec::write(valueOf<K>(entry).current(), p);
}

// A run of n elements of one fixed-size kind, decoded after one bounds check; kNoRoom when
// the bytes do not hold them all (the caller then decodes one by one, so that the
// elements before the shortage are decoded and the shortage fails as it always has).
template <Kind K>
size_t decodeRun(ElementEntry const* entries, size_t n, Octet const* data, size_t size, size_t index) {
  constexpr size_t kSize = BasicOf<K>::Codec::Size;
  size_t const at = alignForDecode(index, BasicOf<K>::Codec::Boundary, size);
  if (at >= size || (size - at) / kSize < n) return kNoRoom;
  Octet const* p = data + at;
  for (size_t i = 0; i < n; ++i, p += kSize) readAt<K>(entries[i], p);
  return at + n * kSize;
}

template <Kind K>
size_t writeRun(ElementEntry const* entries, size_t n, Octet* base, size_t p) {
  constexpr size_t kSize = BasicOf<K>::Codec::Size;
  Octet* out = base + roundUp(p, BasicOf<K>::Codec::Boundary);
  for (size_t i = 0; i < n; ++i, out += kSize) writeAt<K>(entries[i], out);
  return static_cast<size_t>(out - base);
}

// ---- a list's fixed prefix ------------------------------------------------------------
//
// Each entry of the prefix is of a fixed-size basic kind and lies at its offset from the
// prefix's start; the callers have checked that the prefix's bytes are there (decoding)
// or made room for them (encoding).

void readPrefix(ElementEntry const* entries, size_t n, Octet const* start) {
  for (ElementEntry const* entry = entries; entry != entries + n; ++entry) {
    switch (entry->kind) {
#define OSTRA_READ_AT(Name, T) \
  case Kind::Name:             \
    readAt<Kind::Name>(*entry, start + entry->offset); \
    break;
      RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_READ_AT)
#undef OSTRA_READ_AT
      default:
        __builtin_unreachable();  // a prefix holds basic elements only
    }
  }
}

void writePrefix(ElementEntry const* entries, size_t n, Octet* start) {
  for (ElementEntry const* entry = entries; entry != entries + n; ++entry) {
    switch (entry->kind) {
#define OSTRA_WRITE_AT(Name, T) \
  case Kind::Name:              \
    writeAt<Kind::Name>(*entry, start + entry->offset); \
    break;
      RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_WRITE_AT)
#undef OSTRA_WRITE_AT
      default:
        __builtin_unreachable();  // a prefix holds basic elements only
    }
  }
}

// The list of a fixed array or a fixed record, through its entry.
inline ElementList const& listOf(ElementEntry const& entry) {
  return *static_cast<ElementList const*>(entry.record);
}

inline bool isFixedList(Kind kind) { return kind == Kind::HLAfixedArray || kind == Kind::HLAfixedRecord; }

// ---- lists of fixed-size basic elements inside other lists ------------------------------
//
// A record of numbers (or a fixed array of them) inside a record or an array is placed by
// its layout (ElementList::fixedOnly): raised to its boundary, one bounds check, each
// element at its offset. Consecutive ones of one shape, as in an array of such records,
// are rows of a table: each column (the same element of every row) is done in one loop
// of one kind, so that the kind is looked at once per column rather than once per value.

// The list at p raised to its boundary; returns the end.
size_t writeFixedList(ElementList const& list, Octet* base, size_t p) {
  p = roundUp(p, list.fixedBoundary());
  switch (list.run()) {
#define OSTRA_WRITE_FIXED_RUN(Name, T) \
  case Kind::Name:                     \
    return writeRun<Kind::Name>(list.entries(), list.size(), base, p);
    RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_WRITE_FIXED_RUN)
#undef OSTRA_WRITE_FIXED_RUN
    default:
      writePrefix(list.entries(), list.size(), base + p);
      return p + list.fixedLength();
  }
}

// The list at index raised to its boundary, or kNoRoom when its bytes are not all there.
size_t decodeFixedList(ElementList const& list, Octet const* data, size_t size, size_t index) {
  size_t const at = alignForDecode(index, list.fixedBoundary(), size);
  if (remainsFewerThan(at, size, list.fixedLength())) return kNoRoom;
  switch (list.run()) {
#define OSTRA_READ_FIXED_RUN(Name, T) \
  case Kind::Name:                    \
    return decodeRun<Kind::Name>(list.entries(), list.size(), data, size, at);
    RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_READ_FIXED_RUN)
#undef OSTRA_READ_FIXED_RUN
    default:
      readPrefix(list.entries(), list.size(), data + at);
      return at + list.fixedLength();
  }
}

constexpr size_t kMaxRows = 64;

// The rows of the table that begins at first: the entries from there on that are fixed
// lists of one shape, at most kMaxRows of them, with their entries gathered into rows
// unless it is null. Only owned ones when ownedOnly: an array's own copies, whose values
// nobody else can reach, so that the order in which a column-wise decode stores them
// cannot show.
size_t gatherRows(ElementEntry const* first, ElementEntry const* end, bool ownedOnly,
                  ElementEntry const** rows) {
  std::uint64_t const shape = listOf(*first).shape();
  if (shape == 0) return 0;
  size_t n = 0;
  for (ElementEntry const* entry = first; entry != end && n < kMaxRows; ++entry) {
    if (!isFixedList(entry->kind) || (ownedOnly && !entry->owned)) break;
    ElementList const& list = listOf(*entry);
    if (list.shape() != shape) break;
    if (rows != nullptr) rows[n] = list.entries();
    ++n;
  }
  return n;
}

// The byte layout of n rows of the list layout from start (aligned): row r at
// start + r * stride; the whole takes span bytes.
struct Table {
  size_t stride;
  size_t span;
};

inline Table tableOf(ElementList const& layout, size_t n) {
  size_t const stride = roundUp(layout.fixedLength(), layout.fixedBoundary());
  return Table{stride, (n - 1) * stride + layout.fixedLength()};
}

template <Kind K>
inline __attribute__((always_inline)) void writeColumn(ElementEntry const* const* rows, size_t n, size_t column,
                                                       Octet* out, size_t stride) {
  for (size_t r = 0; r < n; ++r, out += stride) writeAt<K>(rows[r][column], out);
}

template <Kind K>
inline __attribute__((always_inline)) void readColumn(ElementEntry const* const* rows, size_t n, size_t column,
                                                      Octet const* in, size_t stride) {
  for (size_t r = 0; r < n; ++r, in += stride) readAt<K>(rows[r][column], in);
}

// Writes n rows of layout's shape at p raised to their boundary; returns the end.
size_t writeRows(ElementList const& layout, ElementEntry const* const* rows, size_t n, Octet* base,
                 size_t p) {
  Table const table = tableOf(layout, n);
  Octet* const start = base + roundUp(p, layout.fixedBoundary());
  for (size_t column = 0; column < layout.size(); ++column) {
    ElementEntry const& cell = layout.entries()[column];
    switch (cell.kind) {
#define OSTRA_WRITE_COLUMN(Name, T) \
  case Kind::Name:                  \
    writeColumn<Kind::Name>(rows, n, column, start + cell.offset, table.stride); \
    break;
      RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_WRITE_COLUMN)
#undef OSTRA_WRITE_COLUMN
      default:
        __builtin_unreachable();  // a shape holds basic elements only
    }
  }
  return static_cast<size_t>(start - base) + table.span;
}

// Decodes n rows at index raised to their boundary after one bounds check for all of
// them; kNoRoom when they are not all there (the caller then goes row by row).
size_t decodeRows(ElementList const& layout, ElementEntry const* const* rows, size_t n, Octet const* data,
                  size_t size, size_t index) {
  Table const table = tableOf(layout, n);
  size_t const at = alignForDecode(index, layout.fixedBoundary(), size);
  if (remainsFewerThan(at, size, table.span)) return kNoRoom;
  for (size_t column = 0; column < layout.size(); ++column) {
    ElementEntry const& cell = layout.entries()[column];
    switch (cell.kind) {
#define OSTRA_READ_COLUMN(Name, T) \
  case Kind::Name:                 \
    readColumn<Kind::Name>(rows, n, column, data + at + cell.offset, table.stride); \
    break;
      RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_READ_COLUMN)
#undef OSTRA_READ_COLUMN
      default:
        __builtin_unreachable();  // a shape holds basic elements only
    }
  }
  return at + table.span;
}

// ---- the composites -------------------------------------------------------------------

using rti1516e::HLAfixedArray;
using rti1516e::HLAfixedRecord;
using rti1516e::HLAopaqueData;
using rti1516e::HLAvariableArray;
using rti1516e::HLAvariantRecord;

// The list of a fixed array or a fixed record.
ElementList const& listOf(Kind kind, DataElement const& element) {
  return kind == Kind::HLAfixedArray ? recordOf<HLAfixedArray>(element).elements
                                     : recordOf<HLAfixedRecord>(element).fields;
}

unsigned variableArrayBoundary(rti1516e::HLAvariableArrayImplementation const& array) {
  if (!array.elements.empty()) return array.elements.maxBoundary(4);
  unsigned const b = boundaryOf(array.prototypeKind, *array.prototype);
  return b > 4 ? b : 4;
}

Extent variableArrayExtent(rti1516e::HLAvariableArrayImplementation const& array) {
  if (!array.elements.empty()) return array.elements.extent(4, 4);
  Extent const prototype = extentOf(array.prototypeKind, *array.prototype);
  return Extent{4, prototype.boundary > 4 ? prototype.boundary : 4u, prototype.known};
}

// The count is only checked against the bytes that remain, taking every element as at
// least one byte; the elements check their own lengths. Surplus elements are dropped
// first; missing ones are added one at a time, each just before it is decoded, so that a
// value that fails half-way has made no more copies of the prototype than it reached.
// Elements decoded before a failing one keep their new values.
size_t decodeVariableArray(rti1516e::HLAvariableArrayImplementation& array, DecodeSource& source,
                           size_t index) {
  size_t const size = source.size();
  index = alignForDecode(index, 4, size);
  if (remainsFewerThan(index, size, 4)) fail(kVariableArrayTooShort);
  std::uint64_t const count = readCount(source.data(), index);
  if (count > size - index - 4) fail(kVariableArrayTooShort);
  ElementList& elements = array.elements;
  elements.truncate(static_cast<size_t>(count));
  index = elements.decode(source, index + 4);
  // The copies' numbers side by side in the array's pool: once the first copy shows how
  // many numbers and how many bytes a copy has, room for the numbers of the copies that
  // the bytes left can hold.
  bool roomMade = false;
  while (elements.size() < count) {
    size_t const taken = array.pool.taken();
    size_t const from = index;
    {
      PoolScope scope(&array.pool);
      elements.appendCopy(*array.prototype, array.prototypeKind);
    }
    DataElement& element = elements[elements.size() - 1];
    index = decodeElement(array.prototypeKind, element, source, index);
    if (!roomMade) {
      roomMade = true;
      size_t const numbers = array.pool.taken() - taken;
      size_t const bytes = index > from ? index - from : 0;
      if (numbers > 0 && bytes > 0 && index < size) {
        size_t const copies = static_cast<size_t>(count) - elements.size();
        size_t const fit = (size - index) / bytes;
        array.pool.reserve((copies < fit ? copies : fit) * numbers);
      }
    }
  }
  return index;
}

struct VariantLayout {
  Extent discriminant;
  unsigned alternatives;  // the largest alternative boundary, 1 without alternatives
  bool known;             // every alternative is the library's own
};

VariantLayout variantLayout(rti1516e::HLAvariantRecordImplementation const& record) {
  VariantLayout layout{extentOf(record.discriminantKind, *record.discriminant), 1, true};
  for (auto const& alternative : record.alternatives) {
    Extent const e = extentOf(alternative.second.kind, *alternative.second.element);
    if (e.boundary > layout.alternatives) layout.alternatives = e.boundary;
    layout.known = layout.known && e.known;
  }
  return layout;
}

Extent variantExtent(rti1516e::HLAvariantRecordImplementation const& record) {
  VariantLayout const layout = variantLayout(record);
  Extent e = layout.discriminant;
  e.known = e.known && layout.known;
  if (layout.alternatives > e.boundary) e.boundary = layout.alternatives;
  if (record.alternatives.empty()) return e;
  e.length = roundUp(e.length, layout.alternatives);
  if (ElementEntry const* selected = record.selected()) {
    e.length += extentOf(selected->kind, *selected->element).length;
  }
  return e;
}

size_t decodeVariant(rti1516e::HLAvariantRecordImplementation& record, DecodeSource& source,
                     size_t index) {
  index = decodeElement(record.discriminantKind, *record.discriminant, source, index);
  if (record.alternatives.empty()) return index;
  index = alignForDecode(index, record.largestAlternativeBoundary(), source.size());
  ElementEntry const* selected = record.selected();
  return selected == nullptr ? index
                             : decodeContent(selected->kind, *selected->element, source, index);
}

}  // namespace

// ---- by kind --------------------------------------------------------------------------

ElementEntry entryFor(bool owned, Kind kind, DataElement* element) {
  void* record = nullptr;
  switch (kind) {
#define OSTRA_RECORD(Name, T) \
  case Kind::Name:            \
    record = &valueOf<Kind::Name>(*element); \
    break;
    RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_RECORD)
#undef OSTRA_RECORD
    case Kind::HLAfixedArray:
    case Kind::HLAfixedRecord:
      record = const_cast<ElementList*>(&listOf(kind, *element));
      break;
    default:
      break;
  }
  return ElementEntry{owned, kind, 0, element, record};
}

Kind kindOf(DataElement const& element) {
  // Compared by identity: a class of the library has one type_info object. Should a copy
  // of one turn up elsewhere, the element is only taken for a federate's and goes the
  // general way.
  static std::type_info const* const types[] = {
#define OSTRA_TYPE(Name, T) &typeid(rti1516e::Name),
      RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_TYPE)
#undef OSTRA_TYPE
      &typeid(HLAfixedArray), &typeid(HLAvariableArray), &typeid(HLAfixedRecord),
      &typeid(HLAvariantRecord), &typeid(HLAopaqueData),
  };
  std::type_info const* const type = &typeid(element);
  for (size_t i = 0; i < sizeof types / sizeof types[0]; ++i) {
    if (types[i] == type) return static_cast<Kind>(i);
  }
  return Kind::Foreign;
}

size_t fixedSizeOf(Kind kind) {
  switch (kind) {
#define OSTRA_FIXED_SIZE(Name, T)                        \
  case Kind::Name: {                                     \
    using Codec = BasicOf<Kind::Name>::Codec;            \
    return Codec::Fixed ? Codec::Size : 0;               \
  }
    RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_FIXED_SIZE)
#undef OSTRA_FIXED_SIZE
    default:
      return 0;
  }
}

unsigned boundaryOf(Kind kind, DataElement const& element) {
  switch (kind) {
#define OSTRA_BOUNDARY(Name, T) \
  case Kind::Name:              \
    return BasicOf<Kind::Name>::Codec::Boundary;
    RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_BOUNDARY)
#undef OSTRA_BOUNDARY
    case Kind::HLAfixedArray:
    case Kind::HLAfixedRecord:
      return listOf(kind, element).maxBoundary(1);
    case Kind::HLAvariableArray:
      return variableArrayBoundary(recordOf<HLAvariableArray>(element));
    case Kind::HLAvariantRecord: {
      auto const& record = recordOf<HLAvariantRecord>(element);
      unsigned const discriminant = boundaryOf(record.discriminantKind, *record.discriminant);
      unsigned const alternatives = record.largestAlternativeBoundary();
      return discriminant > alternatives ? discriminant : alternatives;
    }
    case Kind::HLAopaqueData:
      return 4;
    case Kind::Foreign:
      break;
  }
  return element.getOctetBoundary();
}

Extent extentOf(Kind kind, DataElement const& element) {
  switch (kind) {
#define OSTRA_EXTENT(Name, T) \
  case Kind::Name:            \
    return basicExtent(valueOf<Kind::Name>(element));
    RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_EXTENT)
#undef OSTRA_EXTENT
    case Kind::HLAfixedArray:
    case Kind::HLAfixedRecord:
      return listOf(kind, element).extent(0, 1);
    case Kind::HLAvariableArray:
      return variableArrayExtent(recordOf<HLAvariableArray>(element));
    case Kind::HLAvariantRecord:
      return variantExtent(recordOf<HLAvariantRecord>(element));
    case Kind::HLAopaqueData:
      return Extent{4 + recordOf<HLAopaqueData>(element).dataLength, 4, true};
    case Kind::Foreign:
      break;
  }
  return Extent{element.getEncodedLength(), element.getOctetBoundary(), false};
}

void appendElement(Kind kind, DataElement const& element, std::vector<Octet>& buffer) {
  switch (kind) {
#define OSTRA_APPEND(Name, T)                                                                \
  case Kind::Name:                                                                           \
    return encodeValueInto<BasicOf<Kind::Name>::Codec>(valueOf<Kind::Name>(element).current(), \
                                                       buffer);
    RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_APPEND)
#undef OSTRA_APPEND
    case Kind::HLAfixedArray:
    case Kind::HLAvariableArray:
    case Kind::HLAfixedRecord:
    case Kind::HLAvariantRecord:
    case Kind::HLAopaqueData:
      return encodeCompositeInto(kind, element, buffer);
    case Kind::Foreign:
      break;
  }
  element.encodeInto(buffer);
}

size_t writeContent(Kind kind, DataElement const& element, Octet* base, size_t p) {
  switch (kind) {
#define OSTRA_WRITE(Name, T) \
  case Kind::Name:           \
    return writeBasic(valueOf<Kind::Name>(element), base, p);
    RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_WRITE)
#undef OSTRA_WRITE
    case Kind::HLAfixedArray:
    case Kind::HLAfixedRecord:
      return listOf(kind, element).write(base, p);
    case Kind::HLAvariableArray: {
      auto const& array = recordOf<HLAvariableArray>(element);
      storeUInt32BE(base + p, static_cast<std::uint32_t>(array.elements.size()));
      return array.elements.write(base, p + 4);
    }
    case Kind::HLAvariantRecord: {
      auto const& record = recordOf<HLAvariantRecord>(element);
      p = writeElement(record.discriminantKind, *record.discriminant, base, p);
      if (record.alternatives.empty()) return p;
      p = roundUp(p, record.largestAlternativeBoundary());
      ElementEntry const* selected = record.selected();
      return selected == nullptr ? p : writeElement(selected->kind, *selected->element, base, p);
    }
    case Kind::HLAopaqueData: {
      auto const& opaque = recordOf<HLAopaqueData>(element);
      storeUInt32BE(base + p, static_cast<std::uint32_t>(opaque.dataLength));
      if (opaque.dataLength > 0) std::memcpy(base + p + 4, opaque.data, opaque.dataLength);
      return p + 4 + opaque.dataLength;
    }
    case Kind::Foreign:
      break;
  }
  // Not reached: a value with a federate's element inside is appended, never written at
  // offsets worked out in advance.
  fail(kIndexOutOfBounds);
}

// A basic element raises p to its boundary itself.
size_t writeElement(Kind kind, DataElement const& element, Octet* base, size_t p) {
  return writeContent(kind, element, base, isBasic(kind) ? p : roundUp(p, boundaryOf(kind, element)));
}

size_t decodeContent(Kind kind, DataElement& element, DecodeSource& source, size_t index) {
  switch (kind) {
#define OSTRA_DECODE(Name, T) \
  case Kind::Name:            \
    return decodeBasic<Kind::Name>(element, source, index);
    RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_DECODE)
#undef OSTRA_DECODE
    case Kind::HLAfixedArray:
    case Kind::HLAfixedRecord:
      return listOf(kind, element).decode(source, index);
    case Kind::HLAvariableArray:
      return decodeVariableArray(recordOf<HLAvariableArray>(element), source, index);
    case Kind::HLAvariantRecord:
      return decodeVariant(recordOf<HLAvariantRecord>(element), source, index);
    case Kind::HLAopaqueData:
      return recordOf<HLAopaqueData>(element).decode(source.data(), source.size(), index);
    case Kind::Foreign:
      break;
  }
  return element.decodeFrom(source.vector(), index);
}

size_t decodeElement(Kind kind, DataElement& element, DecodeSource& source, size_t index) {
  return decodeContent(kind, element, source, alignForDecode(index, boundaryOf(kind, element), source.size()));
}

// ---- the composites' public operations ------------------------------------------------

void encodeCompositeInto(Kind kind, DataElement const& element, std::vector<Octet>& buffer) {
  Extent const extent = extentOf(kind, element);
  if (extent.known) {
    size_t const at = roundUp(buffer.size(), extent.boundary);
    buffer.resize(at + extent.length);
    writeContent(kind, element, buffer.data(), at);
    return;
  }
  // A federate's element inside: element after element, each appending its own bytes.
  switch (kind) {
    case Kind::HLAfixedArray:
    case Kind::HLAfixedRecord:
      padTo(buffer, extent.boundary);
      listOf(kind, element).append(buffer);
      return;
    case Kind::HLAvariableArray: {
      auto const& array = recordOf<HLAvariableArray>(element);
      padTo(buffer, extent.boundary);
      appendCount(buffer, array.elements.size());
      array.elements.append(buffer);
      return;
    }
    case Kind::HLAvariantRecord: {
      auto const& record = recordOf<HLAvariantRecord>(element);
      padTo(buffer, extent.boundary);
      appendElement(record.discriminantKind, *record.discriminant, buffer);
      if (record.alternatives.empty()) return;
      padTo(buffer, record.largestAlternativeBoundary());
      if (ElementEntry const* selected = record.selected()) {
        appendElement(selected->kind, *selected->element, buffer);
      }
      return;
    }
    default:
      element.encodeInto(buffer);  // an opaque value is always known; nothing else comes here
  }
}

size_t decodeCompositeFrom(Kind kind, DataElement& element, std::vector<Octet> const& buffer,
                           size_t index) {
  DecodeSource source(buffer);
  return decodeContent(kind, element, source, index);
}

// ---- plans ----------------------------------------------------------------------------

namespace {

// A plan goes at most this deep and this far; a larger value is done the usual way.
constexpr int kMaxPlanDepth = 32;
constexpr size_t kMaxPlanNumbers = 1 << 16;
// Groups are used when their runs hold at least this many numbers on average.
constexpr size_t kMinRunAverage = 4;

// n numbers of one kind, each read from start + offsets[i] into records[i], some of
// which are bound to a federate's variable.
template <Kind K>
void readBound(void* const* records, std::uint32_t const* offsets, size_t n, Octet const* start) {
  if constexpr (BasicOf<K>::Codec::Fixed) {
    for (size_t i = 0; i < n; ++i) readAt<K>(ElementEntry{false, K, 0, nullptr, records[i]}, start + offsets[i]);
  }
}

// The numbers of one kind in runs, none bound: run by run, each number read from
// start + its place into its record (DecodePlan::Run).
template <Kind K, class Run>
void readRuns(Run const* runs, size_t n, void* const* records, std::uint32_t const* places, Octet const* start) {
  using Codec = typename BasicOf<K>::Codec;
  if constexpr (Codec::Fixed) {
    auto const readOne = [](Octet const* in, std::uintptr_t out) {
      typename Codec::Value value;
      Codec::read(in, Codec::Size, value);
      reinterpret_cast<BasicValue<Codec>*>(out)->own = value;
    };
    for (Run const* run = runs; run != runs + n; ++run) {
      auto out = reinterpret_cast<std::uintptr_t>(records[run->begin]);
      Octet const* in = start + places[run->begin];
      std::ptrdiff_t const ps = run->placeSpacing;
      auto const rs = static_cast<std::uintptr_t>(run->recordSpacing);
      size_t i = 0;
      // Four at a time, so that the loop's own work is shared by four numbers.
      for (; i + 4 <= run->count; i += 4, in += 4 * ps, out += 4 * rs) {
        readOne(in, out);
        readOne(in + ps, out + rs);
        readOne(in + 2 * ps, out + 2 * rs);
        readOne(in + 3 * ps, out + 3 * rs);
      }
      for (; i < run->count; ++i, in += ps, out += rs) readOne(in, out);
    }
  }
}

// Whether any of n records is bound; the variables bound to go to bound, with their sizes.
template <Kind K>
bool noteBound(void* const* records, size_t n, std::vector<std::pair<char const*, size_t>>& bound) {
  using Value = typename BasicOf<K>::Codec::Value;
  size_t const before = bound.size();
  for (size_t i = 0; i < n; ++i) {
    if (Value const* external = static_cast<BasicValue<typename BasicOf<K>::Codec> const*>(records[i])->external) {
      bound.emplace_back(reinterpret_cast<char const*>(external), sizeof(Value));
    }
  }
  return bound.size() != before;
}

// Where the value of a number is kept, by its record: the variable it is bound to, or its own.
void* storageOf(Kind kind, void* record) {
  switch (kind) {
#define OSTRA_STORAGE_OF(Name, T) \
  case Kind::Name:                \
    return &static_cast<BasicValue<typename BasicOf<Kind::Name>::Codec>*>(record)->target();
    RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_STORAGE_OF)
#undef OSTRA_STORAGE_OF
    default:
      __builtin_unreachable();  // a plan holds numbers only
  }
}

// A number of a value laid out the same way every time: its kind, its place from the
// value's start, and its record.
struct Number {
  Kind kind;
  std::uint32_t offset;
  void* record;
};

// One move of a program: Count numbers of one kind (op says which: kind * kMaxCount +
// Count - 1) that lie side by side from offset in the bytes, and stride bytes apart from
// storage where they are kept.
struct Move {
  Octet* storage;
  std::uint32_t offset;
  std::int32_t stride;
  std::uint32_t op;
};
constexpr std::uint32_t kMaxCount = 4;
constexpr std::uint32_t kEndOp = static_cast<std::uint32_t>(Kind::HLAfixedArray) * kMaxCount;

template <bool Read, Kind K, unsigned Count>
inline __attribute__((always_inline)) void move(Move const& m, Octet* bytes) {
  using Codec = typename BasicOf<K>::Codec;
  if constexpr (Codec::Fixed) {
    using Value = typename Codec::Value;
    Octet* const at = bytes + m.offset;
    auto const stored = reinterpret_cast<std::uintptr_t>(m.storage);
    for (unsigned i = 0; i < Count; ++i) {
      auto const apart = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(i) * m.stride);
      auto* const value = reinterpret_cast<Value*>(stored + apart);
      if constexpr (Read) {
        Value read;
        Codec::read(at + i * Codec::Size, Codec::Size, read);
        *value = read;
      } else {
        Codec::write(*value, at + i * Codec::Size);
      }
    }
  }
}

// Runs a program: reads every number from bytes into where it is kept, or writes it from
// there into bytes. Each move ends in a jump of its own to the next one, so that the
// processor learns the sequence of a plan as a whole rather than guessing at one shared
// dispatch for every number.
template <bool Read>
__attribute__((noinline)) void run(Move const* m, Octet* bytes) {
#define OSTRA_MOVE_LABELS(Name, T) &&Name##1, &&Name##2, &&Name##3, &&Name##4,
  static void* const next[] = {RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_MOVE_LABELS) &&end};
#undef OSTRA_MOVE_LABELS
  static_assert(sizeof next / sizeof next[0] == kEndOp + 1, "one label per kind and count, and the end");
  goto *next[m->op];
#define OSTRA_MOVE_CODE(Name, T)                  \
  Name##1 : move<Read, Kind::Name, 1>(*m, bytes); \
  goto *next[(++m)->op];                          \
  Name##2 : move<Read, Kind::Name, 2>(*m, bytes); \
  goto *next[(++m)->op];                          \
  Name##3 : move<Read, Kind::Name, 3>(*m, bytes); \
  goto *next[(++m)->op];                          \
  Name##4 : move<Read, Kind::Name, 4>(*m, bytes); \
  goto *next[(++m)->op];
  RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_MOVE_CODE)
#undef OSTRA_MOVE_CODE
end:
  return;
}

// The moves of numbers in a list's order; neighbours are taken together where they can
// be, and the order of stores stays. Made again for the same numbers, a program takes no
// new memory.
class Program {
 public:
  // Makes the moves of numbers as they are kept now, and tells in storages where each is kept.
  void compile(std::vector<Number> const& numbers, std::vector<void*>& storages) {
    size_t const n = numbers.size();
    storages.resize(n);
    for (size_t i = 0; i < n; ++i) storages[i] = storageOf(numbers[i].kind, numbers[i].record);
    spilled_ = n + 1 > kInline;
    if (spilled_) more_.resize(n + 1);
    Move* const moves = spilled_ ? more_.data() : inline_;
    Move* out = moves;
    auto const address = [&](size_t i) { return static_cast<std::intptr_t>(reinterpret_cast<std::uintptr_t>(storages[i])); };
    for (size_t i = 0; i < n;) {
      Kind const kind = numbers[i].kind;
      auto const size = static_cast<std::uint32_t>(fixedSizeOf(kind));
      std::intptr_t stride = 0;
      std::uint32_t count = 1;
      for (; count < kMaxCount && i + count < n; ++count) {
        Number const& next = numbers[i + count];
        if (next.kind != kind || next.offset != numbers[i + count - 1].offset + size) break;
        std::intptr_t const apart = address(i + count) - address(i + count - 1);
        if (count == 1 && apart >= INT32_MIN && apart <= INT32_MAX) stride = apart;
        if (apart != stride) break;
      }
      *out++ = Move{static_cast<Octet*>(storages[i]), numbers[i].offset, static_cast<std::int32_t>(stride),
                    static_cast<std::uint32_t>(kind) * kMaxCount + count - 1};
      i += count;
    }
    *out = Move{nullptr, 0, 0, kEndOp};
  }
  // A branch rather than a choice of address, so that a short program's moves are read
  // without waiting for the load of a pointer.
  void read(Octet const* bytes) const {
    if (!spilled_) {
      run<true>(inline_, const_cast<Octet*>(bytes));
    } else {
      run<true>(more_.data(), const_cast<Octet*>(bytes));
    }
  }
  void write(Octet* bytes) const { run<false>(spilled_ ? more_.data() : inline_, bytes); }

 private:
  static constexpr size_t kInline = 16;  // moves kept inside, the end included
  bool spilled_ = false;                 // more moves than that, kept in more_
  Move inline_[kInline];
  std::vector<Move> more_;
};

}  // namespace

// What decode and encode plans share: the numbers of a list whose layout is the same for
// every value (numbers, and fixed records and arrays of them, however deeply nested), and
// the lists they were found in, so that a plan can tell whether it still holds.
//
// A plan must never outlive what it was made from. Every list takes a new stamp, unique
// among all lists ever made, when it is made and whenever its elements change; a plan
// notes the stamps of the lists it went through. So that a plan need not look at all of
// them every time, the plan epoch moves on whenever a list that some plan went through
// changes or is destroyed, and whenever a number is bound or unbound (which decides where
// its value is kept); a plan found good at the present epoch is good as it stands.
class PlanBase {
 protected:
  // Appends the numbers of list placed at p (raised already) and moves p past them; false
  // when the list holds anything but numbers, fixed arrays and fixed records, or is too large.
  bool flatten(ElementList const& list, size_t& p, int depth, std::vector<Number>& numbers) {
    lists_.emplace_back(&list, list.stamp_);
    list.planned_.store(true, std::memory_order_relaxed);
    if (depth > kMaxPlanDepth) return false;
    for (ElementEntry const& entry : list.entries_) {
      if (isFixedList(entry.kind)) {
        ElementList const& inner = listOf(entry);
        p = roundUp(p, inner.maxBoundary(1));
        if (!flatten(inner, p, depth + 1, numbers)) return false;
        continue;
      }
      size_t const fixed = fixedSizeOf(entry.kind);
      if (fixed == 0) return false;
      p = roundUp(p, static_cast<unsigned>(fixed));
      if (p > UINT32_MAX - fixed || numbers.size() == kMaxPlanNumbers) return false;
      numbers.push_back(Number{entry.kind, static_cast<std::uint32_t>(p), entry.record});
      p += fixed;
    }
    return true;
  }

  // Flattens list from its start; false when it cannot be planned or holds no number.
  bool flattenAll(ElementList const& list, std::vector<Number>& numbers) {
    lists_.clear();
    size_t end = 0;
    if (!flatten(list, end, 0, numbers) || numbers.empty()) return false;
    length_ = end;
    return true;
  }

  // Whether every list the plan went through is as it was. A list inside is looked at
  // only once the list that holds it is known to be unchanged, so that nothing is read
  // through an element that is gone.
  bool current() const {
    for (auto const& noted : lists_) {
      if (noted.first->stamp_ != noted.second) return false;
    }
    return true;
  }

  static bool plannable(ElementList const& list) { return list.summary_.nested && list.summary_.fixedTree; }

  std::vector<std::pair<ElementList const*, std::uint64_t>> lists_;  // each list before those inside it
  size_t length_ = 0;
};

// A record or array decoded again and again (a federate's reflected attribute) keeps a
// plan, so that a decode is one bounds check and one run over the numbers.
//
// When its numbers lie in long runs (the columns of an array of records), the plan reads
// them in groups of one kind (of one column, when the list's elements are rows of one
// layout), each group in the list's order: number i is read from offsets_[i] after the
// start into records_[i]; the runs of a group say where numbers lie evenly, to be read
// without looking up each one. Stored group by group, not in the list's order, two
// numbers that share storage (a record that comes twice, or numbers bound to overlapping
// variables) could end the other way round; a list with such numbers is decoded the usual way.
//
// Otherwise (a few records nested in one another) the plan is flat: a program that reads
// number by number in the list's order straight into where each is kept, which also keeps
// the order of stores whatever shares storage.
//
// The start is where the list's first element begins, raised to first_; it must lie on a
// multiple of boundary_ for these places to hold.
class DecodePlan : PlanBase {
 public:
  // The list's plan at the present epoch, made or checked again as needed; null when the
  // list is to be decoded the usual way.
  static DecodePlan const* of(ElementList const& list) {
    std::uint64_t const epoch = planEpoch.load(std::memory_order_relaxed);
    if (list.readyEpoch_ == epoch) return list.plan_.get();
    return refresh(list, epoch);
  }

  // Decodes list at index by its plan; kNoRoom when it has none, the bytes do not hold
  // it all or the start is placed otherwise (the caller then decodes the usual way).
  static size_t decodeBy(ElementList const& list, Octet const* data, size_t size, size_t index) {
    if (!plannable(list)) return kNoRoom;
    DecodePlan const* const plan = of(list);
    if (plan == nullptr) return kNoRoom;
    size_t const at = alignForDecode(index, plan->first_, size);
    if ((at & (plan->boundary_ - 1)) != 0 || remainsFewerThan(at, size, plan->length_)) return kNoRoom;
    if (plan->flat_) {
      plan->program_.read(data + at);
    } else {
      plan->readGroups(data + at);
    }
    return at + plan->length_;
  }

  // decodeBy for a whole value, where every boundary holds: a ready flat plan takes one
  // compare of the epoch and one of the length.
  static bool decodeWhole(ElementList const& list, Octet const* data, size_t size) {
    if (list.readyEpoch_ == planEpoch.load(std::memory_order_relaxed)) {
      DecodePlan const* const plan = list.plan_.get();
      if (plan->flat_ && size >= plan->length_) {
        plan->program_.read(data);
        return true;
      }
    }
    return decodeBy(list, data, size, 0) != kNoRoom;
  }

 private:
  struct Group {
    Kind kind;
    bool bound;  // some of its records are bound to a federate's variable
    std::uint32_t begin;
    std::uint32_t end;
    std::uint32_t firstRun;
    std::uint32_t endRun;
  };
  // Numbers of a group that lie evenly, both their places and their records (a column
  // of an array whose rows' records sit side by side in its pool): the first at begin,
  // each next one placeSpacing and recordSpacing bytes further on.
  struct Run {
    std::uint32_t begin;
    std::uint32_t count;
    std::ptrdiff_t placeSpacing;
    std::ptrdiff_t recordSpacing;
  };

  // of() when the plan is missing or from an earlier epoch.
  static DecodePlan const* refresh(ElementList const& list, std::uint64_t epoch);
  // Makes the plan afresh.
  void make(ElementList const& list);
  // Looks again at which numbers are bound, and where.
  void check();
  // Splits the group into runs of numbers that lie evenly.
  void splitIntoRuns(Group& group);
  __attribute__((noinline)) void readGroups(Octet const* start) const;

  std::uint64_t epoch_ = 0;
  bool made_ = false;      // the list is made of numbers only
  bool flat_ = false;      // program_ rather than groups
  bool repeated_ = false;  // some record comes twice
  bool apart_ = false;     // no record twice, and no two numbers bound to variables that overlap
  unsigned first_ = 1;
  unsigned boundary_ = 1;
  std::vector<Group> groups_;
  std::vector<Run> runs_;
  std::vector<std::uint32_t> offsets_;
  std::vector<void*> records_;   // by group
  std::vector<Number> numbers_;  // of a flat plan, in the list's order
  std::vector<void*> storages_;  // where each of them is kept
  Program program_;
};

void DecodePlanDeleter::operator()(DecodePlan* plan) const { delete plan; }

DecodePlan const* DecodePlan::refresh(ElementList const& list, std::uint64_t epoch) {
  DecodePlan* plan = list.plan_.get();
  if (plan != nullptr && plan->epoch_ != epoch && plan->current()) {
    if (plan->made_) plan->check();
    plan->epoch_ = epoch;
  }
  if (plan == nullptr || plan->epoch_ != epoch) {
    // Only a list decoded twice as it stands is worth a plan.
    if (list.seen_ != list.stamp_) {
      list.seen_ = list.stamp_;
      return nullptr;
    }
    if (plan == nullptr) {
      plan = new DecodePlan;
      list.plan_.reset(plan);
    }
    plan->make(list);
    plan->epoch_ = epoch;
  }
  if (!plan->made_ || !(plan->flat_ || plan->apart_)) return nullptr;
  list.readyEpoch_ = epoch;
  return plan;
}

void DecodePlan::make(ElementList const& list) {
  made_ = false;
  groups_.clear();
  runs_.clear();
  offsets_.clear();
  records_.clear();
  numbers_.clear();
  std::vector<Number> numbers;  // in the list's order
  if (!flattenAll(list, numbers)) return;
  ElementEntry const& head = list.entries_.front();
  first_ = isFixedList(head.kind) ? listOf(head).maxBoundary(1) : static_cast<unsigned>(fixedSizeOf(head.kind));
  boundary_ = list.maxBoundary(1);
  // When the list's elements are rows of one layout (an array of records), a group is a
  // column: the numbers of one kind at one place in every row. Otherwise a group holds
  // every number of one kind. Each group keeps the list's order.
  size_t const rows = list.entries_.size();
  size_t const width = rows > 1 && numbers.size() % rows == 0 ? numbers.size() / rows : 0;
  bool table = width > 0;
  for (size_t i = width; table && i < numbers.size(); ++i) table = numbers[i].kind == numbers[i % width].kind;
  std::vector<std::pair<size_t, size_t>> order;  // (group key, number)
  order.reserve(numbers.size());
  for (size_t i = 0; i < numbers.size(); ++i) {
    size_t const column = table ? i % width : 0;
    order.emplace_back(column * (static_cast<size_t>(Kind::Foreign) + 1) + static_cast<size_t>(numbers[i].kind), i);
  }
  std::sort(order.begin(), order.end());
  for (size_t i = 0; i < order.size();) {
    auto const begin = static_cast<std::uint32_t>(i);
    for (; i < order.size() && order[i].first == order[begin].first; ++i) {
      offsets_.push_back(numbers[order[i].second].offset);
      records_.push_back(numbers[order[i].second].record);
    }
    groups_.push_back(Group{numbers[order[begin].second].kind, false, begin, static_cast<std::uint32_t>(i), 0, 0});
    splitIntoRuns(groups_.back());
  }
  flat_ = runs_.size() * kMinRunAverage > numbers.size();
  if (flat_) {
    groups_.clear();
    runs_.clear();
    offsets_.clear();
    records_.clear();
    numbers_ = std::move(numbers);
  } else {
    // A record that comes twice in two groups would be stored out of the list's order.
    std::vector<void*> sorted(records_);
    std::sort(sorted.begin(), sorted.end());
    repeated_ = std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
  }
  made_ = true;
  check();
}

void DecodePlan::splitIntoRuns(Group& group) {
  std::uint32_t const* const places = offsets_.data();
  void* const* const records = records_.data();
  auto const place = [&](size_t i) { return static_cast<std::ptrdiff_t>(places[i]); };
  auto const address = [&](size_t i) { return static_cast<std::ptrdiff_t>(reinterpret_cast<std::uintptr_t>(records[i])); };
  group.firstRun = static_cast<std::uint32_t>(runs_.size());
  for (size_t i = group.begin; i < group.end;) {
    Run run{static_cast<std::uint32_t>(i), 1, 0, 0};
    if (i + 1 < group.end) {
      run.placeSpacing = place(i + 1) - place(i);
      run.recordSpacing = address(i + 1) - address(i);
      run.count = 2;
      while (i + run.count < group.end && place(i + run.count) - place(i + run.count - 1) == run.placeSpacing &&
             address(i + run.count) - address(i + run.count - 1) == run.recordSpacing) {
        ++run.count;
      }
    }
    runs_.push_back(run);
    i += run.count;
  }
  group.endRun = static_cast<std::uint32_t>(runs_.size());
}

void DecodePlan::check() {
  if (flat_) {
    program_.compile(numbers_, storages_);
    return;
  }
  std::vector<std::pair<char const*, size_t>> bound;
  for (Group& group : groups_) {
    void* const* const records = records_.data() + group.begin;
    size_t const n = group.end - group.begin;
    switch (group.kind) {
#define OSTRA_NOTE_BOUND(Name, T) \
  case Kind::Name:                \
    group.bound = noteBound<Kind::Name>(records, n, bound); \
    break;
      RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_NOTE_BOUND)
#undef OSTRA_NOTE_BOUND
      default:
        __builtin_unreachable();  // a plan holds numbers only
    }
  }
  std::sort(bound.begin(), bound.end());
  apart_ = !repeated_;
  for (size_t i = 1; i < bound.size() && apart_; ++i) {
    apart_ = static_cast<size_t>(bound[i].first - bound[i - 1].first) >= bound[i - 1].second;
  }
}

void DecodePlan::readGroups(Octet const* start) const {
  // Held in locals: a store of a single octet could otherwise be taken to change the plan.
  Group const* const groups = groups_.data();
  size_t const count = groups_.size();
  std::uint32_t const* const offsets = offsets_.data();
  void* const* const records = records_.data();
  Run const* const runs = runs_.data();
  for (size_t g = 0; g < count; ++g) {
    Group const group = groups[g];
    size_t const n = group.end - group.begin;
    switch (group.kind) {
#define OSTRA_READ_GROUP(Name, T) \
  case Kind::Name:                \
    if (group.bound) {                                                                       \
      readBound<Kind::Name>(records + group.begin, offsets + group.begin, n, start);         \
    } else {                                                                                 \
      readRuns<Kind::Name>(runs + group.firstRun, group.endRun - group.firstRun, records, offsets, start); \
    }                                                                                        \
    break;
      RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_READ_GROUP)
#undef OSTRA_READ_GROUP
      default:
        __builtin_unreachable();
    }
  }
}

// A record or array encoded again and again (a federate's updated attribute) keeps a plan
// too: a program that writes every number at its place into zeroed bytes of the value's
// length.
//
// Encoding does not change the value, so two threads may encode one value at once, and
// either may find the plan out of date. A plan therefore never changes once a list has
// taken it, except for the epoch it was last found good at: a new plan takes the place of
// one that no longer holds, and the list keeps the old one (another thread may still be
// looking at it) until the list itself changes or goes, when nobody can be encoding it. A
// list whose layout or bindings keep changing stops taking plans after kMaxRetired.
class EncodePlan : PlanBase {
 public:
  // Encodes list into out by its plan; false when it has none (the caller then encodes
  // the usual way).
  static bool encodeBy(ElementList const& list, rti1516e::VariableLengthData& out) {
    if (!plannable(list)) return false;
    std::uint64_t const epoch = planEpoch.load(std::memory_order_relaxed);
    EncodePlan const* plan = list.encodePlan_.load(std::memory_order_acquire);
    if (plan == nullptr || plan->checked_.load(std::memory_order_relaxed) != epoch) plan = refresh(list, plan, epoch);
    if (plan == nullptr || !plan->made_) return false;
    std::unique_ptr<Octet[]> bytes(new Octet[plan->length_]());
    plan->program_.write(bytes.get());
    out.takeDataPointer(bytes.get(), plan->length_);
    bytes.release();
    return true;
  }

  // Deletes the plans of list; only while nothing else can use the list.
  static void release(ElementList& list) {
    if (list.encodePlan_.load(std::memory_order_relaxed) == nullptr &&
        list.retired_.load(std::memory_order_relaxed) == nullptr) {
      return;
    }
    delete list.encodePlan_.exchange(nullptr, std::memory_order_relaxed);
    for (EncodePlan* plan = list.retired_.exchange(nullptr, std::memory_order_relaxed); plan != nullptr;) {
      delete std::exchange(plan, plan->nextRetired_);
    }
    list.retiredCount_.store(0, std::memory_order_relaxed);
  }

 private:
  static constexpr unsigned kMaxRetired = 8;

  // encodeBy when the plan is missing or from an earlier epoch.
  static EncodePlan const* refresh(ElementList const& list, EncodePlan const* plan, std::uint64_t epoch);
  // Whether the plan holds: the lists it went through and where their numbers are kept
  // are as they were.
  bool holds() const;

  mutable std::atomic<std::uint64_t> checked_{0};  // the epoch it was last found good at
  bool made_ = false;                              // the list is made of numbers only
  std::vector<Number> numbers_;
  std::vector<void*> storages_;
  Program program_;
  EncodePlan* nextRetired_ = nullptr;
};

EncodePlan const* EncodePlan::refresh(ElementList const& list, EncodePlan const* plan, std::uint64_t epoch) {
  if (plan != nullptr && plan->holds()) {
    plan->checked_.store(epoch, std::memory_order_relaxed);
    return plan;
  }
  // A list that has had many plans already is left alone, and only a list encoded twice
  // at one epoch is worth a plan.
  if (list.retiredCount_.load(std::memory_order_relaxed) >= kMaxRetired) return nullptr;
  if (list.encodeSeen_.load(std::memory_order_relaxed) != epoch) {
    list.encodeSeen_.store(epoch, std::memory_order_relaxed);
    return nullptr;
  }
  std::unique_ptr<EncodePlan> fresh(new EncodePlan);
  fresh->made_ = fresh->flattenAll(list, fresh->numbers_);
  if (fresh->made_) fresh->program_.compile(fresh->numbers_, fresh->storages_);
  fresh->checked_.store(epoch, std::memory_order_relaxed);
  auto* const old = const_cast<EncodePlan*>(plan);
  auto* expected = old;
  if (!list.encodePlan_.compare_exchange_strong(expected, fresh.get(), std::memory_order_acq_rel)) {
    return nullptr;  // another thread has just put its own in place
  }
  if (old != nullptr) {
    old->nextRetired_ = list.retired_.load(std::memory_order_relaxed);
    while (!list.retired_.compare_exchange_weak(old->nextRetired_, old, std::memory_order_relaxed)) {
    }
    list.retiredCount_.fetch_add(1, std::memory_order_relaxed);
  }
  return fresh.release();
}

bool EncodePlan::holds() const {
  if (!current()) return false;
  for (size_t i = 0; i < numbers_.size(); ++i) {
    if (storageOf(numbers_[i].kind, numbers_[i].record) != storages_[i]) return false;
  }
  return true;
}

void ElementList::releaseEncodePlans() { EncodePlan::release(*this); }

// ---- the composites' public encode and decode --------------------------------------------

// Written straight into the bytes that the value then owns, when only the library's own
// elements are inside; a value without bytes is empty data, as from an empty buffer.
void encodeComposite(Kind kind, DataElement const& element, rti1516e::VariableLengthData& out) {
  ElementList const* const list = isFixedList(kind) ? &listOf(kind, element) : nullptr;
  if (list != nullptr && EncodePlan::encodeBy(*list, out)) return;
  Extent const extent = list != nullptr ? list->extent(0, 1) : extentOf(kind, element);
  if (!extent.known) return encodeThroughBuffer(element, out);
  if (extent.length == 0) return out.setData(nullptr, 0);
  std::unique_ptr<Octet[]> bytes(new Octet[extent.length]());
  if (list != nullptr) {
    list->write(bytes.get(), 0);
  } else {
    writeContent(kind, element, bytes.get(), 0);
  }
  out.takeDataPointer(bytes.get(), extent.length);
  bytes.release();
}

namespace {

// decodeComposite when no plan decodes the value.
__attribute__((noinline)) void decodeCompositeEach(Kind kind, DataElement& element, Octet const* data,
                                                   size_t size) {
  DecodeSource source(data, size);
  if (isFixedList(kind)) {
    listOf(kind, element).decodeEach(source, 0);
  } else {
    decodeContent(kind, element, source, 0);
  }
}

}  // namespace

void decodeComposite(Kind kind, DataElement& element, rti1516e::VariableLengthData const& in) {
  auto const* const data = static_cast<Octet const*>(rti1516e::VariableLengthDataFriend::data(in));
  size_t const size = rti1516e::VariableLengthDataFriend::size(in);
  if (isFixedList(kind) && DecodePlan::decodeWhole(listOf(kind, element), data, size)) return;
  decodeCompositeEach(kind, element, data, size);
}

// ---- element lists --------------------------------------------------------------------

unsigned ElementList::maxBoundary(unsigned floor) const {
  Summary const& s = summary_;
  if (s.basicOnly) return s.boundary > floor ? s.boundary : floor;
  unsigned boundary = s.prefixBoundary > floor ? s.prefixBoundary : floor;
  for (size_t i = s.prefixCount; i < entries_.size(); ++i) {
    ElementEntry const& entry = entries_[i];
    unsigned const b = isFixedList(entry.kind) ? listOf(entry).maxBoundary(1) : boundaryOf(entry.kind, *entry.element);
    if (b > boundary) boundary = b;
  }
  return boundary;
}

// The fixed prefix is measured, written and decoded as a whole when its start is aligned
// to its boundary; otherwise (a caller's unaligned index, an odd mix of elements behind a
// variable array's count) element by element, which places them the same way there.
Extent ElementList::extent(size_t start, unsigned floor) const {
  Summary const& s = summary_;
  size_t const n = entries_.size();
  if (s.run != Kind::Foreign) {  // every element aligns to its size, so no padding between
    size_t const size = fixedSizeOf(s.run);
    unsigned const boundary = static_cast<unsigned>(size) > floor ? static_cast<unsigned>(size) : floor;
    return Extent{roundUp(start, static_cast<unsigned>(size)) + n * size, boundary, true};
  }
  Extent total{start, floor, true};
  size_t i = 0;
  if (s.prefixCount > 0 && (start & (s.prefixBoundary - 1)) == 0) {
    total.length = start + s.prefixLength;
    if (s.prefixBoundary > total.boundary) total.boundary = s.prefixBoundary;
    i = s.prefixCount;
  }
  for (; i < n; ++i) {
    ElementEntry const& entry = entries_[i];
    Extent e;
    switch (entry.kind) {
#define OSTRA_EXTENT_CASE(Name, T) \
  case Kind::Name:                 \
    e = basicExtent(valueOf<Kind::Name>(entry)); \
    break;
      RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_EXTENT_CASE)
#undef OSTRA_EXTENT_CASE
      case Kind::HLAfixedArray:
      case Kind::HLAfixedRecord: {
        ElementList const& list = listOf(entry);
        if (!list.fixedOnly()) {
          e = list.extent(0, 1);
          break;
        }
        size_t const rows = gatherRows(&entry, entries_.data() + n, false, nullptr);
        if (rows > 1) {
          e = Extent{tableOf(list, rows).span, list.fixedBoundary(), true};
          i += rows - 1;
        } else {
          e = Extent{list.fixedLength(), list.fixedBoundary(), true};
        }
        break;
      }
      default:
        e = extentOf(entry.kind, *entry.element);
    }
    total.length = roundUp(total.length, e.boundary) + e.length;
    if (e.boundary > total.boundary) total.boundary = e.boundary;
    total.known = total.known && e.known;
  }
  return total;
}

void ElementList::append(std::vector<Octet>& buffer) const {
  for (ElementEntry const& entry : entries_) appendElement(entry.kind, *entry.element, buffer);
}

size_t ElementList::write(Octet* base, size_t p) const {
  Summary const& s = summary_;
  switch (s.run) {
#define OSTRA_WRITE_RUN(Name, T) \
  case Kind::Name:               \
    return writeRun<Kind::Name>(entries_.data(), entries_.size(), base, p);
    RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_WRITE_RUN)
#undef OSTRA_WRITE_RUN
    default:
      break;
  }
  ElementEntry const* entry = entries_.data();
  ElementEntry const* const end = entry + entries_.size();
  if (s.prefixCount > 0 && (p & (s.prefixBoundary - 1)) == 0) {
    writePrefix(entry, s.prefixCount, base + p);
    p += s.prefixLength;
    entry += s.prefixCount;
  }
  for (; entry != end; ++entry) {
    switch (entry->kind) {
#define OSTRA_WRITE_CASE(Name, T) \
  case Kind::Name:                \
    p = writeBasic(valueOf<Kind::Name>(*entry), base, p); \
    break;
      RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_WRITE_CASE)
#undef OSTRA_WRITE_CASE
      case Kind::HLAfixedArray:
      case Kind::HLAfixedRecord: {
        ElementList const& list = listOf(*entry);
        if (!list.fixedOnly()) {
          p = list.write(base, roundUp(p, list.maxBoundary(1)));
          break;
        }
        ElementEntry const* rows[kMaxRows];
        size_t const n = gatherRows(entry, end, false, rows);
        if (n > 1) {
          p = writeRows(list, rows, n, base, p);
          entry += n - 1;
        } else {
          p = writeFixedList(list, base, p);
        }
        break;
      }
      default:
        p = writeElement(entry->kind, *entry->element, base, p);
    }
  }
  return p;
}

size_t ElementList::decode(DecodeSource& source, size_t index) const {
  size_t const end = DecodePlan::decodeBy(*this, source.data(), source.size(), index);
  return end != kNoRoom ? end : decodeEach(source, index);
}

size_t ElementList::decodeEach(DecodeSource& source, size_t index) const {
  Summary const& s = summary_;
  // A federate's element may make the source's vector, but the bytes stay where they are.
  Octet const* const data = source.data();
  size_t const size = source.size();
  size_t end = kNoRoom;
  switch (s.run) {
#define OSTRA_DECODE_RUN(Name, T)                                                     \
  case Kind::Name:                                                                    \
    end = decodeRun<Kind::Name>(entries_.data(), entries_.size(), data, size, index); \
    break;
    RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_DECODE_RUN)
#undef OSTRA_DECODE_RUN
    default:
      break;
  }
  if (end != kNoRoom) return end;
  // What the bytes do not hold all of is decoded element by element, so that the elements
  // before the shortage are decoded and the shortage fails as it always has.
  ElementEntry const* entry = entries_.data();
  ElementEntry const* const last = entry + entries_.size();
  if (s.run == Kind::Foreign && s.prefixCount > 0 && (index & (s.prefixBoundary - 1)) == 0 &&
      !remainsFewerThan(index, size, s.prefixLength)) {
    readPrefix(entry, s.prefixCount, data + index);
    index += s.prefixLength;
    entry += s.prefixCount;
  }
  for (; entry != last; ++entry) {
    switch (entry->kind) {
#define OSTRA_DECODE_CASE(Name, T) \
  case Kind::Name:                 \
    index = decodeBasicAligned(valueOf<Kind::Name>(*entry), data, size, index); \
    break;
      RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_DECODE_CASE)
#undef OSTRA_DECODE_CASE
      case Kind::HLAfixedArray:
      case Kind::HLAfixedRecord: {
        ElementList const& list = listOf(*entry);
        if (list.fixedOnly()) {
          ElementEntry const* rows[kMaxRows];
          size_t const n = gatherRows(entry, last, true, rows);
          size_t const rowsEnd = n > 1 ? decodeRows(list, rows, n, data, size, index) : kNoRoom;
          if (rowsEnd != kNoRoom) {
            index = rowsEnd;
            entry += n - 1;
            break;
          }
          size_t const listEnd = decodeFixedList(list, data, size, index);
          if (listEnd != kNoRoom) {
            index = listEnd;
            break;
          }
        }
        index = list.decode(source, alignForDecode(index, list.maxBoundary(1), size));
        break;
      }
      default:
        index = decodeElement(entry->kind, *entry->element, source, index);
    }
  }
  return index;
}

}  // namespace encoding
}  // namespace ostra1516e
