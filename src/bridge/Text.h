// Text.h: the plain text conversions the bridge uses for its messages and for strings
// that arrive from Java.
//
//   std::wstring m = formatMessage(L"Cannot create JVM. Error: %ls\n", jniErrorText(rc).c_str());
//   std::cerr << narrowText(m);
//
// None of these do code page conversion: a federate's messages and the class path are
// passed through byte for byte or unit for unit.
#ifndef OSTRA1516E_BRIDGE_TEXT_H
#define OSTRA1516E_BRIDGE_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

namespace ostra1516e {

namespace detail {
// printf-style wide formatting of C variadic arguments; see formatMessage.
std::wstring formatWide(wchar_t const* format, ...);
}  // namespace detail

// formatMessage formats like swprintf (%ls takes a wchar_t const*, %ld a long) and
// always returns the whole text, however long. Arguments must be numbers or pointers:
// pass a std::wstring as .c_str(). A format that cannot be printed at all (which only a
// malformed format does) comes back unformatted rather than truncated or empty.
template <typename... Args>
std::wstring formatMessage(std::wstring const& format, Args... args) {
  static_assert(((std::is_arithmetic<Args>::value || std::is_pointer<Args>::value) && ...),
                "formatMessage takes numbers and C strings only");
  return detail::formatWide(format.c_str(), args...);
}

// narrowText keeps the low 8 bits of every character: one byte per character, for the
// standard error stream.
std::string narrowText(std::wstring const& text);

// widenText zero-extends every byte to one wide character.
std::wstring widenText(std::string const& text);

// wideFromUtf16 turns UTF-16 code units from Java into one wide character per code
// point: a high surrogate directly followed by a low surrogate becomes one character
// above U+FFFF; any other surrogate is kept as its own value.
std::wstring wideFromUtf16(std::uint16_t const* units, std::size_t count);

// raiseBridgeFailure reports a failure of the bridge itself: the message, narrowed, on
// standard error (with a line feed added when it has none at its end), then
// rti1516e::RTIinternalError with the wide message.
[[noreturn]] void raiseBridgeFailure(std::wstring const& message);

}  // namespace ostra1516e

#endif  // OSTRA1516E_BRIDGE_TEXT_H
