#include "bridge/FederateAmbassadorRegistry.h"

#include <cstdio>

namespace ostra1516e {

namespace {

// A dead slot points here: used, never handed out again, never looked up successfully.
CallbackTarget retiredTarget;

std::atomic<CallbackTarget*> slots[FederateAmbassadorRegistry::kSlots];
// Number of registrations so far; registration n (from 1) takes slot n mod 4096.
std::atomic<int64_t> registrations{0};

}  // namespace

int32_t FederateAmbassadorRegistry::add(CallbackTarget* target) {
  int64_t const n = registrations.fetch_add(1) + 1;
  if (n > kSlots) {
    registrations.store(kSlots + 1);  // keep the counter from ever wrapping
    std::fprintf(stderr, "No more FederateAmbassador handles\n");
    return kFull;
  }
  int32_t const handle = static_cast<int32_t>(n % kSlots);
  slots[handle].store(target, std::memory_order_release);
  return handle;
}

CallbackTarget* FederateAmbassadorRegistry::lookup(int32_t handle) {
  if (handle < 0 || handle >= kSlots) return nullptr;
  CallbackTarget* target = slots[handle].load(std::memory_order_acquire);
  return target == &retiredTarget ? nullptr : target;
}

void FederateAmbassadorRegistry::retire(CallbackTarget const* target) {
  for (auto& slot : slots) {
    CallbackTarget* expected = const_cast<CallbackTarget*>(target);
    slot.compare_exchange_strong(expected, &retiredTarget, std::memory_order_acq_rel);
  }
}

void FederateAmbassadorRegistry::resetForTesting() {
  for (auto& slot : slots) slot.store(nullptr);
  registrations.store(0);
}

}  // namespace ostra1516e
