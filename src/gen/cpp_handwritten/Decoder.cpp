#include "gen/cpp_handwritten/Decoder.h"

#include "RTI/HandleFriend.h"

#include <RTI/LogicalTimeFactory.h>

#include <cstdio>

namespace ostra1516e {
namespace wire {

using rti1516e::ByteWrapper;

namespace {

// Sizes of the smallest encoding of one element, used to refuse counts that the bytes
// that remain cannot hold before anything is allocated.
constexpr size_t kWord = 4;
constexpr size_t kStringMin = kWord;                 // the length of an empty string
constexpr size_t kMapEntryMin = 2 * kWord;           // key and value length
constexpr size_t kExecutionInfoMin = 2 * kStringMin;
constexpr size_t kRestoreStatusSize = 3 * kWord;
constexpr size_t kSaveStatusSize = 2 * kWord;

template <typename Handle, typename Friend>
Handle readHandle(ByteWrapper& cursor) {
  return Friend::fromNumber(cursor.readInt());
}

template <typename Set, typename Friend>
Set readHandleSet(ByteWrapper& cursor, char const* what) {
  size_t const count = cursor.readLength(kWord, what);
  Set set;
  for (size_t i = 0; i < count; ++i) set.insert(Friend::fromNumber(cursor.readInt()));
  return set;
}

// A repeated key keeps the bytes of its last entry.
template <typename Map, typename Friend>
Map readValueMap(ByteWrapper& cursor, char const* what, char const* valueWhat) {
  size_t const count = cursor.readLength(kMapEntryMin, what);
  Map map;
  for (size_t i = 0; i < count; ++i) {
    auto const key = Friend::fromNumber(cursor.readInt());
    size_t const n = cursor.readLength(1, valueWhat);
    auto const placed = map.try_emplace(key, cursor.cursor(), n);
    if (!placed.second) placed.first->second.setData(cursor.cursor(), n);
    cursor.advance(n);
  }
  return map;
}

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

constexpr EnumTable kOrderType = {"OrderType", 0, 1, 1, rti1516e::RECEIVE, "RECEIVE"};
constexpr EnumTable kTransportationType = {"TransportationType", 1, 2, 0, rti1516e::RELIABLE,
                                           "RELIABLE"};
constexpr EnumTable kSyncFailureReason = {
    "SynchronizationPointFailureReason", 0, rti1516e::SYNCHRONIZATION_SET_MEMBER_NOT_JOINED, 0,
    rti1516e::SYNCHRONIZATION_POINT_LABEL_NOT_UNIQUE, "SYNCHRONIZATION_POINT_LABEL_NOT_UNIQUE"};
constexpr EnumTable kSaveFailureReason = {"SaveFailureReason", 0, rti1516e::SAVE_ABORTED, 0,
                                          rti1516e::RTI_UNABLE_TO_SAVE, "RTI_UNABLE_TO_SAVE"};
constexpr EnumTable kRestoreFailureReason = {"RestoreFailureReason", 0,
                                             rti1516e::RESTORE_ABORTED, 0,
                                             rti1516e::RTI_UNABLE_TO_RESTORE,
                                             "RTI_UNABLE_TO_RESTORE"};
constexpr EnumTable kRestoreStatus = {"RestoreStatus", 0,
                                      rti1516e::FEDERATE_WAITING_FOR_FEDERATION_TO_RESTORE, 0,
                                      rti1516e::NO_RESTORE_IN_PROGRESS, "NO_RESTORE_IN_PROGRESS"};
constexpr EnumTable kSaveStatus = {"SaveStatus", 0,
                                   rti1516e::FEDERATE_WAITING_FOR_FEDERATION_TO_SAVE, 0,
                                   rti1516e::NO_SAVE_IN_PROGRESS, "NO_SAVE_IN_PROGRESS"};

template <typename Enum>
Enum readEnum(ByteWrapper& cursor, EnumTable const& table) {
  int32_t const number = cursor.readInt();
  if (number < table.first || number > table.last) {
    std::fprintf(stderr,
                 "Internal error: a callback array carries %d as a %s, which has no such "
                 "number; %s is delivered instead\n",
                 number, table.type, table.fallbackName);
    return static_cast<Enum>(table.fallback);
  }
  return static_cast<Enum>(number + table.offset);
}

// Both supplemental records of reflections and interactions: a producing-federate flag
// and a sent-regions flag, then the values whose flag is set.
template <typename Info>
Info readRegionInfo(ByteWrapper& cursor) {
  Info info;
  int32_t const hasFederate = cursor.readInt();
  int32_t const hasRegions = cursor.readInt();
  info.hasProducingFederate = hasFederate != 0;
  info.hasSentRegions = hasRegions != 0;
  if (info.hasProducingFederate) info.producingFederate = readFederateHandle(cursor);
  if (info.hasSentRegions) info.sentRegions = readRegionHandleSet(cursor);
  return info;
}

}  // namespace

// S: a count n of UTF-16 units, then the units high byte first. A high surrogate directly
// followed by a low one becomes one character; every other unit is kept as it is.
std::wstring readString(ByteWrapper& cursor) {
  size_t const n = cursor.readLength(2, "string");
  unsigned char const* p = cursor.cursor();
  std::wstring text;
  text.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    uint32_t unit = (uint32_t(p[2 * i]) << 8) | p[2 * i + 1];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < n) {
      uint32_t const next = (uint32_t(p[2 * i + 2]) << 8) | p[2 * i + 3];
      if (next >= 0xDC00 && next <= 0xDFFF) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
        ++i;
      }
    }
    text.push_back(static_cast<wchar_t>(unit));
  }
  cursor.advance(2 * n);
  return text;
}

