// WireBytes: builds arrays in the core's format for tests, and keeps them in heap blocks
// of exactly their size, so that a read past the end is caught by AddressSanitizer.
//
//   WireBytes array = WireBytes::callback(handle).string(u"label").word(1).end();
#ifndef OSTRA_TESTS_WIREBYTES_H
#define OSTRA_TESTS_WIREBYTES_H

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace ostra1516e {
namespace testing {

class WireBytes {
 public:
  WireBytes() = default;

  // A callback array up to its arguments: PRE_MAGIC and the handle.
  static WireBytes callback(int32_t handle) { return WireBytes().word(0x63626160).word(handle); }
  // Appends POST_MAGIC.
  WireBytes& end() { return word(0x59585756); }

  WireBytes& word(int32_t value) {
    uint32_t const v = static_cast<uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8) bytes_.push_back(static_cast<uint8_t>(v >> shift));
    return *this;
  }
  WireBytes& raw(std::initializer_list<uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes);
    return *this;
  }
  WireBytes& raw(std::vector<uint8_t> const& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  // S: the count of UTF-16 units, then each unit high byte first.
  WireBytes& string(std::u16string const& units) {
    word(static_cast<int32_t>(units.size()));
    for (char16_t u : units) raw({static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u)});
    return *this;
  }
  // BX: the length, then the bytes.
  WireBytes& block(std::vector<uint8_t> const& bytes) {
    word(static_cast<int32_t>(bytes.size()));
    return raw(bytes);
  }

  std::vector<uint8_t> const& bytes() const { return bytes_; }
  size_t size() const { return bytes_.size(); }

  // An exact heap copy of the first n bytes (all by default).
  std::unique_ptr<uint8_t[]> copy(size_t n = SIZE_MAX) const {
    if (n > bytes_.size()) n = bytes_.size();
    std::unique_ptr<uint8_t[]> block(new uint8_t[n]);
    if (n > 0) std::memcpy(block.get(), bytes_.data(), n);
    return block;
  }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace testing
}  // namespace ostra1516e

#endif  // OSTRA_TESTS_WIREBYTES_H
