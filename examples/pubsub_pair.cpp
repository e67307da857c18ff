// pubsub_pair: the publisher and the subscriber examples together in one process, each on
// its own thread with its own ambassador. The subscriber prints what the publisher sends.
//
// pubsub_pair [--rti rti://HOST:PORT] [FOM]: through the federation engine in this
// process, or a federation server; the object model is fom/Demo.xml, or the module FOM.
#include <thread>

#include "pubsub.h"

int main(int argc, char** argv) {
  Traffic traffic;
  if (!parseTraffic(argc, argv, traffic)) return 2;

  bool published = false, subscribed = false;
  std::thread subscriber([&] { subscribed = runSubscriber(traffic, 10.0); });
  std::thread publisher([&] { published = runPublisher(traffic, 3); });
  publisher.join();
  subscriber.join();
  return published && subscribed ? 0 : 1;
}
