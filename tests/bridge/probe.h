// probe.h: the C++ side of the probe core's control panel (org.vantor.ostra1516e.probe.Probe),
// for bridge tests that run the library against the probe core in a real virtual machine.
//
//   Probe::reset();
//   Probe::scriptInt("getObjectClassHandle_S", -1);
//   ... call the service through the bridge ...
//   std::vector<uint8_t> sent = Probe::callBytes(Probe::lastCall("getObjectClassHandle_S"));
#ifndef OSTRA_TESTS_BRIDGE_PROBE_H
#define OSTRA_TESTS_BRIDGE_PROBE_H

#include <jni.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ostra1516e {
namespace Probe {

void reset();
int callCount();
std::string callMethod(int index);
// The array of a recorded call; `isNull` (when given) tells a "()" call apart.
std::vector<uint8_t> callBytes(int index, bool* isNull = nullptr);
int callInstance(int index);
int lastCall(std::string const& method);
int countCalls(std::string const& method);
// Null when the recorded array matches its method's codes, else the Java codec's message.
std::string callDecodeError(int index);
int constructionCount();
int constructionInstance(int index);
std::vector<uint8_t> constructionBytes(int index);

void scriptInt(std::string const& method, int32_t value);
void scriptLong(std::string const& method, int64_t value);
void scriptDouble(std::string const& method, double value);
void scriptBoolean(std::string const& method, bool value);
void scriptString(std::string const& method, std::u16string const& value);
void scriptBytes(std::string const& method, std::vector<uint8_t> const& value);
void scriptInts(std::string const& method, std::vector<int32_t> const& value);
void scriptLongs(std::string const& method, std::vector<int64_t> const& value);
void scriptNull(std::string const& method);
// A null message is passed as Java null.
void scriptException(std::string const& method, std::string const& className, char const* message);

// Callbacks: queued arrays (null `bytes`: a Java null) go out nested in the next evoke
// service, or at once from a thread of the probe's own; what a native method threw is
// kept per delivery.
void queueCallback(std::string const& nativeMethod, std::vector<uint8_t> const* bytes);
int deliverOnProbeThread();
int callbackFailureCount();
// The class name, with dots, of what delivery failure `index` threw.
std::string callbackFailureClass(int index);
// Its getMessage(); nothing when that was null.
std::optional<std::u16string> callbackFailureMessage(int index);

}  // namespace Probe
}  // namespace ostra1516e

#endif  // OSTRA_TESTS_BRIDGE_PROBE_H