std::set<std::wstring> readStringSet(ByteWrapper& cursor) {
  size_t const count = cursor.readLength(kStringMin, "string set");
  std::set<std::wstring> names;
  for (size_t i = 0; i < count; ++i) names.insert(readString(cursor));
  return names;
}

rti1516e::VariableLengthData readBytes(ByteWrapper& cursor) {
  size_t const n = cursor.readLength(1, "byte block");
  rti1516e::VariableLengthData data(cursor.cursor(), n);
  cursor.advance(n);
  return data;
}

rti1516e::ObjectInstanceHandle readObjectInstanceHandle(ByteWrapper& cursor) {
  return readHandle<rti1516e::ObjectInstanceHandle, rti1516e::ObjectInstanceHandleFriend>(cursor);
}
rti1516e::ObjectClassHandle readObjectClassHandle(ByteWrapper& cursor) {
  return readHandle<rti1516e::ObjectClassHandle, rti1516e::ObjectClassHandleFriend>(cursor);
}
rti1516e::InteractionClassHandle readInteractionClassHandle(ByteWrapper& cursor) {
  return readHandle<rti1516e::InteractionClassHandle, rti1516e::InteractionClassHandleFriend>(
      cursor);
}
rti1516e::AttributeHandle readAttributeHandle(ByteWrapper& cursor) {
  return readHandle<rti1516e::AttributeHandle, rti1516e::AttributeHandleFriend>(cursor);
}
rti1516e::FederateHandle readFederateHandle(ByteWrapper& cursor) {
  return readHandle<rti1516e::FederateHandle, rti1516e::FederateHandleFriend>(cursor);
}

rti1516e::AttributeHandleSet readAttributeHandleSet(ByteWrapper& cursor) {
  return readHandleSet<rti1516e::AttributeHandleSet, rti1516e::AttributeHandleFriend>(
      cursor, "attribute handle set");
}
rti1516e::FederateHandleSet readFederateHandleSet(ByteWrapper& cursor) {
  return readHandleSet<rti1516e::FederateHandleSet, rti1516e::FederateHandleFriend>(
      cursor, "federate handle set");
}
rti1516e::RegionHandleSet readRegionHandleSet(ByteWrapper& cursor) {
  return readHandleSet<rti1516e::RegionHandleSet, rti1516e::RegionHandleFriend>(
      cursor, "region handle set");
}

rti1516e::AttributeHandleValueMap readAttributeValueMap(ByteWrapper& cursor) {
  return readValueMap<rti1516e::AttributeHandleValueMap, rti1516e::AttributeHandleFriend>(
      cursor, "attribute value map", "attribute value");
}
rti1516e::ParameterHandleValueMap readParameterValueMap(ByteWrapper& cursor) {
  return readValueMap<rti1516e::ParameterHandleValueMap, rti1516e::ParameterHandleFriend>(
      cursor, "parameter value map", "parameter value");
}

// LT: nothing in the array gives the time's length; every time of a factory has the
// length of its final time.
std::unique_ptr<rti1516e::LogicalTime> readLogicalTime(CallbackTarget const& target,
                                                       ByteWrapper& cursor) {
  std::shared_ptr<rti1516e::LogicalTimeFactory> const factory = target.currentTimeFactory();
  if (!factory) {
    throw UndeliverableCallback(
        "the callback carries a logical time, but the federate has no time factory: it has "
        "not joined a federation, or the federation's time implementation is unknown");
  }
  size_t const length = factory->makeFinal()->encodedLength();
  cursor.require(length, "logical time");
  std::unique_ptr<rti1516e::LogicalTime> time(
      factory->decodeLogicalTime(cursor.cursor(), length).release());
  cursor.advance(length);
  return time;
}

