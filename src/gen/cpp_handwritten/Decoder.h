// Decoder: reads the values of callback arrays, one decoder per type code.
//
// Decoder<Code> (Code a tag of TypeCodes.h) gives
//   Owned                       what decoding produces and the dispatcher keeps until the
//                               federate's callback returns (the value itself, or an
//                               owning pointer for a logical time);
//   decode(target, cursor)      reads one value at the cursor and moves past it;
//   argument(owned)             what the FederateAmbassador method is given.
//
//   rti1516e::ByteWrapper cursor(bytes, size);
//   rti1516e::AttributeHandleValueMap values = Decoder<code::AHVM>::decode(target, cursor);
//
// Every read is checked against the bytes that remain: a short array, or a negative or
// oversized count or length, throws rti1516e::WireFormatError before anything is read or
// allocated. Every decoded value owns its bytes; none points into the array. Only the
// logical-time decoder uses the callback target: it decodes with the target's time
// factory, and throws UndeliverableCallback when there is none. A number outside an
// enumeration's table is a fault of the core's writer: it is reported on standard error
// and the table's fallback is delivered.
#ifndef OSTRA_GEN_DECODER_H
#define OSTRA_GEN_DECODER_H

#include "bridge/FederateAmbassadorRegistry.h"
#include "gen/cpp_handwritten/ByteWrapper.h"
#include "gen/cpp_handwritten/TypeCodes.h"
#include "RTI/HandleFriend.h"

#include <RTI/LogicalTime.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace ostra1516e {

// UndeliverableCallback: a well-formed callback array that cannot reach a federate (no
// target under its handle, or a logical time without a time factory).
class UndeliverableCallback : public std::runtime_error {
 public:
  explicit UndeliverableCallback(std::string const& what) : std::runtime_error(what) {}
};

// The words that frame every callback array.
constexpr int32_t kPreMagic = 0x63626160;
constexpr int32_t kPostMagic = 0x59585756;

namespace wire {

std::wstring readString(rti1516e::ByteWrapper& cursor);
std::set<std::wstring> readStringSet(rti1516e::ByteWrapper& cursor);

rti1516e::AttributeHandleSet readAttributeHandleSet(rti1516e::ByteWrapper& cursor);
rti1516e::FederateHandleSet readFederateHandleSet(rti1516e::ByteWrapper& cursor);
rti1516e::RegionHandleSet readRegionHandleSet(rti1516e::ByteWrapper& cursor);
rti1516e::AttributeHandleValueMap readAttributeValueMap(rti1516e::ByteWrapper& cursor);
rti1516e::ParameterHandleValueMap readParameterValueMap(rti1516e::ByteWrapper& cursor);

std::unique_ptr<rti1516e::LogicalTime> readLogicalTime(CallbackTarget const& target,
                                                       rti1516e::ByteWrapper& cursor);
rti1516e::MessageRetractionHandle readRetractionHandle(rti1516e::ByteWrapper& cursor);

rti1516e::SupplementalReflectInfo readReflectInfo(rti1516e::ByteWrapper& cursor);
rti1516e::SupplementalReceiveInfo readReceiveInfo(rti1516e::ByteWrapper& cursor);
rti1516e::SupplementalRemoveInfo readRemoveInfo(rti1516e::ByteWrapper& cursor);

rti1516e::FederationExecutionInformationVector readExecutionInfos(rti1516e::ByteWrapper& cursor);
rti1516e::FederateRestoreStatusVector readRestoreStatuses(rti1516e::ByteWrapper& cursor);
rti1516e::FederateHandleSaveStatusPairVector readSaveStatuses(rti1516e::ByteWrapper& cursor);

// The small decoders are inline: every callback reads several of them.

inline rti1516e::VariableLengthData readBytes(rti1516e::ByteWrapper& cursor) {
  size_t const n = cursor.readLength(1, "byte block");
  rti1516e::VariableLengthData data(cursor.cursor(), n);
  cursor.advance(n);
  return data;
}

#define OSTRA_READ_HANDLE(Kind)                                                  \
  inline rti1516e::Kind read##Kind(rti1516e::ByteWrapper& cursor) {              \
    return rti1516e::Kind##Friend::fromNumber(cursor.readInt());                 \
  }
OSTRA_READ_HANDLE(ObjectInstanceHandle)
OSTRA_READ_HANDLE(ObjectClassHandle)
OSTRA_READ_HANDLE(InteractionClassHandle)
OSTRA_READ_HANDLE(AttributeHandle)
OSTRA_READ_HANDLE(FederateHandle)
#undef OSTRA_READ_HANDLE

