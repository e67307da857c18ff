// Handle.h: the handles by which the RTI names classes, instances, federates and more.
//
// A handle is a small value: copy it, compare it, keep it in std::set and std::map
// (operator< orders them), print it, and turn it into bytes and back:
//
//   rti1516e::AttributeHandle position = ambassador->getAttributeHandle(tank, L"Position");
//   std::wcout << position << std::endl;                  // AttributeHandle<12>
//   rti1516e::VariableLengthData bytes = position.encode();
//   rti1516e::AttributeHandle same = ambassador->decodeAttributeHandle(bytes);
//
// A default-constructed handle is invalid (isValid() is false). Only the RTI issues valid
// handles; their numbers mean nothing outside the federation that issued them.
#ifndef RTI_Handle_h
#define RTI_Handle_h

#include <RTI/SpecificConfig.h>
#include <RTI/VariableLengthData.h>

#include <iosfwd>
#include <string>

// The eight handle kinds that carry nothing but their number.
#define RTI1516E_SIMPLE_HANDLES(X) \
  X(ObjectClassHandle)             \
  X(AttributeHandle)               \
  X(InteractionClassHandle)        \
  X(ParameterHandle)               \
  X(ObjectInstanceHandle)          \
  X(FederateHandle)                \
  X(DimensionHandle)               \
  X(RegionHandle)

// Every handle kind has this interface. MessageRetractionHandle shares it, but behind
// its slot lies an owned record (a serial number and bytes of the RTI's own) instead of
// a plain number.
//
// encode(buffer, size) throws CouldNotEncode when the buffer is smaller than
// encodedLength() and then writes nothing. The protected members are how this library
// makes handles from the RTI's numbers and bytes; federates decode handles through the
// RTIambassador's decode... services.
#define RTI1516E_DECLARE_HANDLE(Kind)                                    \
  class Kind##Implementation;                                            \
  class Kind##Friend;                                                    \
  class RTI_EXPORT Kind {                                                \
   public:                                                               \
    Kind();                                                              \
    ~Kind();                                                             \
    Kind(Kind const& rhs);                                               \
    Kind& operator=(Kind const& rhs);                                    \
                                                                         \
    bool isValid() const;                                                \
    bool operator==(Kind const& rhs) const;                              \
    bool operator!=(Kind const& rhs) const;                              \
    bool operator<(Kind const& rhs) const;                               \
    long hash() const;                                                   \
                                                                         \
    VariableLengthData encode() const;                                   \
    size_t encode(void* buffer, size_t bufferSize) const;                \
    size_t encodedLength() const;                                        \
    std::wstring toString() const;                                       \
                                                                         \
   protected:                                                            \
    friend class Kind##Friend;                                           \
    explicit Kind(Kind##Implementation* impl);                           \
    explicit Kind(VariableLengthData const& encodedValue);               \
    Kind##Implementation const* getImplementation() const;               \
    Kind##Implementation* getImplementation();                           \
                                                                         \
    Kind##Implementation* _impl;                                         \
  };                                                                     \
                                                                         \
  RTI_EXPORT std::wostream& operator<<(std::wostream& stream, Kind const& handle);

namespace rti1516e {

RTI1516E_SIMPLE_HANDLES(RTI1516E_DECLARE_HANDLE)
RTI1516E_DECLARE_HANDLE(MessageRetractionHandle)

}  // namespace rti1516e

#undef RTI1516E_DECLARE_HANDLE

#endif  // RTI_Handle_h
