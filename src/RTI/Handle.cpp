// The nine handle classes. The eight simple ones keep the RTI's number in their
// implementation slot and share one definition; MessageRetractionHandle owns a record.
#include <RTI/Handle.h>

#include <RTI/Exception.h>

#include "RTI/HandleFriend.h"

#include <cstring>
#include <limits>
#include <memory>
#include <ostream>
#include <sstream>

namespace rti1516e {

namespace {

size_t const kSimpleHandleLength = 4;
size_t const kRetractionHeaderLength = 8;  // serial, then the payload length

void writeBigEndian32(uint32_t value, unsigned char* out) {
  out[0] = static_cast<unsigned char>(value >> 24);
  out[1] = static_cast<unsigned char>(value >> 16);
  out[2] = static_cast<unsigned char>(value >> 8);
  out[3] = static_cast<unsigned char>(value);
}

uint32_t readBigEndian32(unsigned char const* in) {
  return (uint32_t(in[0]) << 24) | (uint32_t(in[1]) << 16) | (uint32_t(in[2]) << 8) |
         uint32_t(in[3]);
}

// Handles hash the low 32 bits of their number times 37, wrapping at 32 bits; the
// signed 32-bit result is widened to long with its sign.
long hash32(uint32_t number) { return static_cast<int32_t>(number * 37u); }

void requireBuffer(size_t bufferSize, size_t needed, wchar_t const* message) {
  if (bufferSize < needed) throw CouldNotEncode(message);
}

void requireEncoded(VariableLengthData const& encoded, size_t needed, wchar_t const* kind) {
  if (encoded.size() < needed) {
    std::wostringstream message;
    message << L"An encoded " << kind << L" needs " << needed << L" bytes, but only "
            << encoded.size() << L" were given";
    throw CouldNotDecode(message.str());
  }
}

// Encodings handed out as VariableLengthData own a buffer freed with delete[].
VariableLengthData encodeWith(size_t length, void (*fill)(void const*, unsigned char*),
                              void const* handle) {
  std::unique_ptr<unsigned char[]> bytes(new unsigned char[length]);
  fill(handle, bytes.get());
  VariableLengthData encoded;
  encoded.takeDataPointer(bytes.get(), length);
  bytes.release();
  return encoded;
}

uint32_t numberOf(void const* slot) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(slot));
}

// The core's numbers are signed 32-bit values; both ways into a handle (from the core
// and from an encoding) widen them with their sign so that they agree.
intptr_t decodeNumber(VariableLengthData const& encoded, wchar_t const* kind) {
  requireEncoded(encoded, kSimpleHandleLength, kind);
  uint32_t number = readBigEndian32(static_cast<unsigned char const*>(encoded.data()));
  return static_cast<int32_t>(number);
}

std::wstring describe(wchar_t const* kind, int64_t number) {
  std::wostringstream text;
  text << kind << L'<' << number << L'>';
  return text.str();
}

}  // namespace

