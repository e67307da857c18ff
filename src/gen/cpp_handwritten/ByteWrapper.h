// ByteWrapper: the cursor over the bytes of one service or callback array.
//
// Every number on the wire is a big-endian 32-bit word. Writers size their array exactly
// before writing, so the writing side needs no checks. The reading side is given the
// array's length and checks every read against the bytes that remain: a callback array
// from the core that is shorter than its codes call for, or that carries a negative or
// oversized length, raises WireFormatError instead of reading past the end.
#ifndef OSTRA_GEN_BYTEWRAPPER_H
#define OSTRA_GEN_BYTEWRAPPER_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace rti1516e {

// WireFormatError reports a malformed array: what was expected and at which offset.
class WireFormatError : public std::runtime_error {
 public:
  explicit WireFormatError(std::string const& what) : std::runtime_error(what) {}
};

class ByteWrapper {
 public:
  // A cursor over size bytes at buffer, positioned at the first byte.
  ByteWrapper(void* buffer, size_t size)
      : position(0), buffer(static_cast<unsigned char*>(buffer)), size(size) {}
  virtual ~ByteWrapper() {}

  ByteWrapper(ByteWrapper const&) = delete;
  ByteWrapper& operator=(ByteWrapper const&) = delete;

  size_t remaining() const { return size - position; }
  size_t offset() const { return position; }

  // require throws unless n more bytes are there to read.
  void require(size_t n, char const* what) const {
    if (n > size - position) tooShort(n, what);
  }

  int32_t readInt() {
    require(4, "integer");
    unsigned char const* p = buffer + position;
    position += 4;
    return static_cast<int32_t>((uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) |
                                (uint32_t(p[2]) << 8) | uint32_t(p[3]));
  }

  // readLength reads a length or count of elements that take at least elementSize bytes
  // each, and refuses a negative one or one larger than what remains. Containers may be
  // sized from the result without risk.
  size_t readLength(size_t elementSize, char const* what) {
    size_t const at = position;
    int32_t const n = readInt();
    if (n < 0 || (elementSize > 0 && size_t(n) > remaining() / elementSize)) {
      badLength(n, at, what);
    }
    return size_t(n);
  }

  void writeInt(int32_t value) {
    putInt(buffer + position, value);
    position += 4;
  }

  // putInt writes value big-endian at p, for writers that keep their own cursor in a
  // loop (the cursor's position, reloaded after every byte stored, would cost more than
  // the stores).
  static void putInt(unsigned char* p, int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    v = __builtin_bswap32(v);  // one swap and one store, where byte stores get merged badly
#endif
    std::memcpy(p, &v, sizeof v);
  }

  void writeBytes(void const* data, size_t n) {
    if (n > 0) std::memcpy(buffer + position, data, n);
    position += n;
  }

  unsigned char* cursor() const { return buffer + position; }
  void advance(size_t n) { position += n; }

 private:
  [[noreturn]] __attribute__((noinline, cold)) void tooShort(size_t n, char const* what) const {
    throw WireFormatError(std::string(what) + ": needs " + std::to_string(n) +
                          " bytes at offset " + std::to_string(position) + ", array has " +
                          std::to_string(size));
  }

  [[noreturn]] __attribute__((noinline, cold)) void badLength(int32_t n, size_t at,
                                                             char const* what) const {
    throw WireFormatError(std::string(what) + ": length " + std::to_string(n) + " at offset " +
                          std::to_string(at) + " exceeds the " + std::to_string(remaining()) +
                          " bytes that remain");
  }

  size_t position;
  unsigned char* buffer;
  size_t size;
};

}  // namespace rti1516e

#endif  // OSTRA_GEN_BYTEWRAPPER_H
