#include "EncodingSupport.h"

#include <memory>

namespace ostra1516e {
namespace encoding {

wchar_t const kIndexOutOfBounds[] = L"Index is out of bounds";
wchar_t const kArrayIndexOutOfBounds[] = L"Array index out of bounds";
wchar_t const kNotPrototypeType[] = L"Element doesn't match prototype";
wchar_t const kNonMatchingType[] = L"Non-matching type";
wchar_t const kVariableArrayTooShort[] = L"HLAvariableArray cannot decode (indata too short)";
wchar_t const kOpaqueTooShort[] = L"HLAopaqueData cannot decode (indata too short)";
wchar_t const kUnmappedDiscriminant[] = L"Discriminant is not mapped to a value";
wchar_t const kExternalTooSmall[] = L"Insufficient external storage";
wchar_t const kNullElement[] = L"Element pointer is null";

void fail(wchar_t const* message) { throw rti1516e::EncoderException(message); }

namespace {

// Each thread keeps one scratch buffer for encode() and decode() of the composites, so
// that a value costs no allocation beyond the VariableLengthData's own. A federate's
// element might encode or decode another value from inside its own encodeInto or
// decodeFrom; such a nested call gets a buffer of its own. A buffer that grew large for
// one big value is given back afterwards.
class ScratchBuffer {
 public:
  ScratchBuffer() : buffer_(claim()) {}
  ~ScratchBuffer() {
    if (&buffer_ != &local_) {
      if (buffer_.capacity() > kKeptCapacity) std::vector<Octet>().swap(buffer_);
      inUse() = false;
    }
  }
  ScratchBuffer(ScratchBuffer const&) = delete;
  ScratchBuffer& operator=(ScratchBuffer const&) = delete;

  std::vector<Octet>& get() { return buffer_; }

 private:
  static constexpr size_t kKeptCapacity = 64 * 1024;
  static bool& inUse() {
    thread_local bool used = false;
    return used;
  }
  std::vector<Octet>& claim() {
    if (inUse()) return local_;
    thread_local std::vector<Octet> shared;
    inUse() = true;
    shared.clear();
    return shared;
  }

  std::vector<Octet> local_;
  std::vector<Octet>& buffer_;
};

}  // namespace

void encodeThroughBuffer(DataElement const& element, rti1516e::VariableLengthData& out) {
  ScratchBuffer scratch;
  std::vector<Octet>& buffer = scratch.get();
  element.encodeInto(buffer);
  out.setData(buffer.data(), buffer.size());
}

void decodeThroughBuffer(DataElement& element, rti1516e::VariableLengthData const& in) {
  ScratchBuffer scratch;
  std::vector<Octet>& buffer = scratch.get();
  auto const* bytes = static_cast<Octet const*>(in.data());
  buffer.assign(bytes, bytes + in.size());
  element.decodeFrom(buffer, 0);
}

DataElement* cloneOf(DataElement const& element) {
  DataElement* copy = element.clone().release();
  if (copy == nullptr) fail(kNullElement);  // a federate's clone() returned nothing
  return copy;
}

ElementList::ElementList(ElementList const& other) {
  entries_.reserve(other.entries_.size());
  try {
    for (ElementEntry const& entry : other.entries_) appendCopy(*entry.element);
  } catch (...) {
    for (ElementEntry& entry : entries_) delete entry.element;
    throw;
  }
}

ElementList::~ElementList() {
  for (ElementEntry& entry : entries_) {
    if (entry.owned) delete entry.element;
  }
}

DataElement& ElementList::at(size_t index) const {
  if (index >= entries_.size()) fail(kArrayIndexOutOfBounds);
  return *entries_[index].element;
}

void ElementList::appendCopy(DataElement const& element) {
  std::unique_ptr<DataElement> copy(cloneOf(element));
  entries_.push_back(ElementEntry{true, copy.get()});
  copy.release();
}

void ElementList::appendPointer(DataElement* element) {
  if (element == nullptr) fail(kNullElement);
  entries_.push_back(ElementEntry{false, element});
}

void ElementList::replaceWithCopy(size_t index, DataElement const& element) {
  DataElement* copy = cloneOf(element);
  ElementEntry& entry = entries_[index];
  if (entry.owned) delete entry.element;
  entry = ElementEntry{true, copy};
}

void ElementList::replaceWithPointer(size_t index, DataElement* element) {
  if (element == nullptr) fail(kNullElement);
  ElementEntry& entry = entries_[index];
  if (entry.owned && entry.element != element) delete entry.element;
  entry = ElementEntry{false, element};
}

void ElementList::truncate(size_t count) {
  while (entries_.size() > count) {
    if (entries_.back().owned) delete entries_.back().element;
    entries_.pop_back();
  }
}

unsigned ElementList::maxBoundary(unsigned floor) const {
  unsigned boundary = floor;
  for (ElementEntry const& entry : entries_) {
    unsigned const b = entry.element->getOctetBoundary();
    if (b > boundary) boundary = b;
  }
  return boundary;
}

size_t ElementList::layoutLength(size_t start) const {
  size_t length = start;
  for (ElementEntry const& entry : entries_) {
    length = roundUp(length, entry.element->getOctetBoundary()) +
             entry.element->getEncodedLength();
  }
  return length;
}

void ElementList::encodeEach(std::vector<Octet>& buffer) const {
  for (ElementEntry const& entry : entries_) entry.element->encodeInto(buffer);
}

size_t ElementList::decodeEach(std::vector<Octet> const& buffer, size_t index) const {
  for (ElementEntry const& entry : entries_) {
    DataElement& element = *entry.element;
    index = element.decodeFrom(buffer, alignForDecode(index, element.getOctetBoundary(), buffer.size()));
  }
  return index;
}

}  // namespace encoding
}  // namespace ostra1516e
