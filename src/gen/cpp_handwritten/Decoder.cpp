#include "gen/cpp_handwritten/Decoder.h"

#include <RTI/LogicalTimeFactory.h>

#include "RTI/Utf16.h"

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

int32_t detail::enumOutOfRange(int32_t number, EnumTable const& table) {
  std::fprintf(stderr,
               "Internal error: a callback array carries %d as a %s, which has no such "
               "number; %s is delivered instead\n",
               number, table.type, table.fallbackName);
  return table.fallback;
}

// S: a count n of UTF-16 units, then the units high byte first. A high surrogate directly
// followed by a low one becomes one character; every other unit is kept as it is.
std::wstring readString(ByteWrapper& cursor) {
  size_t const n = cursor.readLength(2, "string");
  unsigned char const* p = cursor.cursor();
  std::wstring text =
      rti1516e::utf16::toWide(n, [p](size_t i) { return rti1516e::utf16::bigEndianUnit(p, i); });
  cursor.advance(2 * n);
  return text;
}

std::set<std::wstring> readStringSet(ByteWrapper& cursor) {
  size_t const count = cursor.readLength(kStringMin, "string set");
  std::set<std::wstring> names;
  for (size_t i = 0; i < count; ++i) names.insert(readString(cursor));
  return names;
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
                          detail::readEnum<rti1516e::RestoreStatus>(cursor, detail::kRestoreStatus));
  }
  return statuses;
}

rti1516e::FederateHandleSaveStatusPairVector readSaveStatuses(ByteWrapper& cursor) {
  size_t const count = cursor.readLength(kSaveStatusSize, "save status list");
  rti1516e::FederateHandleSaveStatusPairVector statuses;
  statuses.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    rti1516e::FederateHandle const federate = readFederateHandle(cursor);
    statuses.emplace_back(federate, detail::readEnum<rti1516e::SaveStatus>(cursor, detail::kSaveStatus));
  }
  return statuses;
}

}  // namespace wire
}  // namespace ostra1516e
