// HandleFriend.h: how this library makes handles from the RTI core's numbers and bytes.
//
// Handles keep their constructors from raw values protected so that federates only get
// handles from the RTI. Each handle class befriends <Kind>Friend; these are those
// friends, for the wire codec and the ambassador's decode services:
//
//   rti1516e::AttributeHandle h = rti1516e::AttributeHandleFriend::fromNumber(12);
//   int32_t n = rti1516e::AttributeHandleFriend::number(h);   // 12
#ifndef OSTRA_RTI_HandleFriend_h
#define OSTRA_RTI_HandleFriend_h

#include <RTI/Handle.h>
#include <RTI/VariableLengthData.h>

#include <cstdint>

namespace rti1516e {

// fromNumber widens the core's signed 32-bit number with its sign, as the decoding
// constructor does, so a handle and the handle decoded from its encoding are equal.
// number gives the low 32 bits back, read from the slot itself so that the encoders
// pay no call per handle. decode reads an encode() result and throws
// CouldNotDecode when there are fewer than 4 bytes.
#define OSTRA_DEFINE_HANDLE_FRIEND(Kind)                                             \
  class Kind##Friend {                                                               \
   public:                                                                           \
    static Kind fromNumber(int32_t number) {                                         \
      return Kind(reinterpret_cast<Kind##Implementation*>(static_cast<intptr_t>(number))); \
    }                                                                                \
    static int32_t number(Kind const& handle) {                                      \
      return static_cast<int32_t>(reinterpret_cast<intptr_t>(handle._impl));         \
    }                                                                                \
    static Kind decode(VariableLengthData const& encodedValue) { return Kind(encodedValue); } \
  };

RTI1516E_SIMPLE_HANDLES(OSTRA_DEFINE_HANDLE_FRIEND)

#undef OSTRA_DEFINE_HANDLE_FRIEND

// The record each MessageRetractionHandle owns: the serial number that identifies it and
// bytes of the core's own that travel with it.
class MessageRetractionHandleImplementation {
 public:
  int32_t serial = 0;
  VariableLengthData payload;
};

class MessageRetractionHandleFriend {
 public:
  static MessageRetractionHandle make(int32_t serial, VariableLengthData const& payload) {
    MessageRetractionHandleImplementation* record = new MessageRetractionHandleImplementation;
    record->serial = serial;
    try {
      record->payload = payload;
    } catch (...) {
      delete record;
      throw;
    }
    return MessageRetractionHandle(record);
  }
  static int32_t serial(MessageRetractionHandle const& handle) {
    return handle.getImplementation()->serial;
  }
  static VariableLengthData const& payload(MessageRetractionHandle const& handle) {
    return handle.getImplementation()->payload;
  }
  // Throws CouldNotDecode when the bytes end before the payload does.
  static MessageRetractionHandle decode(VariableLengthData const& encodedValue) {
    return MessageRetractionHandle(encodedValue);
  }
};

}  // namespace rti1516e

#endif  // OSTRA_RTI_HandleFriend_h
