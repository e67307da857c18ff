// LibraryDirectory.h: where this library was loaded from, for the files installed
// beside it (the logical-time library, the Java classes).
//
//   std::string jar = libraryDirectory() + "../share/java/ostra1516e.jar";
#ifndef OSTRA1516E_BRIDGE_LIBRARYDIRECTORY_H
#define OSTRA1516E_BRIDGE_LIBRARYDIRECTORY_H

#include <string>

namespace ostra1516e {

// libraryDirectory returns the directory of the loaded object that holds this code (the
// shared library, or the program a static archive was linked into), as the loader knows
// it, with a trailing slash; an empty string when it cannot be told.
std::string libraryDirectory();

}  // namespace ostra1516e

#endif  // OSTRA1516E_BRIDGE_LIBRARYDIRECTORY_H
