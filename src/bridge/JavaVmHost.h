// JavaVmHost.h: the one Java virtual machine of the process, and each thread's way in.
//
// The first ambassador of the process calls startOrAttach, which attaches to a virtual
// machine that already runs (a Java program that loaded this library) or creates one
// with the configured options. Every later entry into Java asks for its own thread's
// environment:
//
//   JNIEnv* env = JavaVmHost::startOrAttach();   // bridge construction
//   JNIEnv* env = JavaVmHost::currentEnv();      // every service call
//
// Options of a new virtual machine, in this order: the class path (the entries of
// CLASSPATH, then the installed ostra1516e.jar when it exists beside this library and is
// not one of them already), "-DOstra.libraryName=rti1516", three switches (OSTRA_ENABLEBUNDLING,
// OSTRA_SINGLETHREAD, OSTRA_VERBOSEJNI; an empty string when unset), "-Xrs" unless
// OSTRA_JVMSIGNALS is set (then an empty string), the values of
// OSTRA1516_OPTION1..OSTRA1516_OPTION19, the lines of "ostra.vmoptions" in the working
// directory (blank lines and lines starting with '#' skipped), and "-Xss1024k" unless
// some option already starts with "-Xss". The table holds at most 50 options and always
// keeps room for that default.
//
// Signals stay the federate's, as in any C++ program, unless OSTRA_JVMSIGNALS is set:
// "-Xrs" leaves SIGINT, SIGTERM, SIGHUP and SIGQUIT to it, and a fault in its own code
// (SIGSEGV, SIGBUS, SIGFPE, SIGILL), which the machine passes on to the handler that was
// there before it, ends the process with that signal instead of the machine's fatal error
// report. A handler the federate installed for a fault signal before is left in place.
//
// The library is not linked against libjvm.so. The invocation functions are taken from
// the process when a virtual machine library is already loaded, else from
// $JAVA_HOME/lib/server/libjvm.so, else from the JDK the library was built with.
#ifndef OSTRA1516E_BRIDGE_JAVAVMHOST_H
#define OSTRA1516E_BRIDGE_JAVAVMHOST_H

#include <jni.h>

#include <cstddef>
#include <string>
#include <vector>

namespace ostra1516e {

// JniInvocation holds the invocation functions of a virtual machine library. Tests put
// fakes here (with a fake JavaVM whose AttachCurrentThread they control).
struct JniInvocation {
  jint(JNICALL* getCreatedJavaVMs)(JavaVM** vms, jsize capacity, jsize* count);
  jint(JNICALL* createJavaVM)(JavaVM** vm, void** env, void* args);
};

class JavaVmHost {
 public:
  // The most options a new virtual machine receives.
  static constexpr std::size_t kMaxOptions = 50;

  // startOrAttach makes sure the virtual machine exists and returns the calling thread's
  // environment. The first successful call finds or creates the machine; concurrent first
  // calls wait for one another, and a failed one leaves the next to try again. Throws
  // rti1516e::RTIinternalError (message also on standard error) on failure. The caller's
  // floating-point setting is the same afterwards on every path.
  static JNIEnv* startOrAttach();

  // currentEnv returns the calling thread's environment, attaching the thread as an
  // ordinary Java thread if it is not attached yet. Threads are never detached, so the
  // thread's first call asks the machine and later ones reuse its answer.
  // Throws rti1516e::RTIinternalError before the first successful startOrAttach or when
  // the thread cannot be attached.
  static JNIEnv* currentEnv();

  // useInvocationForTesting replaces the invocation functions (nullptr: back to the
  // virtual machine library's) and forgets any start-up, so that the next startOrAttach
  // starts again. For tests only; not safe while other threads use the host.
  static void useInvocationForTesting(JniInvocation const* invocation);

  // useLibraryDirectoryForTesting makes the installed jar be looked for from directory
  // (ending in '/') instead of from this library's own (empty: back to that). For tests
  // only, like useInvocationForTesting.
  static void useLibraryDirectoryForTesting(std::string const& directory);
};

// Where the installed ostra1516e.jar lies, relative to the library's directory
// ("../share/java/ostra1516e.jar" for an install into lib/).
extern char const kJarFromLibraryDirectory[];

// jniErrorText names a JNI result code ("Invalid JVM arguments (-6)").
std::wstring jniErrorText(int code);

// libjvmCandidates lists the virtual machine libraries to try after the process itself:
// $JAVA_HOME's when javaHome is set and not empty, then the build's JDK's.
std::vector<std::string> libjvmCandidates(char const* javaHome);

// loadInvocation returns the invocation functions of a virtual machine library already
// loaded in the process, else of the first of libraryPaths that loads. Throws
// rti1516e::RTIinternalError naming everything it tried (message also on standard error).
JniInvocation loadInvocation(std::vector<std::string> const& libraryPaths);

}  // namespace ostra1516e

#endif  // OSTRA1516E_BRIDGE_JAVAVMHOST_H
