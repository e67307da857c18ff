// CallbackDispatch: one callback array to one FederateAmbassador call, without JNI.
//
// deliverCallback<Codes...> does the whole dispatch that every native method shares:
//
//   1. check PRE_MAGIC, read the handle, look its target up;
//   2. decode one value per code, in order, into values the dispatch owns;
//   3. check POST_MAGIC and that the array ends there;
//   4. release the pinned array (before any federate code runs);
//   5. load the target's floating-point control word, call the ambassador, load the
//      previous word again;
//   6. turn an exception from the federate's code into the message of the core's
//      FederateInternalError.
//
// A malformed or undeliverable array is reported the same way (step 6), never read past
// its end. The result is the message to raise in the core, or nothing when the callback
// succeeded. The JNI shell (FederateAmbassadorC.cpp) pins the array, calls this, and
// raises the Java exception.
#ifndef OSTRA_GEN_CALLBACKDISPATCH_H
#define OSTRA_GEN_CALLBACKDISPATCH_H

#include "gen/cpp_handwritten/Decoder.h"

#include <RTI/FederateAmbassador.h>

#include <xmmintrin.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <utility>

namespace ostra1516e {

// ArrayPin: the bytes of a callback array while they are pinned. release ends the pin;
// the dispatch calls it exactly once, after decoding and before the federate's code.
class ArrayPin {
 public:
  ArrayPin(unsigned char* data, size_t size) : data_(data), size_(size) {}
  virtual ~ArrayPin() = default;
  unsigned char* data() const { return data_; }
  size_t size() const { return size_; }
  virtual void release() noexcept {}

 private:
  unsigned char* data_;
  size_t size_;
};

// The message for the core when a callback fails; nothing when it succeeded.
using CallbackFailure = std::optional<std::u16string>;

// The process-wide catch-all flag (see FederateAmbassadorC.h).
extern std::atomic<bool> catchAllUnknownExceptions;

// The texts that reach the core, as UTF-16 units for a Java string:
// messageFromWide keeps the low 8 bits of every character (an rti1516e::Exception's
// what()); messageFromBytes reads the bytes as UTF-8 when they are valid UTF-8, else one
// character per byte (a std::exception's what(), a thrown std::string).
std::u16string messageFromWide(std::wstring const& text);
std::u16string messageFromBytes(std::string const& bytes);

// currentExceptionMessage is the message for the exception being handled; call it only
// inside a catch block. Unknown types give "Unknown C++ exception".
std::u16string currentExceptionMessage();

// openCallbackArray checks PRE_MAGIC and returns the target of the handle that follows;
// closeCallbackArray checks POST_MAGIC and that nothing follows it. Both throw
// WireFormatError or UndeliverableCallback.
CallbackTarget& openCallbackArray(rti1516e::ByteWrapper& cursor);
void closeCallbackArray(rti1516e::ByteWrapper& cursor);

// undeliverableMessage: "<native method>: <what went wrong>" for the exception being
// handled while a callback array was read.
std::u16string undeliverableMessage(char const* nativeName);

namespace detail {

// The federate's floating-point control word for the length of a scope, written only
// when it differs from the current one.
class FederateFpControl {
 public:
  explicit FederateFpControl(uint32_t federate) noexcept
      : saved_(_mm_getcsr()), changed_(saved_ != federate) {
    if (changed_) _mm_setcsr(federate);
  }
  ~FederateFpControl() {
    if (changed_) _mm_setcsr(saved_);
  }
  FederateFpControl(FederateFpControl const&) = delete;
  FederateFpControl& operator=(FederateFpControl const&) = delete;

