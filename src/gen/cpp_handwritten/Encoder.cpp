#include "gen/cpp_handwritten/Encoder.h"

#include <RTI/Exception.h>

#include <cstdio>

#include "bridge/Text.h"

namespace ostra1516e {

namespace wire {

void reportBadEnumerator(char const* enumeration, long value, int32_t fallback) {
  std::fprintf(stderr, "Internal error: %s value %ld is outside its table; %d is sent instead\n",
               enumeration, value, static_cast<int>(fallback));
}

void reportBadNumber(char const* enumeration, int32_t number, char const* fallback) {
  std::fprintf(stderr,
               "Internal error: the RTI core returned %d, which is no %s; %s is used instead\n",
               static_cast<int>(number), enumeration, fallback);
}

}  // namespace wire

int32_t orderTypeNumber(rti1516e::OrderType v) {
  switch (v) {
    case rti1516e::RECEIVE: return 0;
    case rti1516e::TIMESTAMP: return 1;
  }
  wire::reportBadEnumerator("OrderType", static_cast<long>(v), 0);
  return 0;
}

int32_t transportationTypeNumber(rti1516e::TransportationType v) {
  switch (v) {
    case rti1516e::RELIABLE: return 1;
    case rti1516e::BEST_EFFORT: return 2;
  }
  wire::reportBadEnumerator("TransportationType", static_cast<long>(v), 0);
  return 0;
}

int32_t resignActionNumber(rti1516e::ResignAction v) {
  long const n = static_cast<long>(v);
  if (n >= rti1516e::UNCONDITIONALLY_DIVEST_ATTRIBUTES && n <= rti1516e::NO_ACTION) {
    return static_cast<int32_t>(n);
  }
  wire::reportBadEnumerator("ResignAction", n, 0);
  return 0;
}

int32_t serviceGroupNumber(rti1516e::ServiceGroup v) {
  long const n = static_cast<long>(v);
  if (n >= rti1516e::FEDERATION_MANAGEMENT && n <= rti1516e::SUPPORT_SERVICES) {
    return static_cast<int32_t>(n + 1);
  }
  wire::reportBadEnumerator("ServiceGroup", n, 0);
  return 0;
}

rti1516e::OrderType orderTypeFromJava(int32_t number) {
  switch (number) {
    case 0: return rti1516e::RECEIVE;
    case 1: return rti1516e::TIMESTAMP;
  }
  wire::reportBadNumber("OrderType", number, "RECEIVE");
  return rti1516e::RECEIVE;
}

rti1516e::TransportationType transportationTypeFromJava(int32_t number) {
  switch (number) {
    case 1: return rti1516e::RELIABLE;
    case 2: return rti1516e::BEST_EFFORT;
  }
  wire::reportBadNumber("TransportationType", number, "BEST_EFFORT");
  return rti1516e::BEST_EFFORT;
}

rti1516e::MessageRetractionHandle retractionHandleFromJava(void const* bytes, size_t size) {
  try {
    return rti1516e::MessageRetractionHandleFriend::decode(rti1516e::VariableLengthData(bytes, size));
  } catch (rti1516e::CouldNotDecode const& e) {
    raiseBridgeFailure(L"The RTI core returned a message retraction handle that cannot be read: " +
                       e.what() + L"\n");
  }
}

}  // namespace ostra1516e
