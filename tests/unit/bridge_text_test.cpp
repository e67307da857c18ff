#include <RTI/Exception.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bridge/JavaExceptions.h"
#include "bridge/Text.h"

namespace ostra1516e {
namespace {

TEST(FormatMessageTest, KeepsTheWholeTextAtAnyLength) {
  // The first attempt has room for 2047 characters and the terminator.
  for (std::size_t length : {0u, 1u, 2046u, 2047u, 2048u, 2049u, 10000u, 300000u}) {
    SCOPED_TRACE(length);
    std::wstring const argument(length, L'x');
    std::wstring const result = formatMessage(L"[%ls] %ld", argument.c_str(), -7L);
    EXPECT_EQ(result, L"[" + argument + L"] -7");
  }
}

TEST(FormatMessageTest, PassesCharactersBeyondLatin1Through) {
  EXPECT_EQ(formatMessage(L"CLASSPATH: %ls", L"/h\u00f6me/\u4e2d/\U0001F600.jar"),
            L"CLASSPATH: /h\u00f6me/\u4e2d/\U0001F600.jar");
}

TEST(NarrowTextTest, KeepsTheLowEightBitsOfEachCharacter) {
  std::wstring const wide = {L'A',          L'\n', wchar_t(0xE9), wchar_t(0x4E2D), wchar_t(0x1F600),
                             wchar_t(0x100)};
  std::string const narrow = narrowText(wide);
  EXPECT_EQ(narrow, std::string("A\n\xE9\x2D\x00\x00", 6));
}

TEST(WidenTextTest, ZeroExtendsEveryByte) {
  std::string const narrow("a\x80\xff\0z", 5);
  EXPECT_EQ(widenText(narrow), (std::wstring{L'a', wchar_t(0x80), wchar_t(0xFF), L'\0', L'z'}));
  EXPECT_EQ(narrowText(widenText(narrow)), narrow);
}

TEST(RaiseBridgeFailureTest, StandardErrorGetsWholeLinesAndTheExceptionTheMessage) {
  struct Case {
    std::wstring message;
    std::string written;
  } const cases[] = {
      {L"Cannot locate Ostra core Java classes\nCLASSPATH: /a.jar",
       "Cannot locate Ostra core Java classes\nCLASSPATH: /a.jar\n"},
      {L"Cannot create JVM. Error: x\n", "Cannot create JVM. Error: x\n"},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.written);
    testing::internal::CaptureStderr();
    try {
      raiseBridgeFailure(c.message);
    } catch (rti1516e::RTIinternalError const& e) {
      EXPECT_EQ(e.what(), c.message);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.written);
  }
}

TEST(WideFromUtf16Test, JoinsValidSurrogatePairsOnly) {
  struct Case {
    char const* name;
    std::vector<std::uint16_t> units;
    std::wstring wide;
  };
  Case const cases[] = {
      {"empty", {}, L""},
      {"basic plane", {0x41, 0xE9, 0x4E2D, 0xFFFF}, L"A\u00e9\u4e2d\uffff"},
      {"pair", {0x61, 0xD83D, 0xDE00, 0x62}, L"a\U0001F600b"},
      {"highest code point", {0xDBFF, 0xDFFF}, std::wstring(1, wchar_t(0x10FFFF))},
      {"two pairs in a row",
       {0xD800, 0xDC00, 0xD800, 0xDC01},
       std::wstring{wchar_t(0x10000), wchar_t(0x10001)}},
      {"lone high at the end", {0x61, 0xD83D}, std::wstring{L'a', wchar_t(0xD83D)}},
      {"lone low", {0xDE00, 0x61}, std::wstring{wchar_t(0xDE00), L'a'}},
      {"reversed pair", {0xDE00, 0xD83D}, std::wstring{wchar_t(0xDE00), wchar_t(0xD83D)}},
      {"high before a letter", {0xD83D, 0x61}, std::wstring{wchar_t(0xD83D), L'a'}},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(wideFromUtf16(c.units.data(), c.units.size()), c.wide);
  }
}

// The classes are unrelated siblings, so only the right one catches.
template <typename Cpp>
void expectCoreClass(CoreException which, char const* name) {
  SCOPED_TRACE(name);
  EXPECT_EQ(javaClassName(which), std::string("hla/rti1516e/exceptions/") + name);
  try {
    throwCoreException(which, L"m");
  } catch (Cpp const& e) {
    EXPECT_EQ(e.what(), L"m");
    return;
  } catch (...) {
  }
  ADD_FAILURE() << "another class was thrown";
}

TEST(CoreExceptionTest, EveryCoreClassThrowsTheCppClassOfItsName) {
  ASSERT_EQ(kCoreExceptionCount, 99u);
  std::size_t checked = 0;
#define OSTRA_CHECK_0(Name)
#define OSTRA_CHECK_1(Name)                                    \
  expectCoreClass<rti1516e::Name>(CoreException::Name, #Name); \
  ++checked;
#define OSTRA_CHECK(Name, InCore) OSTRA_CHECK_##InCore(Name)
  RTI1516E_EXCEPTIONS(OSTRA_CHECK)
#undef OSTRA_CHECK
#undef OSTRA_CHECK_1
#undef OSTRA_CHECK_0
  EXPECT_EQ(checked, kCoreExceptionCount);
}

}  // namespace
}  // namespace ostra1516e
