// EncodingSupport.h: what every encoding helper shares: the failure messages, padding
// and alignment, big-endian counts, the scratch buffers of the encode/decode round trip,
// the kinds of element the library knows, and the list of owned or borrowed elements
// behind arrays and records.
//
// Every bounds check here compares a count with the bytes that remain after the index
// (never index + count with the size), so no hostile count can make a sum wrap around.
#ifndef OSTRA1516E_ENCODING_SUPPORT_H
#define OSTRA1516E_ENCODING_SUPPORT_H

#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/DataElement.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
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
  std::uint32_t v;
  std::memcpy(&v, p, sizeof v);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  v = __builtin_bswap32(v);
#endif
  return v;
}

inline void storeUInt32BE(Octet* p, std::uint32_t v) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  v = __builtin_bswap32(v);
#endif
  std::memcpy(p, &v, sizeof v);
}

// readCount reads a 32-bit big-endian signed count at data[index] (4 bytes must be
// there) and widens it with its sign, so that a negative count becomes an enormous
// unsigned one that no bounds check lets through.
inline std::uint64_t readCount(Octet const* data, size_t index) {
  auto const n = static_cast<std::int32_t>(loadUInt32BE(data + index));
  return static_cast<std::uint64_t>(static_cast<std::int64_t>(n));
}

// appendCount pads to 4 bytes and appends n as a 32-bit big-endian integer.
inline void appendCount(std::vector<Octet>& buffer, size_t n) {
  padTo(buffer, 4);
  size_t const at = buffer.size();
  buffer.resize(at + 4);
  storeUInt32BE(buffer.data() + at, static_cast<std::uint32_t>(n));
}

// Each thread keeps one scratch buffer for the composites' round trips through a
// std::vector, so that a value costs no allocation beyond the VariableLengthData's own.
// A federate's element might encode or decode another value from inside its own
// encodeInto or decodeFrom; such a nested use gets a buffer of its own. A buffer that
// grew large for one big value is given back afterwards.
class ScratchBuffer {
 public:
  ScratchBuffer() : buffer_(claim()) {}
  ~ScratchBuffer();
  ScratchBuffer(ScratchBuffer const&) = delete;
  ScratchBuffer& operator=(ScratchBuffer const&) = delete;

  std::vector<Octet>& get() { return buffer_; }

 private:
  std::vector<Octet>& claim();

  std::vector<Octet> local_;
  std::vector<Octet>& buffer_;
};

// An array keeps the records of the numbers it makes for itself (the copies of its
// prototype it adds while decoding, and the copies of elements added to it) side by side
// in its pool, in the order it makes them, rather than one allocation each: decoding the
// array then stores into a few cache lines, row after row at one spacing. A number's
// record takes a slot only while its array makes the copy (PoolScope), and only when the
// copy is made by the library's own classes: a federate's clone() runs without a pool, so
// nothing but the array's own elements, which the array destroys before its pool, ever
// holds a slot.
class ValuePool {
 public:
  static constexpr size_t kSlot = 24;  // the record of any fixed-size number fits

  ValuePool() = default;
  ValuePool(ValuePool const&) = delete;
  ValuePool& operator=(ValuePool const&) = delete;

  void* take();
  void give(void* slot);
  // Makes the next slots taken lie side by side, as far as the slots given back do not
  // supply them.
  void reserve(size_t slots);
  // How many slots have been taken, ever.
  size_t taken() const { return taken_; }
  // The pool the copies this thread makes take their slots from, or null.
  static ValuePool* current();

 private:
  struct Free {
    Free* next;
  };
  void addBlock(size_t slots);

  size_t taken_ = 0;
  Free* free_ = nullptr;
  size_t freeCount_ = 0;
  char* next_ = nullptr;
  char* end_ = nullptr;
  size_t blockSlots_ = 8;  // the next block's; doubled up to kMaxBlockSlots
  std::vector<std::unique_ptr<char[]>> blocks_;
};

// Names the pool the copies made while it lives take their slots from (null: none).
class PoolScope {
 public:
  explicit PoolScope(ValuePool* pool);
  ~PoolScope();
  PoolScope(PoolScope const&) = delete;
  PoolScope& operator=(PoolScope const&) = delete;

 private:
  ValuePool* saved_;
};

// The composites build their bytes in a scratch buffer when an element of a federate's
// own class is inside; otherwise they size the value once and write it in place.
void encodeThroughBuffer(DataElement const& element, rti1516e::VariableLengthData& out);

// cloneOf returns an owned copy of element; never null. A federate's element is copied
// without a pool.
DataElement* cloneOf(DataElement const& element);

// ---- the library's own element classes ----------------------------------------------
//
// Arrays, records and variant records note the kind of every element they hold when it
// is added. An element of one of the library's own classes is then encoded, decoded and
// measured without a virtual call, and a run of basic elements of one fixed size is
// done in one loop after one bounds check. An element of any other class (a federate's
// own DataElement, including a subclass of one of ours) is Foreign and goes through its
// virtual functions exactly as before.

