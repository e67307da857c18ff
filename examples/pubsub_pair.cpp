// pubsub_pair: the publisher and the subscriber examples together in one process, each on
// its own thread with its own ambassador. The subscriber prints what the publisher sends.
//
// The object model is fom/Demo.xml, or the module given as the first argument.
#include <cstring>
#include <thread>

#include "pubsub.h"

int main(int argc, char** argv) {
  std::wstring fom = OSTRA_EXAMPLE_FOM;
  if (argc > 1) fom.assign(argv[1], argv[1] + std::strlen(argv[1]));  // a path in plain ASCII

  bool published = false, subscribed = false;
  std::thread subscriber([&] { subscribed = runSubscriber(fom, 10.0); });
  std::thread publisher([&] { published = runPublisher(fom, 3); });
  publisher.join();
  subscriber.join();
  return published && subscribed ? 0 : 1;
}
