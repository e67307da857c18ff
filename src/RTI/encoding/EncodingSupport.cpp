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

constexpr size_t kKeptCapacity = 64 * 1024;

bool& scratchInUse() {
  thread_local bool used = false;
  return used;
}

}  // namespace

std::vector<Octet>& ScratchBuffer::claim() {
  if (scratchInUse()) return local_;
  thread_local std::vector<Octet> shared;
  scratchInUse() = true;
  shared.clear();
  return shared;
}

ScratchBuffer::~ScratchBuffer() {
  if (&buffer_ != &local_) {
    if (buffer_.capacity() > kKeptCapacity) std::vector<Octet>().swap(buffer_);
    scratchInUse() = false;
  }
}

void encodeThroughBuffer(DataElement const& element, rti1516e::VariableLengthData& out) {
  ScratchBuffer scratch;
  std::vector<Octet>& buffer = scratch.get();
  element.encodeInto(buffer);
  out.setData(buffer.data(), buffer.size());
}

std::vector<Octet> const& DecodeSource::vector() {
  if (vector_ == nullptr) {
    scratch_.emplace();
    std::vector<Octet>& copy = scratch_->get();
    copy.assign(data_, data_ + size_);
    vector_ = &copy;
  }
  return *vector_;
}

DataElement* cloneOf(DataElement const& element) {
  DataElement* copy = element.clone().release();
  if (copy == nullptr) fail(kNullElement);  // a federate's clone() returned nothing
  return copy;
}

ElementList::ElementList(ElementList const& other) {
  entries_.reserve(other.entries_.size());
  try {
    for (ElementEntry const& entry : other.entries_) appendCopy(*entry.element, entry.kind);
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

void ElementList::push(ElementEntry entry) {
  entries_.push_back(entry);
  include(entry.kind, entries_.size() == 1);
}

void ElementList::appendCopy(DataElement const& element) { appendCopy(element, kindOf(element)); }

// A copy of one of the library's own classes is of the same class; a federate's clone()
// may return anything, so its copies are looked at again.
void ElementList::appendCopy(DataElement const& element, Kind kind) {
  std::unique_ptr<DataElement> copy(cloneOf(element));
  Kind const copyKind = kind == Kind::Foreign ? kindOf(*copy) : kind;
  push(entryFor(true, copyKind, copy.get()));
  copy.release();
}

void ElementList::appendPointer(DataElement* element) {
  if (element == nullptr) fail(kNullElement);
  push(entryFor(false, kindOf(*element), element));
}

void ElementList::replaceWithCopy(size_t index, DataElement const& element) {
  DataElement* copy = cloneOf(element);
  ElementEntry& entry = entries_[index];
  if (entry.owned) delete entry.element;
  Kind const before = entry.kind;
  entry = entryFor(true, kindOf(*copy), copy);
  if (entry.kind != before) summarize();
}

void ElementList::replaceWithPointer(size_t index, DataElement* element) {
  if (element == nullptr) fail(kNullElement);
  ElementEntry& entry = entries_[index];
  if (entry.owned && entry.element != element) delete entry.element;
  Kind const before = entry.kind;
  entry = entryFor(false, kindOf(*element), element);
  if (entry.kind != before) summarize();
}

void ElementList::truncate(size_t count) {
  if (entries_.size() <= count) return;
  while (entries_.size() > count) {
    if (entries_.back().owned) delete entries_.back().element;
    entries_.pop_back();
  }
  summarize();
}

void ElementList::include(Kind kind, bool first) {
  Summary& s = summary_;
  size_t const fixed = fixedSizeOf(kind);
  if (first) {
    s.run = fixed != 0 ? kind : Kind::Foreign;
  } else if (s.run != kind) {
    s.run = Kind::Foreign;
  }
  if (!isBasic(kind)) s.basicOnly = false;
  if (!s.basicOnly || fixed == 0) s.fixedLength = kNotFixed;
  if (!s.basicOnly) return;
  // Every fixed-size basic element aligns to its size; the strings to 4.
  unsigned const b = fixed == 0 ? 4 : static_cast<unsigned>(fixed);
  if (b > s.boundary) s.boundary = b;
  if (s.fixedLength != kNotFixed) s.fixedLength = roundUp(s.fixedLength, b) + fixed;
}

void ElementList::summarize() {
  summary_ = Summary{Kind::Foreign, true, 1, 0};
  for (size_t i = 0; i < entries_.size(); ++i) include(entries_[i].kind, i == 0);
}

unsigned ElementList::maxBoundary(unsigned floor) const {
  Summary const& s = summary();
  if (s.basicOnly) return s.boundary > floor ? s.boundary : floor;
  unsigned boundary = floor;
  for (ElementEntry const& entry : entries_) {
    unsigned const b = boundaryOf(entry.kind, *entry.element);
    if (b > boundary) boundary = b;
  }
  return boundary;
}

}  // namespace encoding
}  // namespace ostra1516e
