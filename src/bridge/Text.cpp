#include "bridge/Text.h"

#include <RTI/Exception.h>

#include "RTI/Utf16.h"

#include <cstdarg>
#include <cwchar>
#include <iostream>
#include <vector>

namespace ostra1516e {

namespace {
// Most messages fit the first buffer; the bound stops a format that vswprintf refuses
// at any size (it reports "too small" and "malformed" alike) from growing without end.
constexpr std::size_t kFirstBuffer = 2048;
constexpr std::size_t kLargestBuffer = std::size_t{1} << 24;
}  // namespace

namespace detail {

std::wstring formatWide(wchar_t const* format, ...) {
  wchar_t first[kFirstBuffer];
  va_list args;
  va_start(args, format);
  int length = std::vswprintf(first, kFirstBuffer, format, args);
  va_end(args);
  if (length >= 0) return std::wstring(first, static_cast<std::size_t>(length));

  std::vector<wchar_t> buffer;
  for (std::size_t size = kFirstBuffer * 4; size <= kLargestBuffer; size *= 4) {
    buffer.resize(size);
    va_start(args, format);
    length = std::vswprintf(buffer.data(), size, format, args);
    va_end(args);
    if (length >= 0) return std::wstring(buffer.data(), static_cast<std::size_t>(length));
  }
  return std::wstring(format);
}

}  // namespace detail

std::string narrowText(std::wstring const& text) {
  std::string narrow(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    narrow[i] = static_cast<char>(static_cast<unsigned char>(text[i] & 0xFF));
  }
  return narrow;
}

std::wstring widenText(std::string const& text) {
  std::wstring wide(text.size(), L'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
  }
  return wide;
}

std::wstring wideFromUtf16(std::uint16_t const* units, std::size_t count) {
  return rti1516e::utf16::toWide(count, [units](std::size_t i) { return units[i]; });
}

void raiseBridgeFailure(std::wstring const& message) {
  // The exception's text is the message as given; standard error always gets whole lines.
  bool const ended = !message.empty() && message.back() == L'\n';
  std::cerr << narrowText(message) << (ended ? "" : "\n") << std::flush;
  throw rti1516e::RTIinternalError(message);
}

}  // namespace ostra1516e
