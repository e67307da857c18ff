// FederateAmbassadorRegistry: turns the small integer that crosses to the Java core into
// the callback target of one bridge object.
//
// connect registers the bridge's CallbackTarget and sends the handle to the core; every
// callback array carries the handle back, and the dispatcher looks the target up. Handles
// are slot indexes 0..4095; the n-th registration of the process takes slot n mod 4096 and
// a slot is never reused, so a stale handle can never reach another federate.
#ifndef OSTRA_BRIDGE_FEDERATEAMBASSADORREGISTRY_H
#define OSTRA_BRIDGE_FEDERATEAMBASSADORREGISTRY_H

#include <atomic>
#include <cstdint>
#include <memory>

namespace rti1516e {
class FederateAmbassador;
class LogicalTimeFactory;
}  // namespace rti1516e

namespace ostra1516e {

// CallbackTarget: what a callback needs of its bridge object. The bridge owns it.
struct CallbackTarget {
  // The ambassador given to the latest connect; not owned.
  std::atomic<rti1516e::FederateAmbassador*> federateAmbassador{nullptr};
  // The factory of the federation's time representation, replaced at each join; null
  // before the first join. Read and replaced with std::atomic_load/std::atomic_store so
  // that a callback decoding with the old factory keeps it alive until it is done.
  std::shared_ptr<rti1516e::LogicalTimeFactory> timeFactory;
  // The caller's MXCSR image taken on entry to connect; callbacks run under it.
  std::atomic<uint32_t> federateFpControl{0};

  std::shared_ptr<rti1516e::LogicalTimeFactory> currentTimeFactory() const {
    return std::atomic_load(&timeFactory);
  }
  void replaceTimeFactory(std::shared_ptr<rti1516e::LogicalTimeFactory> factory) {
    std::atomic_store(&timeFactory, std::move(factory));
  }
};

class FederateAmbassadorRegistry {
 public:
  static constexpr int32_t kSlots = 4096;
  // Returned by add when every slot has been used.
  static constexpr int32_t kFull = -1;

  // add takes the next slot for target and returns its handle, or kFull (after writing
  // "No more FederateAmbassador handles" to standard error) when the process has used
  // all 4096. Safe to call from several threads at once.
  static int32_t add(CallbackTarget* target);

  // lookup returns the target registered under handle, or null for a handle out of
  // range, never handed out, or whose bridge object has been destroyed.
  static CallbackTarget* lookup(int32_t handle);

  // retire marks every slot of target dead; called when its bridge object is destroyed.
  // The slots stay used.
  static void retire(CallbackTarget const* target);

  // Test hook: empties the registry as at library load.
  static void resetForTesting();
};

}  // namespace ostra1516e

#endif  // OSTRA_BRIDGE_FEDERATEAMBASSADORREGISTRY_H
