#include <RTI/Exception.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

namespace rti1516e {
namespace {

// Every concrete class, built through the same list the library is built from.
struct Maker {
  std::string name;
  std::function<void(std::wstring const&)> raise;
  bool inCore;
};

std::vector<Maker> allExceptions() {
  std::vector<Maker> makers;
#define RTI1516E_MAKER(Name, InCore) \
  makers.push_back({#Name, [](std::wstring const& m) { throw Name(m); }, InCore != 0});
  RTI1516E_EXCEPTIONS(RTI1516E_MAKER)
#undef RTI1516E_MAKER
  return makers;
}

TEST(Exception, ListHas122ClassesOf99HaveACoreCounterpart) {
  std::vector<Maker> makers = allExceptions();
  EXPECT_EQ(makers.size(), 122u);
  int inCore = 0;
  for (Maker const& m : makers) inCore += m.inCore ? 1 : 0;
  EXPECT_EQ(inCore, 99);
}

TEST(Exception, EveryClassCarriesItsMessageThroughTheBase) {
  std::wstring const message = L"line one\nline two \u00e9\u4e2d\U0001F600";
  for (Maker const& m : allExceptions()) {
    SCOPED_TRACE(m.name);
    try {
      m.raise(message);
      ADD_FAILURE() << "nothing thrown";
    } catch (Exception const& e) {
      EXPECT_EQ(e.what(), message);
      // The dynamic type is the concrete class, whose name ends the mangled name.
      std::string mangled = typeid(e).name();
      EXPECT_NE(mangled.find(m.name), std::string::npos) << mangled;
    }
  }
}

TEST(Exception, EmptyMessageStaysEmpty) {
  EXPECT_EQ(FederateInternalError(L"").what(), L"");
}

TEST(Exception, CopyIsIndependentOfItsSource) {
  std::unique_ptr<NameNotFound> source(new NameNotFound(L"first"));
  NameNotFound copy(*source);
  source.reset();
  EXPECT_EQ(copy.what(), L"first");
}

TEST(Exception, AssignmentCopiesTheMessage) {
  NameNotFound target(L"old");
  {
    NameNotFound source(L"new");
    target = source;
    source = NameNotFound(L"changed later");
  }
  EXPECT_EQ(target.what(), L"new");
  target = target;
  EXPECT_EQ(target.what(), L"new");
}

TEST(Exception, ConcreteClassesAreSiblings) {
  // No concrete class derives from another, so catching one never catches a second.
  static_assert(!std::is_base_of<RTIinternalError, FederateInternalError>::value, "");
  static_assert(!std::is_base_of<CouldNotEncode, EncoderException>::value, "");
  static_assert(std::is_abstract<Exception>::value, "");
  bool caughtByWrongHandler = false;
  try {
    throw CouldNotDecode(L"x");
  } catch (CouldNotEncode const&) {
    caughtByWrongHandler = true;
  } catch (Exception const&) {
  }
  EXPECT_FALSE(caughtByWrongHandler);
}

TEST(Exception, StreamOperatorWritesWhatOnly) {
  std::wostringstream out;
  out << static_cast<Exception const&>(InvalidRegion(L"region 4 is gone"));
  EXPECT_EQ(out.str(), L"region 4 is gone");
}

}  // namespace
}  // namespace rti1516e