// MRH: the handle's own encoding, serial and payload length N, then N payload bytes.
rti1516e::MessageRetractionHandle readRetractionHandle(ByteWrapper& cursor) {
  constexpr size_t kHeader = 2 * kWord;
  cursor.require(kHeader, "message retraction handle");
  unsigned char* const start = cursor.cursor();
  uint32_t const payload = (uint32_t(start[4]) << 24) | (uint32_t(start[5]) << 16) |
                           (uint32_t(start[6]) << 8) | uint32_t(start[7]);
  if (payload > cursor.remaining() - kHeader) {
    throw rti1516e::WireFormatError(
        "message retraction handle: payload length " + std::to_string(payload) +
        " at offset " + std::to_string(cursor.offset() + kWord) + " exceeds the " +
        std::to_string(cursor.remaining() - kHeader) + " bytes that remain");
  }
  rti1516e::VariableLengthData encoded;
  encoded.setDataPointer(start, kHeader + payload);
  rti1516e::MessageRetractionHandle handle =
      rti1516e::MessageRetractionHandleFriend::decode(encoded);
  cursor.advance(kHeader + payload);
  return handle;
}

rti1516e::OrderType readOrderType(ByteWrapper& cursor) {
  return readEnum<rti1516e::OrderType>(cursor, kOrderType);
}
rti1516e::TransportationType readTransportationType(ByteWrapper& cursor) {
  return readEnum<rti1516e::TransportationType>(cursor, kTransportationType);
}
rti1516e::SynchronizationPointFailureReason readSyncFailureReason(ByteWrapper& cursor) {
  return readEnum<rti1516e::SynchronizationPointFailureReason>(cursor, kSyncFailureReason);
}
rti1516e::SaveFailureReason readSaveFailureReason(ByteWrapper& cursor) {
  return readEnum<rti1516e::SaveFailureReason>(cursor, kSaveFailureReason);
}
rti1516e::RestoreFailureReason readRestoreFailureReason(ByteWrapper& cursor) {
  return readEnum<rti1516e::RestoreFailureReason>(cursor, kRestoreFailureReason);
}

rti1516e::SupplementalReflectInfo readReflectInfo(ByteWrapper& cursor) {
  return readRegionInfo<rti1516e::SupplementalReflectInfo>(cursor);
}
rti1516e::SupplementalReceiveInfo readReceiveInfo(ByteWrapper& cursor) {
  return readRegionInfo<rti1516e::SupplementalReceiveInfo>(cursor);
}
rti1516e::SupplementalRemoveInfo readRemoveInfo(ByteWrapper& cursor) {
  rti1516e::SupplementalRemoveInfo info;
  info.hasProducingFederate = cursor.readInt() != 0;
  if (info.hasProducingFederate) info.producingFederate = readFederateHandle(cursor);
  return info;
}

rti1516e::FederationExecutionInformationVector readExecutionInfos(ByteWrapper& cursor) {
  size_t const count = cursor.readLength(kExecutionInfoMin, "federation execution list");
  rti1516e::FederationExecutionInformationVector infos;
  infos.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    std::wstring name = readString(cursor);
    std::wstring timeName = readString(cursor);
    infos.emplace_back(name, timeName);
  }
  return infos;
}

rti1516e::FederateRestoreStatusVector readRestoreStatuses(ByteWrapper& cursor) {
  size_t const count = cursor.readLength(kRestoreStatusSize, "restore status list");
  rti1516e::FederateRestoreStatusVector statuses;
  statuses.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    rti1516e::FederateHandle const before = readFederateHandle(cursor);
    rti1516e::FederateHandle const after = readFederateHandle(cursor);
    statuses.emplace_back(before, after,
                          readEnum<rti1516e::RestoreStatus>(cursor, kRestoreStatus));
  }
  return statuses;
}

rti1516e::FederateHandleSaveStatusPairVector readSaveStatuses(ByteWrapper& cursor) {
  size_t const count = cursor.readLength(kSaveStatusSize, "save status list");
  rti1516e::FederateHandleSaveStatusPairVector statuses;
  statuses.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    rti1516e::FederateHandle const federate = readFederateHandle(cursor);
    statuses.emplace_back(federate, readEnum<rti1516e::SaveStatus>(cursor, kSaveStatus));
  }
  return statuses;
}

}  // namespace wire
}  // namespace ostra1516e
