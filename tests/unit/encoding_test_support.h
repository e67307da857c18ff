// Helpers shared by the encoding tests: byte vectors written as lists of numbers, and a
// check that a call throws EncoderException with a given message.
#ifndef OSTRA1516E_TESTS_ENCODING_TEST_SUPPORT_H
#define OSTRA1516E_TESTS_ENCODING_TEST_SUPPORT_H

#include <RTI/encoding/DataElement.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace rti1516e {
namespace testing_support {

using Bytes = std::vector<unsigned char>;

inline Bytes bytesOf(VariableLengthData const& data) {
  auto const* p = static_cast<unsigned char const*>(data.data());
  return Bytes(p, p + data.size());
}

inline Bytes bytesOf(std::vector<Octet> const& buffer) {
  return Bytes(buffer.begin(), buffer.end());
}

inline VariableLengthData dataOf(Bytes const& bytes) {
  return VariableLengthData(bytes.data(), bytes.size());
}

inline std::vector<Octet> bufferOf(Bytes const& bytes) {
  return std::vector<Octet>(bytes.begin(), bytes.end());
}

// The message of the EncoderException that call throws, or a note that it threw none.
inline std::wstring encoderFailure(std::function<void()> const& call) {
  try {
    call();
  } catch (EncoderException const& e) {
    return e.what();
  }
  return L"<no EncoderException>";
}

}  // namespace testing_support
}  // namespace rti1516e

#endif  // OSTRA1516E_TESTS_ENCODING_TEST_SUPPORT_H
