#include <RTI/encoding/HLAvariantRecord.h>

#include "Composites.h"

#include <map>
#include <memory>

namespace rti1516e {

using namespace ostra1516e::encoding;

HLAvariantRecordImplementation::HLAvariantRecordImplementation(DataElement const& discriminantToCopy)
    : discriminant(cloneOf(discriminantToCopy)), discriminantKind(kindOf(*discriminant)) {}

HLAvariantRecordImplementation::HLAvariantRecordImplementation(
    HLAvariantRecordImplementation const& other)
    : discriminant(cloneOf(*other.discriminant)), discriminantKind(kindOf(*discriminant)) {
  for (auto const& alternative : other.alternatives) {
    std::unique_ptr<DataElement> copy(cloneOf(*alternative.second.element));
    alternatives[alternative.first] = entryFor(true, kindOf(*copy), copy.get());
    copy.release();
  }
}

HLAvariantRecordImplementation::~HLAvariantRecordImplementation() {
  for (auto& alternative : alternatives) {
    if (alternative.second.owned) delete alternative.second.element;
  }
}

ElementEntry const* HLAvariantRecordImplementation::selected() const {
  auto const found = alternatives.find(discriminant->hash());
  return found == alternatives.end() ? nullptr : &found->second;
}

unsigned HLAvariantRecordImplementation::largestAlternativeBoundary() const {
  unsigned boundary = 1;
  for (auto const& alternative : alternatives) {
    unsigned const b = boundaryOf(alternative.second.kind, *alternative.second.element);
    if (b > boundary) boundary = b;
  }
  return boundary;
}

void HLAvariantRecordImplementation::setDiscriminant(DataElement const& value) {
  std::unique_ptr<DataElement> copy(cloneOf(value));
  discriminantKind = kindOf(*copy);
  discriminant = std::move(copy);
}

// Registers element under key, releasing the alternative it replaces. The map node is
// made before anything is released, so a failure changes nothing.
void HLAvariantRecordImplementation::registerAlternative(Integer64 key, bool owned,
                                                         DataElement* element) {
  std::unique_ptr<DataElement> guard(owned ? element : nullptr);
  ElementEntry const entry = entryFor(owned, kindOf(*element), element);
  ElementEntry& slot =
      alternatives.emplace(key, ElementEntry{false, Kind::Foreign, 0, nullptr, nullptr}).first->second;
  guard.release();
  if (slot.owned && slot.element != entry.element) delete slot.element;
  slot = entry;
}

// setVariant and setVariantPointer may replace an alternative only by one of its class.
void HLAvariantRecordImplementation::checkReplacement(Integer64 key, DataElement const& value) const {
  auto const found = alternatives.find(key);
  if (found != alternatives.end() && !found->second.element->isSameTypeAs(value)) {
    fail(kNonMatchingType);
  }
}

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
  encodeComposite(Kind::HLAvariantRecord, *this, inData);
}

// The padding before the alternative is written even when the discriminant selects
// none, so the layout up to the alternative never depends on the discriminant's value.
void HLAvariantRecord::encodeInto(std::vector<Octet>& buffer) const {
  encodeCompositeInto(Kind::HLAvariantRecord, *this, buffer);
}

void HLAvariantRecord::decode(VariableLengthData const& inData) {
  decodeComposite(Kind::HLAvariantRecord, *this, inData);
}

// The discriminant is decoded first; an alternative that then fails leaves the new
// discriminant in place. An unmapped discriminant is no error: decoding consumes the
// padding that encodeInto wrote after it and stops there.
size_t HLAvariantRecord::decodeFrom(std::vector<Octet> const& buffer, size_t index) {
  return decodeCompositeFrom(Kind::HLAvariantRecord, *this, buffer, index);
}

size_t HLAvariantRecord::getEncodedLength() const {
  return extentOf(Kind::HLAvariantRecord, *this).length;
}

unsigned int HLAvariantRecord::getOctetBoundary() const {
  return boundaryOf(Kind::HLAvariantRecord, *this);
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
  _impl->registerAlternative(discriminant.hash(), true, cloneOf(valuePrototype));
}

void HLAvariantRecord::addVariantPointer(DataElement const& discriminant, DataElement* valuePtr) {
  if (valuePtr == nullptr) fail(kNullElement);
  _impl->registerAlternative(discriminant.hash(), false, valuePtr);
}

void HLAvariantRecord::setDiscriminant(DataElement const& discriminant) {
  _impl->setDiscriminant(discriminant);
}

void HLAvariantRecord::setVariant(DataElement const& discriminant, DataElement const& value) {
  Integer64 const key = discriminant.hash();
  _impl->checkReplacement(key, value);
  _impl->registerAlternative(key, true, cloneOf(value));
}

void HLAvariantRecord::setVariantPointer(DataElement const& discriminant, DataElement* valuePtr) {
  if (valuePtr == nullptr) fail(kNullElement);
  Integer64 const key = discriminant.hash();
  _impl->checkReplacement(key, *valuePtr);
  _impl->registerAlternative(key, false, valuePtr);
}

DataElement const& HLAvariantRecord::getDiscriminant() const { return *_impl->discriminant; }

DataElement const& HLAvariantRecord::getVariant() const {
  ElementEntry const* alternative = _impl->selected();
  if (alternative == nullptr) fail(kUnmappedDiscriminant);
  return *alternative->element;
}

}  // namespace rti1516e
