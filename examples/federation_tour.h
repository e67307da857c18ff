// federation_tour: a federation in one process, from connect to destroy.
#ifndef OSTRA_EXAMPLES_federation_tour_h
#define OSTRA_EXAMPLES_federation_tour_h

#include <string>

// Runs a small federation of two federates in this process on the RTI's embedded engine
// (nothing to start): create it from the object model module at fomPath, join, look up
// classes, meet at a synchronization point, resign and destroy. Returns false, after
// printing why, when the RTI refused something.
bool showFederation(std::wstring const& fomPath);

#endif  // OSTRA_EXAMPLES_federation_tour_h
