#include "EncodingSupport.h"

#include <memory>
#include <new>

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

std::atomic<std::uint64_t> planEpoch{0};

namespace {

std::uint64_t newStamp() {
  static std::atomic<std::uint64_t> stamps{0};
  return stamps.fetch_add(1, std::memory_order_relaxed) + 1;
}

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

namespace {

thread_local ValuePool* currentPool = nullptr;
constexpr size_t kMaxBlockSlots = 4096;

}  // namespace

ValuePool* ValuePool::current() { return currentPool; }

PoolScope::PoolScope(ValuePool* pool) : saved_(currentPool) { currentPool = pool; }

PoolScope::~PoolScope() { currentPool = saved_; }

void ValuePool::addBlock(size_t slots) {
  blocks_.reserve(blocks_.size() + 1);
  blocks_.emplace_back(new char[slots * kSlot]);
  next_ = blocks_.back().get();
  end_ = next_ + slots * kSlot;
}

void* ValuePool::take() {
  ++taken_;
  if (free_ != nullptr) {
    Free* const slot = free_;
    free_ = slot->next;
    --freeCount_;
    return slot;
  }
  if (next_ == end_) {
    addBlock(blockSlots_);
    if (blockSlots_ < kMaxBlockSlots) blockSlots_ *= 2;
  }
  void* const slot = next_;
  next_ += kSlot;
  return slot;
}

// Given back in the order a row's numbers are destroyed, slots come back for the next
// row in the reverse order, so that rows made again over rows destroyed lie as evenly.
void ValuePool::give(void* slot) {
  free_ = new (slot) Free{free_};
  ++freeCount_;
}

void ValuePool::reserve(size_t slots) {
  if (slots <= freeCount_) return;
  size_t const needed = slots - freeCount_;
  if (static_cast<size_t>(end_ - next_) / kSlot < needed) addBlock(needed > blockSlots_ ? needed : blockSlots_);
}

DataElement* cloneOf(DataElement const& element) {
  std::optional<PoolScope> withoutPool;
  if (ValuePool::current() != nullptr && kindOf(element) == Kind::Foreign) withoutPool.emplace(nullptr);
  DataElement* copy = element.clone().release();
  if (copy == nullptr) fail(kNullElement);  // a federate's clone() returned nothing
  return copy;
}

ElementList::ElementList() : stamp_(newStamp()) {}

ElementList::ElementList(ElementList const& other) : stamp_(newStamp()) {
  entries_.reserve(other.entries_.size());
  try {
    for (ElementEntry const& entry : other.entries_) appendCopy(*entry.element, entry.kind);
  } catch (...) {
    for (ElementEntry& entry : entries_) delete entry.element;
    throw;
  }
}

ElementList::~ElementList() {
  releaseEncodePlans();
  if (planned_.load(std::memory_order_relaxed)) movePlanEpoch();
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
  include(entries_.size() - 1);
  changed();
}

void ElementList::changed() {
  stamp_ = newStamp();
  releaseEncodePlans();
  if (planned_.load(std::memory_order_relaxed)) movePlanEpoch();
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
  ElementEntry const before = entry;
  entry = entryFor(true, kindOf(*copy), copy);
  replaced(index, before);
}

void ElementList::replaceWithPointer(size_t index, DataElement* element) {
  if (element == nullptr) fail(kNullElement);
  ElementEntry& entry = entries_[index];
  if (entry.owned && entry.element != element) delete entry.element;
  ElementEntry const before = entry;
  entry = entryFor(false, kindOf(*element), element);
  replaced(index, before);
}

// An element of the same kind has the same place in the layout.
void ElementList::replaced(size_t index, ElementEntry const& before) {
  if (entries_[index].kind == before.kind) {
    entries_[index].offset = before.offset;
  } else {
    summarize();
  }
  changed();
}

void ElementList::truncate(size_t count) {
  if (entries_.size() <= count) return;
  while (entries_.size() > count) {
    if (entries_.back().owned) delete entries_.back().element;
    entries_.pop_back();
  }
  summarize();
  changed();
}

void ElementList::include(size_t index) {
  Summary& s = summary_;
  ElementEntry& entry = entries_[index];
  Kind const kind = entry.kind;
  size_t const fixed = fixedSizeOf(kind);
  if (index == 0) {
    s.run = fixed != 0 ? kind : Kind::Foreign;
  } else if (s.run != kind) {
    s.run = Kind::Foreign;
  }
  // Every fixed-size basic element aligns to its size; the strings to 4. Offsets are kept
  // in 32 bits: a prefix that would reach beyond them simply ends there.
  unsigned const b = fixed == 0 ? 4 : static_cast<unsigned>(fixed);
  if (s.prefixCount == index && fixed != 0) {
    size_t const offset = roundUp(s.prefixLength, b);
    if (offset + fixed <= UINT32_MAX) {
      entry.offset = static_cast<std::uint32_t>(offset);
      s.prefixLength = offset + fixed;
      s.prefixCount = index + 1;
      if (b > s.prefixBoundary) s.prefixBoundary = b;
    }
  }
  // Kinds are below 32: five bits each, counted from 1 so that the shape says the length.
  static_assert(static_cast<unsigned>(Kind::Foreign) < 31, "a kind takes five bits of a shape");
  if (s.prefixCount == index + 1 && index < kShapeLength) {
    s.shape |= static_cast<std::uint64_t>(static_cast<unsigned>(kind) + 1) << (5 * index);
  } else {
    s.shape = 0;
  }
  bool const list = kind == Kind::HLAfixedArray || kind == Kind::HLAfixedRecord;
  if (fixed == 0 && !list) s.fixedTree = false;
  if (list) s.nested = true;
  if (!isBasic(kind)) s.basicOnly = false;
  if (s.basicOnly && b > s.boundary) s.boundary = b;
}

void ElementList::summarize() {
  summary_ = Summary{};
  for (size_t i = 0; i < entries_.size(); ++i) include(i);
}

}  // namespace encoding
}  // namespace ostra1516e