enum class Kind : std::uint8_t {
#define OSTRA_BASIC_KIND(Name, T) Name,
  RTI1516E_BASIC_DATA_ELEMENTS(OSTRA_BASIC_KIND)
#undef OSTRA_BASIC_KIND
  HLAfixedArray,
  HLAvariableArray,
  HLAfixedRecord,
  HLAvariantRecord,
  HLAopaqueData,
  Foreign,
};

// kindOf names the class of element when it is exactly one of the library's own.
Kind kindOf(DataElement const& element);

inline bool isBasic(Kind kind) { return kind < Kind::HLAfixedArray; }
// The basic kinds of one fixed size, which is also their boundary; 0 for the others.
size_t fixedSizeOf(Kind kind);

// The bytes being decoded: the caller's vector, or the bytes of a VariableLengthData. A
// federate's element can only decode from a vector; one is made from the bytes, once,
// when the first such element needs it.
class DecodeSource {
 public:
  explicit DecodeSource(std::vector<Octet> const& buffer)
      : data_(buffer.data()), size_(buffer.size()), vector_(&buffer) {}
  DecodeSource(Octet const* data, size_t size) : data_(data), size_(size), vector_(nullptr) {}
  DecodeSource(DecodeSource const&) = delete;
  DecodeSource& operator=(DecodeSource const&) = delete;

  Octet const* data() const { return data_; }
  size_t size() const { return size_; }
  std::vector<Octet> const& vector();

 private:
  Octet const* data_;
  size_t size_;
  std::vector<Octet> const* vector_;
  std::optional<ScratchBuffer> scratch_;
};

// An element's encoded length (counted from offset 0) and octet boundary, and whether
// they come from the library's own classes only: then the element can be written at
// offsets worked out in advance, since all of those boundaries are powers of two.
struct Extent {
  size_t length;
  unsigned boundary;
  bool known;
};

// What the element classes do, by kind, without a virtual call for the library's own:
unsigned boundaryOf(Kind kind, DataElement const& element);
Extent extentOf(Kind kind, DataElement const& element);
// encodeInto: pads buffer to the element's boundary and appends the element.
void appendElement(Kind kind, DataElement const& element, std::vector<Octet>& buffer);
// writeElement writes a known element (Extent::known) at p raised to its boundary, into
// zero bytes already there, and returns the position after it; writeContent the same at
// p already raised (an encode's own start).
size_t writeElement(Kind kind, DataElement const& element, Octet* base, size_t p);
size_t writeContent(Kind kind, DataElement const& element, Octet* base, size_t p);
// decodeFrom at index as it is, and decodeFrom after raising index to the boundary.
size_t decodeContent(Kind kind, DataElement& element, DecodeSource& source, size_t index);
size_t decodeElement(Kind kind, DataElement& element, DecodeSource& source, size_t index);

// The public encode, encodeInto, decode and decodeFrom of the composite classes.
void encodeComposite(Kind kind, DataElement const& element, rti1516e::VariableLengthData& out);
void encodeCompositeInto(Kind kind, DataElement const& element, std::vector<Octet>& buffer);
void decodeComposite(Kind kind, DataElement& element, rti1516e::VariableLengthData const& in);
size_t decodeCompositeFrom(Kind kind, DataElement& element, std::vector<Octet> const& buffer,
                           size_t index);

// An element held by an array, a record or a variant record. Owned elements are the
// holder's copies, deleted with the entry; the others belong to the caller. For a basic
// element of the library's own class, record is the record that holds its value (an
// element keeps one record all its life), so that a run of elements is read and written
// without going through each element object first; for one of the library's fixed arrays
// or fixed records it is that element's ElementList; otherwise it is null. offset is the
// entry's place in its list's fixed prefix (ElementList), when it belongs to it.
struct ElementEntry {
  bool owned;
  Kind kind;
  std::uint32_t offset;
  DataElement* element;
  void* record;
};

// The entry for element, of the given kind.
ElementEntry entryFor(bool owned, Kind kind, DataElement* element);

// ---- plans ------------------------------------------------------------------------------
//
// A record or array whose elements are all numbers, or records and fixed arrays of
// numbers however deeply nested, has one layout for every value. Decoding or encoding
// such a list again and again (a federate's reflected or updated attribute), the list
// keeps a plan: every number's place and where its value is kept, so that a decode or an
// encode is one run over the numbers (KnownElements.cpp). Plans follow every change by
// the plan epoch, which moves on whenever a list that some plan went through changes or
// is destroyed, and whenever a number is bound or unbound.
extern std::atomic<std::uint64_t> planEpoch;
inline void movePlanEpoch() { planEpoch.fetch_add(1, std::memory_order_relaxed); }

class PlanBase;
class DecodePlan;
class EncodePlan;
struct DecodePlanDeleter {
  void operator()(DecodePlan* plan) const;
};

