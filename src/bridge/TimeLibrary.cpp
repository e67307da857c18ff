#include "bridge/TimeLibrary.h"

#include <dlfcn.h>

#include <mutex>
#include <string>

#include "bridge/LibraryDirectory.h"
#include "bridge/Text.h"

#ifndef OSTRA_FEDTIME_SONAME
#error "OSTRA_FEDTIME_SONAME must name the logical-time library's file"
#endif

namespace ostra1516e {

char const kMakeLogicalTimeFactorySymbol[] =
    "_ZN8rti1516e25LogicalTimeFactoryFactory22makeLogicalTimeFactoryERKNSt7__cxx1112basic_"
    "stringIwSt11char_traitsIwESaIwEEE";

namespace {

using MakeFactory = std::auto_ptr<rti1516e::LogicalTimeFactory> (*)(std::wstring const&);

MakeFactory locate(std::string& tried) {
  if (void* symbol = dlsym(RTLD_DEFAULT, kMakeLogicalTimeFactorySymbol)) {
    return reinterpret_cast<MakeFactory>(symbol);
  }
  tried = "the process";
  std::string const candidates[] = {libraryDirectory() + OSTRA_FEDTIME_SONAME,
                                    OSTRA_FEDTIME_SONAME};
  for (std::string const& candidate : candidates) {
    void* library = dlopen(candidate.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (library == nullptr) {
      tried += std::string(", ") + dlerror();
      continue;
    }
    if (void* symbol = dlsym(library, kMakeLogicalTimeFactorySymbol)) {
      return reinterpret_cast<MakeFactory>(symbol);
    }
    tried += ", " + candidate + " (no factory lookup in it)";
  }
  return nullptr;
}

}  // namespace

std::auto_ptr<rti1516e::LogicalTimeFactory> makeFederationTimeFactory(
    std::wstring const& implementationName) {
  // Found once; a failure is tried again on the next call, as a library may be
  // installed by then.
  static std::mutex lock;
  static MakeFactory make = nullptr;
  MakeFactory found;
  std::string tried;
  {
    std::lock_guard<std::mutex> guard(lock);
    if (make == nullptr) make = locate(tried);
    found = make;
  }
  if (found == nullptr) {
    raiseBridgeFailure(L"Cannot find the logical-time library " + widenText(OSTRA_FEDTIME_SONAME) +
                       L"; tried " + widenText(tried) + L"\n");
  }
  return found(implementationName);
}

}  // namespace ostra1516e
