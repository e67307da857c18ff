// VariableLengthDataFriend.h: the record behind every VariableLengthData, and inline
// reads of it for the library's own hot paths.
//
// VariableLengthData::data() and size() are exported functions, so a call from inside
// the library goes through the procedure linkage table; the wire encoder reads the
// record directly instead:
//
//   size_t n = rti1516e::VariableLengthDataFriend::size(value);
//   void const* bytes = rti1516e::VariableLengthDataFriend::data(value);
#ifndef OSTRA_RTI_VariableLengthDataFriend_h
#define OSTRA_RTI_VariableLengthDataFriend_h

#include <RTI/VariableLengthData.h>

#include <cstddef>

namespace rti1516e {

// The record behind every VariableLengthData. Content changes replace the whole record.
class VariableLengthDataImplementation {
 public:
  void* data = nullptr;
  size_t size = 0;
  VariableLengthDataDeleteFunction release = nullptr;
  bool owner = false;

  ~VariableLengthDataImplementation() {
    if (!owner) return;
    if (release != nullptr) {
      release(data);
    } else {
      delete[] static_cast<char*>(data);
    }
  }
};

// The same answers as data() and size(), without the call.
class VariableLengthDataFriend {
 public:
  static void const* data(VariableLengthData const& value) { return value._impl->data; }
  static size_t size(VariableLengthData const& value) { return value._impl->size; }
};

}  // namespace rti1516e

#endif  // OSTRA_RTI_VariableLengthDataFriend_h