 private:
  uint32_t saved_;
  bool changed_;
};

// The conversions of exceptions that are always made. The register is restored (scope
// end) before any handler runs.
template <typename Call>
CallbackFailure callConvertingKnown(uint32_t fpControl, Call& call) {
  try {
    FederateFpControl federateSetting(fpControl);
    call();
    return std::nullopt;
  } catch (rti1516e::Exception const& e) {
    return messageFromWide(e.what());
  } catch (std::exception const& e) {
    return messageFromBytes(e.what());
  } catch (std::string const& s) {
    return messageFromBytes(s);
  }
}

// With the catch-all flag off an exception of any other type finds no handler here: the
// native method is noexcept, so the process ends at the throw.
template <typename Call>
CallbackFailure callProtected(uint32_t fpControl, Call&& call) {
  if (catchAllUnknownExceptions.load(std::memory_order_relaxed)) {
    try {
      return callConvertingKnown(fpControl, call);
    } catch (...) {
      return u"Unknown C++ exception";
    }
  }
  return callConvertingKnown(fpControl, call);
}

// One decoded argument, constructed in place from its decoder's result.
template <size_t I, typename Code>
struct DecodedSlot {
  typename Decoder<Code>::Owned value;
  DecodedSlot(CallbackTarget const& target, rti1516e::ByteWrapper& cursor)
      : value(Decoder<Code>::decode(target, cursor)) {}
};

// All arguments of a callback. Bases are initialised in the order they are listed, so
// the values are read in array order.
template <typename Indexes, typename... Codes>
struct DecodedArguments;

template <size_t... I, typename... Codes>
struct DecodedArguments<std::index_sequence<I...>, Codes...> : DecodedSlot<I, Codes>... {
  DecodedArguments([[maybe_unused]] CallbackTarget const& target,
                   [[maybe_unused]] rti1516e::ByteWrapper& cursor)
      : DecodedSlot<I, Codes>(target, cursor)... {}

  template <typename Call>
  void passTo(rti1516e::FederateAmbassador& ambassador, Call& call) {
    call(ambassador,
         Decoder<Codes>::argument(static_cast<DecodedSlot<I, Codes>&>(*this).value)...);
  }
};

}  // namespace detail

// deliverCallback: see the top of this file. call(ambassador, arguments...) makes the
// FederateAmbassador call.
template <typename... Codes, typename Call>
CallbackFailure deliverCallback(char const* nativeName, ArrayPin& pin, Call call) {
  using Arguments = detail::DecodedArguments<std::index_sequence_for<Codes...>, Codes...>;
  // Built in place and destroyed at the end. Plain storage: g++ clears the whole of an
  // empty std::optional of it, which showed in the callback benchmark.
  alignas(Arguments) unsigned char storage[sizeof(Arguments)];
  Arguments* arguments = nullptr;
  CallbackTarget* target = nullptr;
  rti1516e::FederateAmbassador* ambassador = nullptr;
  try {
    rti1516e::ByteWrapper cursor(pin.data(), pin.size());
    target = &openCallbackArray(cursor);
    arguments = new (storage) Arguments(*target, cursor);
    closeCallbackArray(cursor);
    ambassador = target->federateAmbassador.load(std::memory_order_acquire);
    if (ambassador == nullptr) throw UndeliverableCallback("the target has no federate ambassador");
  } catch (...) {
    if (arguments != nullptr) arguments->~Arguments();
    pin.release();
    return undeliverableMessage(nativeName);
  }
  pin.release();
  struct Destroy {
    Arguments* arguments;
    ~Destroy() { arguments->~Arguments(); }
  } destroy{arguments};
  return detail::callProtected(target->federateFpControl.load(std::memory_order_relaxed),
                               [&] { arguments->passTo(*ambassador, call); });
}

// CallbackRow: one row of CallbackTable.def, for code that needs no JNI.
struct CallbackRow {
  char const* nativeName;
  char const* method;
  // "_S_SPFR": the code names as the native method's name spells them.
  std::string (*codeNames)();
  // deliverCallback for this row.
  CallbackFailure (*deliver)(ArrayPin& pin);
};

// The 60 rows, in table order.
extern CallbackRow const kCallbackRows[];
extern size_t const kCallbackCount;

}  // namespace ostra1516e

#endif  // OSTRA_GEN_CALLBACKDISPATCH_H
