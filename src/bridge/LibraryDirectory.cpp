#include "bridge/LibraryDirectory.h"

#include <dlfcn.h>

namespace ostra1516e {

std::string libraryDirectory() {
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&libraryDirectory), &info) == 0 ||
      info.dli_fname == nullptr) {
    return std::string();
  }
  std::string path = info.dli_fname;
  std::string::size_type const slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace ostra1516e