#define OSTRA_DEFINE_SIMPLE_HANDLE(Kind)                                                  \
  Kind::Kind() : _impl(nullptr) {}                                                        \
  Kind::~Kind() {}                                                                        \
  Kind::Kind(Kind const& rhs) : _impl(rhs._impl) {}                                       \
  Kind& Kind::operator=(Kind const& rhs) {                                                \
    _impl = rhs._impl;                                                                    \
    return *this;                                                                         \
  }                                                                                       \
  bool Kind::isValid() const { return _impl != nullptr; }                                 \
  bool Kind::operator==(Kind const& rhs) const { return _impl == rhs._impl; }             \
  bool Kind::operator!=(Kind const& rhs) const { return _impl != rhs._impl; }             \
  bool Kind::operator<(Kind const& rhs) const {                                           \
    return reinterpret_cast<uintptr_t>(_impl) < reinterpret_cast<uintptr_t>(rhs._impl);   \
  }                                                                                       \
  long Kind::hash() const { return hash32(numberOf(_impl)); }                             \
  VariableLengthData Kind::encode() const {                                               \
    return encodeWith(                                                                    \
        kSimpleHandleLength,                                                              \
        [](void const* self, unsigned char* out) {                                        \
          writeBigEndian32(numberOf(static_cast<Kind const*>(self)->_impl), out);         \
        },                                                                                \
        this);                                                                            \
  }                                                                                       \
  size_t Kind::encode(void* buffer, size_t bufferSize) const {                            \
    requireBuffer(bufferSize, kSimpleHandleLength,                                        \
                  L"Buffer needs to be at least 4 bytes!");                               \
    writeBigEndian32(numberOf(_impl), static_cast<unsigned char*>(buffer));               \
    return kSimpleHandleLength;                                                           \
  }                                                                                       \
  size_t Kind::encodedLength() const { return kSimpleHandleLength; }                      \
  std::wstring Kind::toString() const {                                                   \
    return describe(L"" #Kind, static_cast<int64_t>(reinterpret_cast<intptr_t>(_impl)));  \
  }                                                                                       \
  Kind::Kind(Kind##Implementation* impl) : _impl(impl) {}                                 \
  Kind::Kind(VariableLengthData const& encodedValue)                                      \
      : _impl(reinterpret_cast<Kind##Implementation*>(decodeNumber(encodedValue, L"" #Kind))) {} \
  Kind##Implementation const* Kind::getImplementation() const { return _impl; }          \
  Kind##Implementation* Kind::getImplementation() { return _impl; }                      \
  std::wostream& operator<<(std::wostream& stream, Kind const& handle) {                  \
    return stream << handle.toString();                                                   \
  }

RTI1516E_SIMPLE_HANDLES(OSTRA_DEFINE_SIMPLE_HANDLE)

#undef OSTRA_DEFINE_SIMPLE_HANDLE

// MessageRetractionHandle: identity, ordering and hash use the serial alone; the payload
// is the core's and only travels along.

MessageRetractionHandle::MessageRetractionHandle()
    : _impl(new MessageRetractionHandleImplementation) {}

MessageRetractionHandle::~MessageRetractionHandle() { delete _impl; }

MessageRetractionHandle::MessageRetractionHandle(MessageRetractionHandle const& rhs)
    : _impl(new MessageRetractionHandleImplementation(*rhs._impl)) {}

MessageRetractionHandle& MessageRetractionHandle::operator=(MessageRetractionHandle const& rhs) {
  // Copy before releasing, so that assigning a handle to itself keeps its payload.
  MessageRetractionHandleImplementation* fresh = new MessageRetractionHandleImplementation(*rhs._impl);
  delete _impl;
  _impl = fresh;
  return *this;
}

bool MessageRetractionHandle::isValid() const { return _impl->serial != 0; }

bool MessageRetractionHandle::operator==(MessageRetractionHandle const& rhs) const {
  return _impl->serial == rhs._impl->serial;
}

bool MessageRetractionHandle::operator!=(MessageRetractionHandle const& rhs) const {
  return _impl->serial != rhs._impl->serial;
}

bool MessageRetractionHandle::operator<(MessageRetractionHandle const& rhs) const {
  return _impl->serial < rhs._impl->serial;
}

long MessageRetractionHandle::hash() const { return hash32(static_cast<uint32_t>(_impl->serial)); }

size_t MessageRetractionHandle::encodedLength() const {
  return kRetractionHeaderLength + _impl->payload.size();
}

namespace {

// serial (4 bytes), payload length N (4 bytes), then the N payload bytes.
void writeRetraction(MessageRetractionHandleImplementation const& record, unsigned char* out) {
  size_t const size = record.payload.size();
  writeBigEndian32(static_cast<uint32_t>(record.serial), out);
  writeBigEndian32(static_cast<uint32_t>(size), out + 4);
  if (size > 0) std::memcpy(out + kRetractionHeaderLength, record.payload.data(), size);
}

// The length field has 32 bits; a larger payload cannot be encoded faithfully.
void requireEncodablePayload(MessageRetractionHandleImplementation const& record) {
  if (record.payload.size() > std::numeric_limits<uint32_t>::max()) {
    throw CouldNotEncode(L"The payload of a MessageRetractionHandle is too large to encode");
  }
}

}  // namespace

VariableLengthData MessageRetractionHandle::encode() const {
  requireEncodablePayload(*_impl);
  return encodeWith(
      encodedLength(),
      [](void const* self, unsigned char* out) {
        writeRetraction(*static_cast<MessageRetractionHandle const*>(self)->_impl, out);
      },
      this);
}

size_t MessageRetractionHandle::encode(void* buffer, size_t bufferSize) const {
  requireEncodablePayload(*_impl);
  size_t const length = encodedLength();
  // Federates and peers match this established text, which predates variable payloads.
  requireBuffer(bufferSize, length, L"Buffer needs to be atleast 4 bytes!");
  writeRetraction(*_impl, static_cast<unsigned char*>(buffer));
  return length;
}

std::wstring MessageRetractionHandle::toString() const {
  return describe(L"MessageRetractionHandle", static_cast<uint32_t>(_impl->serial));
}

MessageRetractionHandle::MessageRetractionHandle(MessageRetractionHandleImplementation* impl)
    : _impl(impl != nullptr ? impl : new MessageRetractionHandleImplementation) {}

MessageRetractionHandle::MessageRetractionHandle(VariableLengthData const& encodedValue)
    : _impl(nullptr) {
  wchar_t const* const kind = L"MessageRetractionHandle";
  requireEncoded(encodedValue, kRetractionHeaderLength, kind);
  unsigned char const* bytes = static_cast<unsigned char const*>(encodedValue.data());
  uint32_t const payloadSize = readBigEndian32(bytes + 4);
  // Compared against what remains after the header, so no sum can wrap.
  if (payloadSize > encodedValue.size() - kRetractionHeaderLength) {
    std::wostringstream message;
    message << L"An encoded " << kind << L" announces " << payloadSize
            << L" payload bytes, but only " << encodedValue.size() - kRetractionHeaderLength
            << L" follow its header";
    throw CouldNotDecode(message.str());
  }
  std::unique_ptr<MessageRetractionHandleImplementation> record(
      new MessageRetractionHandleImplementation);
  record->serial = static_cast<int32_t>(readBigEndian32(bytes));
  record->payload.setData(bytes + kRetractionHeaderLength, payloadSize);
  _impl = record.release();
}

MessageRetractionHandleImplementation const* MessageRetractionHandle::getImplementation() const {
  return _impl;
}

MessageRetractionHandleImplementation* MessageRetractionHandle::getImplementation() { return _impl; }

std::wostream& operator<<(std::wostream& stream, MessageRetractionHandle const& handle) {
  return stream << handle.toString();
}

}  // namespace rti1516e
