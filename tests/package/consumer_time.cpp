// Uses the logical-time library and nothing of librti1516e64 directly, so that a linker
// working --as-needed records only libfedtime1516e64: the program then starts only if
// that library finds the API library by itself. Exits non-zero on the first surprise.
#include <RTI/LogicalTime.h>
#include <RTI/LogicalTimeFactory.h>
#include <RTI/LogicalTimeInterval.h>

#include <iostream>
#include <memory>
#include <string>

namespace {

// Only virtual calls on what the factory makes: no class of the API library is named.
int check(std::wstring const& name) {
  std::auto_ptr<rti1516e::LogicalTimeFactory> factory =
      rti1516e::LogicalTimeFactoryFactory::makeLogicalTimeFactory(name);
  if (factory.get() == 0 || factory->getName() != name) return 1;
  std::auto_ptr<rti1516e::LogicalTime> initial = factory->makeInitial();
  std::auto_ptr<rti1516e::LogicalTime> later = factory->makeInitial();
  std::auto_ptr<rti1516e::LogicalTimeInterval> epsilon = factory->makeEpsilon();
  *later += *epsilon;
  if (!initial->isInitial() || !(*initial < *later)) return 2;

  std::auto_ptr<rti1516e::LogicalTime> last = factory->makeFinal();
  unsigned char bytes[16];
  std::size_t const length = last->encode(bytes, sizeof bytes);
  if (length != last->encodedLength()) return 3;
  std::auto_ptr<rti1516e::LogicalTime> decoded = factory->decodeLogicalTime(bytes, length);
  if (!decoded->isFinal() || !(*decoded == *last)) return 4;
  return 0;
}

}  // namespace

int main() {
  char const* const names[] = {"HLAinteger64Time", "HLAfloat64Time"};
  for (char const* name : names) {
    if (int failed = check(std::wstring(name, name + std::string(name).size()))) {
      std::cerr << "consumer_time: " << name << " failed check " << failed << std::endl;
      return failed;
    }
  }
  if (rti1516e::LogicalTimeFactoryFactory::makeLogicalTimeFactory(L"NoSuchTime").get() != 0) {
    return 10;
  }
  std::cout << "consumer_time: ok" << std::endl;
  return 0;
}
