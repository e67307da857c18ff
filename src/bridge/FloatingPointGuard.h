// FloatingPointGuard.h: the SSE control/status register (MXCSR) around entries into Java.
//
// The virtual machine expects the usual floating-point environment; a federate may run
// with flush-to-zero on or with exceptions unmasked. Every entry into Java is a scope:
//
//   FloatingPointGuard guard(FloatingPointGuard::call);
//   JNIEnv* env = JavaVmHost::currentEnv();
//   ...                                   // the caller's register is back at scope end
#ifndef OSTRA1516E_BRIDGE_FLOATINGPOINTGUARD_H
#define OSTRA1516E_BRIDGE_FLOATINGPOINTGUARD_H

#include <xmmintrin.h>

namespace ostra1516e {

// FloatingPointGuard saves MXCSR, loads the bridge's setting, and loads the saved value
// again when the scope ends, normally or by an exception.
class FloatingPointGuard {
 public:
  enum Variant {
    // Start-up of the virtual machine: all six exceptions masked, round to nearest,
    // flush-to-zero and denormals-are-zero off.
    startUp,
    // A call into a running virtual machine: the caller's setting with only
    // flush-to-zero and denormals-are-zero cleared.
    call,
  };

  static constexpr unsigned kDenormalsAreZero = 0x0040;
  static constexpr unsigned kFlushToZero = 0x8000;
  static constexpr unsigned kAllExceptionsMasked = 0x1F80;
  static constexpr unsigned kStartUpSetting = kAllExceptionsMasked;

  explicit FloatingPointGuard(Variant variant) noexcept : saved_(_mm_getcsr()) {
    unsigned setting =
        variant == startUp ? kStartUpSetting : saved_ & ~(kFlushToZero | kDenormalsAreZero);
    if (setting != saved_) _mm_setcsr(setting);
  }

  // Loaded without looking first: reading the register (STMXCSR) costs more than loading
  // it on the machines measured (bridge_bench), and this runs on every service call.
  ~FloatingPointGuard() { _mm_setcsr(saved_); }

  FloatingPointGuard(FloatingPointGuard const&) = delete;
  FloatingPointGuard& operator=(FloatingPointGuard const&) = delete;

  // saved is the caller's register value, loaded again at the end of the scope.
  unsigned saved() const { return saved_; }

 private:
  unsigned saved_;
};

}  // namespace ostra1516e

#endif  // OSTRA1516E_BRIDGE_FLOATINGPOINTGUARD_H