namespace detail {

// One enumeration of the format: the numbers first..last stand for the enumerators
// first + offset .. last + offset; any other number delivers the fallback.
struct EnumTable {
  char const* type;
  int32_t first;
  int32_t last;
  int32_t offset;
  int32_t fallback;
  char const* fallbackName;
};

inline constexpr EnumTable kOrderType = {"OrderType", 0, 1, 1, rti1516e::RECEIVE, "RECEIVE"};
inline constexpr EnumTable kTransportationType = {"TransportationType", 1, 2, 0,
                                                  rti1516e::RELIABLE, "RELIABLE"};
inline constexpr EnumTable kSyncFailureReason = {
    "SynchronizationPointFailureReason", 0, rti1516e::SYNCHRONIZATION_SET_MEMBER_NOT_JOINED, 0,
    rti1516e::SYNCHRONIZATION_POINT_LABEL_NOT_UNIQUE, "SYNCHRONIZATION_POINT_LABEL_NOT_UNIQUE"};
inline constexpr EnumTable kSaveFailureReason = {"SaveFailureReason", 0, rti1516e::SAVE_ABORTED,
                                                 0, rti1516e::RTI_UNABLE_TO_SAVE,
                                                 "RTI_UNABLE_TO_SAVE"};
inline constexpr EnumTable kRestoreFailureReason = {"RestoreFailureReason", 0,
                                                    rti1516e::RESTORE_ABORTED, 0,
                                                    rti1516e::RTI_UNABLE_TO_RESTORE,
                                                    "RTI_UNABLE_TO_RESTORE"};
inline constexpr EnumTable kRestoreStatus = {
    "RestoreStatus", 0, rti1516e::FEDERATE_WAITING_FOR_FEDERATION_TO_RESTORE, 0,
    rti1516e::NO_RESTORE_IN_PROGRESS, "NO_RESTORE_IN_PROGRESS"};
inline constexpr EnumTable kSaveStatus = {"SaveStatus", 0,
                                          rti1516e::FEDERATE_WAITING_FOR_FEDERATION_TO_SAVE, 0,
                                          rti1516e::NO_SAVE_IN_PROGRESS, "NO_SAVE_IN_PROGRESS"};

// enumOutOfRange reports a number outside the table on standard error and returns the
// table's fallback.
__attribute__((noinline, cold)) int32_t enumOutOfRange(int32_t number, EnumTable const& table);

template <typename Enum>
Enum readEnum(rti1516e::ByteWrapper& cursor, EnumTable const& table) {
  int32_t const number = cursor.readInt();
  if (number < table.first || number > table.last) {
    return static_cast<Enum>(enumOutOfRange(number, table));
  }
  return static_cast<Enum>(number + table.offset);
}

}  // namespace detail

inline rti1516e::OrderType readOrderType(rti1516e::ByteWrapper& cursor) {
  return detail::readEnum<rti1516e::OrderType>(cursor, detail::kOrderType);
}
inline rti1516e::TransportationType readTransportationType(rti1516e::ByteWrapper& cursor) {
  return detail::readEnum<rti1516e::TransportationType>(cursor, detail::kTransportationType);
}
inline rti1516e::SynchronizationPointFailureReason readSyncFailureReason(
    rti1516e::ByteWrapper& cursor) {
  return detail::readEnum<rti1516e::SynchronizationPointFailureReason>(
      cursor, detail::kSyncFailureReason);
}
inline rti1516e::SaveFailureReason readSaveFailureReason(rti1516e::ByteWrapper& cursor) {
  return detail::readEnum<rti1516e::SaveFailureReason>(cursor, detail::kSaveFailureReason);
}
inline rti1516e::RestoreFailureReason readRestoreFailureReason(rti1516e::ByteWrapper& cursor) {
  return detail::readEnum<rti1516e::RestoreFailureReason>(cursor,
                                                          detail::kRestoreFailureReason);
}

}  // namespace wire

template <typename Code>
struct Decoder;

// Most codes decode to their value, which the federate is given as it is.
#define OSTRA_DECODER(Code, read)                                                        \
  template <>                                                                            \
  struct Decoder<code::Code> {                                                           \
    using Owned = code::Code::Value;                                                     \
    static Owned decode(CallbackTarget const&, rti1516e::ByteWrapper& cursor) {          \
      return wire::read(cursor);                                                         \
    }                                                                                    \
    static Owned&& argument(Owned& value) { return std::move(value); }                   \
  };

OSTRA_DECODER(S, readString)
OSTRA_DECODER(SSet, readStringSet)
OSTRA_DECODER(BX, readBytes)
OSTRA_DECODER(OIH, readObjectInstanceHandle)
OSTRA_DECODER(OCH, readObjectClassHandle)
OSTRA_DECODER(ICH, readInteractionClassHandle)
OSTRA_DECODER(AH, readAttributeHandle)
OSTRA_DECODER(FH, readFederateHandle)
OSTRA_DECODER(AHS, readAttributeHandleSet)
OSTRA_DECODER(FHS, readFederateHandleSet)
OSTRA_DECODER(AHVM, readAttributeValueMap)
OSTRA_DECODER(PHVM, readParameterValueMap)
OSTRA_DECODER(MRH, readRetractionHandle)
OSTRA_DECODER(OT, readOrderType)
OSTRA_DECODER(TTH, readTransportationType)
OSTRA_DECODER(SPFR, readSyncFailureReason)
OSTRA_DECODER(SFR, readSaveFailureReason)
OSTRA_DECODER(RFR, readRestoreFailureReason)
OSTRA_DECODER(FASRIReflect, readReflectInfo)
OSTRA_DECODER(FASRIReceive, readReceiveInfo)
OSTRA_DECODER(FASRIRemove, readRemoveInfo)
OSTRA_DECODER(FEIS, readExecutionInfos)
OSTRA_DECODER(FRSX, readRestoreStatuses)
OSTRA_DECODER(FHSSPX, readSaveStatuses)

#undef OSTRA_DECODER

// A logical time is made by the target's factory and owned by the dispatcher.
template <>
struct Decoder<code::LT> {
  using Owned = std::unique_ptr<rti1516e::LogicalTime>;
  static Owned decode(CallbackTarget const& target, rti1516e::ByteWrapper& cursor) {
    return wire::readLogicalTime(target, cursor);
  }
  static rti1516e::LogicalTime const& argument(Owned& value) { return *value; }
};

}  // namespace ostra1516e

#endif  // OSTRA_GEN_DECODER_H