// ElementList is the ordered element list of arrays and records. Every change that can
// fail (copying, allocating) is done before anything is released, so a failing change
// leaves the list as it was.
class ElementList {
 public:
  ElementList();
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
  // The same for an element whose kind the caller knows already.
  void appendCopy(DataElement const& element, Kind kind);
  void appendPointer(DataElement* element);
  void replaceWithCopy(size_t index, DataElement const& element);
  void replaceWithPointer(size_t index, DataElement* element);
  // truncate drops the entries from count on, deleting the owned ones.
  void truncate(size_t count);

  // The largest element boundary, and at least floor.
  unsigned maxBoundary(unsigned floor) const;
  // The layout of the elements from offset start (each aligned): the end, the largest
  // boundary (at least floor), and whether every element is the library's own.
  Extent extent(size_t start, unsigned floor) const;
  void append(std::vector<Octet>& buffer) const;
  size_t write(Octet* base, size_t p) const;
  // decode decodes every element in order, each raised to its boundary first.
  size_t decode(DecodeSource& source, size_t index) const;
  // decode without a plan: a run of one kind in one go, else element by element.
  size_t decodeEach(DecodeSource& source, size_t index) const;

  // The layout of a list of fixed-size basic elements only (a record of numbers, a fixed
  // array of them): it does not depend on the values. From a start aligned to
  // fixedBoundary() each element lies at its entry's offset, and the list takes
  // fixedLength() bytes. Its shape packs the kinds of its elements into one number, so
  // that two lists of equal shape are laid out alike; 0 for a list of more than
  // kShapeLength elements or of other elements.
  static constexpr size_t kShapeLength = 12;
  bool fixedOnly() const { return summary_.prefixCount == entries_.size(); }
  size_t fixedLength() const { return summary_.prefixLength; }
  unsigned fixedBoundary() const { return summary_.prefixBoundary; }
  std::uint64_t shape() const { return summary_.shape; }
  // The kind every element shares when it is one fixed-size basic kind; Foreign otherwise.
  Kind run() const { return summary_.run; }
  ElementEntry const* entries() const { return entries_.data(); }

 private:
  friend class PlanBase;
  friend class DecodePlan;
  friend class EncodePlan;
  // What the entries' kinds say about the list, kept up to date by every change of the
  // list (not of its elements: a kind never changes), so that reading it from several
  // threads at once stays safe.
  //
  // The fixed prefix is the run of leading entries of fixed-size basic kinds (all of them
  // in a record of numbers, the numbers before the first string or nested value
  // otherwise). Its layout is worked out once, when the entries are added (a copy of a
  // list, such as a variable array's new element made from its prototype, comes out the
  // same): from a start aligned to prefixBoundary each lies at its entry's offset, and
  // the prefix takes prefixLength bytes. Encoding and decoding then place them without
  // measuring, aligning or bounds-checking each one.
  struct Summary {
    Kind run = Kind::Foreign;     // the kind of every entry, when all share one fixed-size basic kind; else Foreign
    bool basicOnly = true;        // every entry is a basic element
    bool fixedTree = true;        // every entry is a fixed-size basic element, a fixed array or a fixed record
    bool nested = false;          // some entry is a fixed array or a fixed record
    unsigned boundary = 1;        // the largest boundary, when basicOnly
    unsigned prefixBoundary = 1;  // the largest boundary in the fixed prefix, 1 when it is empty
    size_t prefixCount = 0;       // the entries in the fixed prefix
    size_t prefixLength = 0;      // its length from an aligned start
    std::uint64_t shape = 0;      // see shape()
  };

  // Takes entry index into summary_, after the entries before it.
  void include(size_t index);
  void summarize();
  void push(ElementEntry entry);
  // The entry at index takes the place of before; the summary follows when the kind changed.
  void replaced(size_t index, ElementEntry const& before);
  // Every change of the entries ends in changed().
  void changed();
  // Deletes the encode plans; only while nothing else can use the list.
  void releaseEncodePlans();

  std::vector<ElementEntry> entries_;
  Summary summary_;

  std::uint64_t stamp_;
  // Decoding changes the values of the elements, never the list, so it runs alone on the
  // list; it keeps the plan here. seen_ is the stamp of the previous decode: a plan is
  // only made for a list decoded twice as it stands.
  mutable std::uint64_t seen_ = 0;
  mutable std::atomic<bool> planned_{false};  // some plan went through this list
  mutable std::unique_ptr<DecodePlan, DecodePlanDeleter> plan_;
  // The epoch at which plan_ was last found good to decode with; none to begin with.
  mutable std::uint64_t readyEpoch_ = ~std::uint64_t{0};
  // Encoding leaves the list as it is, and several threads may encode it at once: its
  // plan is taken and replaced atomically, and the plans replaced are kept until the list
  // changes or goes (EncodePlan). encodeSeen_ is the epoch of the latest encode without a plan.
  mutable std::atomic<EncodePlan*> encodePlan_{nullptr};
  mutable std::atomic<EncodePlan*> retired_{nullptr};
  mutable std::atomic<unsigned> retiredCount_{0};
  mutable std::atomic<std::uint64_t> encodeSeen_{~std::uint64_t{0}};
};

}  // namespace encoding
}  // namespace ostra1516e

#endif  // OSTRA1516E_ENCODING_SUPPORT_H
