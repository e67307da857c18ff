#include <RTI/encoding/HLAvariantRecord.h>

#include "EncodingSupport.h"

#include <map>
#include <memory>

namespace rti1516e {

using namespace ostra1516e::encoding;

// The discriminant and the alternatives, keyed by the hash() of their discriminant value.
class HLAvariantRecordImplementation {
 public:
  explicit HLAvariantRecordImplementation(DataElement const& discriminantToCopy)
      : discriminant(cloneOf(discriminantToCopy)) {}
  HLAvariantRecordImplementation(HLAvariantRecordImplementation const& other)
      : discriminant(cloneOf(*other.discriminant)) {
    for (auto const& alternative : other.alternatives) {
      std::unique_ptr<DataElement> copy(cloneOf(*alternative.second.element));
      alternatives[alternative.first] = ElementEntry{true, copy.release()};
    }
  }
  HLAvariantRecordImplementation& operator=(HLAvariantRecordImplementation const&) = delete;
  ~HLAvariantRecordImplementation() {
    for (auto& alternative : alternatives) {
      if (alternative.second.owned) delete alternative.second.element;
    }
  }

  DataElement* selected() const {
    auto const found = alternatives.find(discriminant->hash());
    return found == alternatives.end() ? nullptr : found->second.element;
  }

  unsigned largestAlternativeBoundary() const {
    unsigned boundary = 1;
    for (auto const& alternative : alternatives) {
      unsigned const b = alternative.second.element->getOctetBoundary();
      if (b > boundary) boundary = b;
    }
    return boundary;
  }

  // Registers element under key, releasing the alternative it replaces. The map node is
  // made before anything is released, so a failure changes nothing.
  void registerAlternative(Integer64 key, ElementEntry entry) {
    std::unique_ptr<DataElement> guard(entry.owned ? entry.element : nullptr);
    ElementEntry& slot = alternatives.emplace(key, ElementEntry{false, nullptr}).first->second;
    guard.release();
    if (slot.owned && slot.element != entry.element) delete slot.element;
    slot = entry;
  }

  // setVariant and setVariantPointer may replace an alternative only by one of its class.
  void checkReplacement(Integer64 key, DataElement const& value) const {
    auto const found = alternatives.find(key);
    if (found != alternatives.end() && !found->second.element->isSameTypeAs(value)) {
      fail(kNonMatchingType);
    }
  }

  std::unique_ptr<DataElement> discriminant;
  std::map<Integer64, ElementEntry> alternatives;
};

HLAvariantRecord::HLAvariantRecord(DataElement const& discriminantPrototype)
    : _impl(new HLAvariantRecordImplementation(discriminantPrototype)) {}

HLAvariantRecord::HLAvariantRecord(HLAvariantRecord const& rhs)
    : DataElement(rhs), _impl(new HLAvariantRecordImplementation(*rhs._impl)) {}

HLAvariantRecord::~HLAvariantRecord() { delete _impl; }

std::auto_ptr<DataElement> HLAvariantRecord::clone() const {
  return std::auto_ptr<DataElement>(new HLAvariantRecord(*this));
}

VariableLengthData HLAvariantRecord::encode() const {
  VariableLengthData data;
  encode(data);
  return data;
}

void HLAvariantRecord::encode(VariableLengthData& inData) const {
  encodeThroughBuffer(*this, inData);
}

// The padding before the alternative is written even when the discriminant selects
// none, so the layout up to the alternative never depends on the discriminant's value.
void HLAvariantRecord::encodeInto(std::vector<Octet>& buffer) const {
  padTo(buffer, getOctetBoundary());
  _impl->discriminant->encodeInto(buffer);
  if (_impl->alternatives.empty()) return;
  padTo(buffer, _impl->largestAlternativeBoundary());
  if (DataElement const* alternative = _impl->selected()) alternative->encodeInto(buffer);
}

void HLAvariantRecord::decode(VariableLengthData const& inData) {
  decodeThroughBuffer(*this, inData);
}

// The discriminant is decoded first; an alternative that then fails leaves the new
// discriminant in place. An unmapped discriminant is no error: decoding consumes the
// padding that encodeInto wrote after it and stops there.
size_t HLAvariantRecord::decodeFrom(std::vector<Octet> const& buffer, size_t index) {
  DataElement& discriminant = *_impl->discriminant;
  index = discriminant.decodeFrom(
      buffer, alignForDecode(index, discriminant.getOctetBoundary(), buffer.size()));
  if (_impl->alternatives.empty()) return index;
  index = alignForDecode(index, _impl->largestAlternativeBoundary(), buffer.size());
  DataElement* alternative = _impl->selected();
  return alternative == nullptr ? index : alternative->decodeFrom(buffer, index);
}

size_t HLAvariantRecord::getEncodedLength() const {
  size_t length = _impl->discriminant->getEncodedLength();
  if (_impl->alternatives.empty()) return length;
  length = roundUp(length, _impl->largestAlternativeBoundary());
  if (DataElement const* alternative = _impl->selected()) length += alternative->getEncodedLength();
  return length;
}

unsigned int HLAvariantRecord::getOctetBoundary() const {
  unsigned const discriminant = _impl->discriminant->getOctetBoundary();
  unsigned const alternatives = _impl->largestAlternativeBoundary();
  return discriminant > alternatives ? discriminant : alternatives;
}

bool HLAvariantRecord::isSameTypeAs(DataElement const& discriminant,
                                    DataElement const& inData) const {
  auto const found = _impl->alternatives.find(discriminant.hash());
  return found != _impl->alternatives.end() && found->second.element->isSameTypeAs(inData);
}

bool HLAvariantRecord::hasMatchingDiscriminantTypeAs(DataElement const& dataElement) const {
  return _impl->discriminant->isSameTypeAs(dataElement);
}

void HLAvariantRecord::addVariant(DataElement const& discriminant,
                                  DataElement const& valuePrototype) {
  _impl->registerAlternative(discriminant.hash(), ElementEntry{true, cloneOf(valuePrototype)});
}

void HLAvariantRecord::addVariantPointer(DataElement const& discriminant, DataElement* valuePtr) {
  if (valuePtr == nullptr) fail(kNullElement);
  _impl->registerAlternative(discriminant.hash(), ElementEntry{false, valuePtr});
}

void HLAvariantRecord::setDiscriminant(DataElement const& discriminant) {
  _impl->discriminant.reset(cloneOf(discriminant));
}

void HLAvariantRecord::setVariant(DataElement const& discriminant, DataElement const& value) {
  Integer64 const key = discriminant.hash();
  _impl->checkReplacement(key, value);
  _impl->registerAlternative(key, ElementEntry{true, cloneOf(value)});
}

void HLAvariantRecord::setVariantPointer(DataElement const& discriminant, DataElement* valuePtr) {
  if (valuePtr == nullptr) fail(kNullElement);
  Integer64 const key = discriminant.hash();
  _impl->checkReplacement(key, *valuePtr);
  _impl->registerAlternative(key, ElementEntry{false, valuePtr});
}

DataElement const& HLAvariantRecord::getDiscriminant() const { return *_impl->discriminant; }

DataElement const& HLAvariantRecord::getVariant() const {
  DataElement const* alternative = _impl->selected();
  if (alternative == nullptr) fail(kUnmappedDiscriminant);
  return *alternative;
}

}  // namespace rti1516e
