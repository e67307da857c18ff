// Composites.h: the records behind the composite element classes, and the friend that
// lets the library's fast paths (KnownElements.cpp) reach the record of any of its own
// element classes:
//
//   HLAfixedRecordImplementation* record = DataElementFriend::impl(fixedRecord);
#ifndef OSTRA1516E_ENCODING_COMPOSITES_H
#define OSTRA1516E_ENCODING_COMPOSITES_H

#include <RTI/encoding/HLAfixedArray.h>
#include <RTI/encoding/HLAfixedRecord.h>
#include <RTI/encoding/HLAopaqueData.h>
#include <RTI/encoding/HLAvariableArray.h>
#include <RTI/encoding/HLAvariantRecord.h>

#include "EncodingSupport.h"

#include <map>
#include <memory>

namespace rti1516e {

class DataElementFriend {
 public:
  template <class Element>
  static auto* impl(Element const& element) {
    return element._impl;
  }
};

// The elements; the first one doubles as the prototype for type checks.
class HLAfixedArrayImplementation {
 public:
  ostra1516e::encoding::ElementList elements;
};

class HLAfixedRecordImplementation {
 public:
  ostra1516e::encoding::ElementList fields;
};

class HLAvariableArrayImplementation {
 public:
  explicit HLAvariableArrayImplementation(DataElement const& prototypeToCopy);
  HLAvariableArrayImplementation(HLAvariableArrayImplementation const& other);

  std::unique_ptr<DataElement> prototype;
  ostra1516e::encoding::Kind prototypeKind;
  ostra1516e::encoding::ValuePool pool;  // destroyed after the elements
  ostra1516e::encoding::ElementList elements;
};

// The discriminant and the alternatives, keyed by the hash() of their discriminant value.
class HLAvariantRecordImplementation {
 public:
  explicit HLAvariantRecordImplementation(DataElement const& discriminantToCopy);
  HLAvariantRecordImplementation(HLAvariantRecordImplementation const& other);
  HLAvariantRecordImplementation& operator=(HLAvariantRecordImplementation const&) = delete;
  ~HLAvariantRecordImplementation();

  // The alternative the current discriminant selects, or null.
  ostra1516e::encoding::ElementEntry const* selected() const;
  unsigned largestAlternativeBoundary() const;
  void setDiscriminant(DataElement const& value);
  void registerAlternative(Integer64 key, bool owned, DataElement* element);
  void checkReplacement(Integer64 key, DataElement const& value) const;

  std::unique_ptr<DataElement> discriminant;
  ostra1516e::encoding::Kind discriminantKind;
  std::map<Integer64, ostra1516e::encoding::ElementEntry> alternatives;
};

class HLAopaqueDataImplementation {
 public:
  HLAopaqueDataImplementation() = default;
  HLAopaqueDataImplementation(HLAopaqueDataImplementation const&) = delete;
  HLAopaqueDataImplementation& operator=(HLAopaqueDataImplementation const&) = delete;
  ~HLAopaqueDataImplementation() { release(); }

  void release();
  void copy(Octet const* source, size_t size);
  void borrow(Octet** external, size_t bufferSize, size_t dataSize);
  size_t decode(Octet const* bytes, size_t size, size_t index);

  Octet* data = nullptr;
  size_t bufferLength = 0;
  size_t dataLength = 0;
  bool owner = true;  // an empty element has own storage
};

}  // namespace rti1516e

#endif  // OSTRA1516E_ENCODING_COMPOSITES_H
