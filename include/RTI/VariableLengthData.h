// VariableLengthData.h: the API's byte block.
//
// A VariableLengthData carries tags, attribute and parameter values, encoded handles
// and encoded times. It either owns a copy of its bytes, borrows a caller's buffer, or
// takes over a caller's buffer together with the function that frees it:
//
//   VariableLengthData tag("ping", 4);            // owns a copy
//   VariableLengthData view;
//   view.setDataPointer(buffer, size);             // borrows; caller keeps buffer alive
//   VariableLengthData adopted;
//   adopted.takeDataPointer(p, n, &std::free);     // frees p with std::free when done
//
// Copies always own their bytes, whatever the source did.
#ifndef RTI_VariableLengthData_h
#define RTI_VariableLengthData_h

#include <RTI/SpecificConfig.h>

#include <cstddef>

namespace rti1516e {

class VariableLengthDataImplementation;
class VariableLengthDataFriend;

class RTI_EXPORT VariableLengthData {
 public:
  // An empty block: data() is null and size() is 0.
  VariableLengthData();
  // Owns a copy of inSize bytes at inData.
  VariableLengthData(void const* inData, size_t inSize);
  // Owns a copy of rhs's bytes.
  VariableLengthData(VariableLengthData const& rhs);
  ~VariableLengthData();
  VariableLengthData& operator=(VariableLengthData const& rhs);

  void const* data() const;
  size_t size() const;

  // setData replaces the content with an owned copy of inSize bytes at inData.
  void setData(void const* inData, size_t inSize);
  // setDataPointer borrows inData: the caller keeps it alive and frees it.
  void setDataPointer(void* inData, size_t inSize);
  // takeDataPointer takes inData over and frees it with func, or with delete[] when
  // func is null.
  void takeDataPointer(void* inData, size_t inSize,
                       VariableLengthDataDeleteFunction func = 0);

 private:
  friend class VariableLengthDataFriend;
  VariableLengthDataImplementation* _impl;
};

}  // namespace rti1516e

#endif  // RTI_VariableLengthData_h
