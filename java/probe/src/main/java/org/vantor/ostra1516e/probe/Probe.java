package org.vantor.ostra1516e.probe;

import java.util.ArrayDeque;
import java.util.ArrayList;
import java.util.Deque;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import org.vantor.ostra1516e.FederateAmbassadorC2007;
import org.vantor.ostra1516e.wire.CallbackMethod;
import org.vantor.ostra1516e.wire.Hex;
import org.vantor.ostra1516e.wire.ResultKind;
import org.vantor.ostra1516e.wire.ServiceMethod;
import org.vantor.ostra1516e.wire.WireCodec;
import org.vantor.ostra1516e.wire.WireFormatException;

/**
 * Probe is the control panel of the probe core, a stand-in RTI core for the C++ library's
 * bridge tests. Every method of every RTIambassadorC2007 records its name and bytes here
 * and plays back what the test scripted; callbacks that the test queues are delivered
 * through the native methods of FederateAmbassadorC2007, nested in the next
 * evokeCallback_D or evokeMultipleCallbacks_D_D, or at once from a thread of the probe's
 * own. All methods are static and take only strings, numbers and arrays, so a C++ test
 * calls them with plain JNI.
 *
 * <p>A typical C++ test: {@code reset()}; {@code scriptInt("joinFederationExecution_S_S_S_URLX",
 * 7)}; run the service through the bridge; then compare {@code callBytes(lastCall(...))}
 * with the expected array.
 *
 * <p>Scripts are kept per method name, first in first out, and shared by all instances.
 * A method without a script returns 0, 0L, 0.0 or false, "" for a String, an empty int[],
 * {0, 0} for a long[] and null for a byte[]. Instances are numbered from 0 in order of
 * construction; numbers are never reused, not even across {@link #reset()}.
 */
public final class Probe {
  /** CONSTRUCTOR is the method name under which a constructor exception is scripted. */
  public static final String CONSTRUCTOR = "<init>";

  private record Call(int instance, String method, byte[] bytes) {}

  private record Outcome(Object value, Throwable thrown) {}

  private record Queued(CallbackMethod method, byte[] array) {}

  private record Failure(String method, String className, String message) {}

  /** CallbackSink receives every delivered callback; the default calls the natives. */
  interface CallbackSink {
    void deliver(CallbackMethod method, byte[] array) throws Throwable;
  }

  private static final WireCodec CODEC = new WireCodec(WireCodec.STANDARD_TIME_LENGTH);
  private static final FederateAmbassadorC2007 NATIVE_CALLBACKS = new FederateAmbassadorC2007();

  private static int nextInstance;
  private static final List<Call> calls = new ArrayList<>();
  private static final List<Call> constructions = new ArrayList<>();
  private static final Map<String, Deque<Outcome>> scripts = new HashMap<>();
  private static final List<Queued> queued = new ArrayList<>();
  private static final List<Failure> failures = new ArrayList<>();
  private static int delivered;
  private static CallbackSink sink = NATIVE_CALLBACKS::deliver;

  private Probe() {}

  /** reset forgets every record, script, queued callback and failure. */
  public static synchronized void reset() {
    calls.clear();
    constructions.clear();
    scripts.clear();
    queued.clear();
    failures.clear();
    delivered = 0;
  }

  // ---- records -----------------------------------------------------------------------

  /** callCount is the number of service calls recorded since the last reset. */
  public static synchronized int callCount() {
    return calls.size();
  }

  /** callMethod is the Java method name of recorded call index. */
  public static synchronized String callMethod(int index) {
    return calls.get(index).method;
  }

  /** callBytes is a copy of the array of recorded call index; null for a "()" method. */
  public static synchronized byte[] callBytes(int index) {
    byte[] bytes = calls.get(index).bytes;
    return bytes == null ? null : bytes.clone();
  }

  /** callInstance is the number of the instance that received recorded call index. */
  public static synchronized int callInstance(int index) {
    return calls.get(index).instance;
  }

  /** lastCall is the index of the latest recorded call of method, or -1. */
  public static synchronized int lastCall(String method) {
    for (int i = calls.size() - 1; i >= 0; i--) {
      if (calls.get(i).method.equals(method)) {
        return i;
      }
    }
    return -1;
  }

  /** countCalls is the number of recorded calls of method. */
  public static synchronized int countCalls(String method) {
    return (int) calls.stream().filter(c -> c.method.equals(method)).count();
  }

  /** countCalls is the number of recorded calls of method on one instance. */
  public static synchronized int countCalls(int instance, String method) {
    return (int) calls.stream().filter(c -> c.instance == instance && c.method.equals(method)).count();
  }

  /** constructionCount is the number of instances constructed since the last reset. */
  public static synchronized int constructionCount() {
    return constructions.size();
  }

  /** constructionInstance is the instance number of construction index. */
  public static synchronized int constructionInstance(int index) {
    return constructions.get(index).instance;
  }

  /** constructionBytes is a copy of the array that construction index received. */
  public static synchronized byte[] constructionBytes(int index) {
    byte[] bytes = constructions.get(index).bytes;
    return bytes == null ? null : bytes.clone();
  }

  /**
   * callArguments is the recorded array of call index decoded by the wire codec (times
   * of the standard 8 bytes), as text such as {@code destroyFederationExecution_S[Fed]},
   * or the codec's message when the array does not match the method's type codes.
   */
  public static String callArguments(int index) {
    Call call = call(index);
    ServiceMethod method = ServiceMethod.valueOf(call.method);
    if (!method.takesArray()) {
      return method.name() + "[]";
    }
    try {
      return CODEC.decodeService(method, call.bytes).toString();
    } catch (WireFormatException e) {
      return e.getMessage();
    }
  }

  /**
   * callDecodeError is null when the recorded array of call index holds exactly what its
   * method's type codes call for (or the method takes no array), otherwise the wire
   * codec's message. A bridge test can check every array it sends with it.
   */
  public static String callDecodeError(int index) {
    Call call = call(index);
    ServiceMethod method = ServiceMethod.valueOf(call.method);
    if (!method.takesArray()) {
      return null;
    }
    try {
      CODEC.decodeService(method, call.bytes);
      return null;
    } catch (WireFormatException e) {
      return e.getMessage();
    }
  }

  private static synchronized Call call(int index) {
    return calls.get(index);
  }

  /** callsAsText lists the recorded calls, one a line, for test failure messages. */
  public static synchronized String callsAsText() {
    StringBuilder text = new StringBuilder();
    for (Call c : calls) {
      text.append(c.instance).append(' ').append(c.method).append(' ')
          .append(c.bytes == null ? "-" : Hex.format(c.bytes)).append('\n');
    }
    return text.toString();
  }

  // ---- scripts -----------------------------------------------------------------------

  public static void scriptInt(String method, int value) {
    script(method, ResultKind.INT, value);
  }

  public static void scriptLong(String method, long value) {
    script(method, ResultKind.LONG, value);
  }

  public static void scriptDouble(String method, double value) {
    script(method, ResultKind.DOUBLE, value);
  }

  public static void scriptBoolean(String method, boolean value) {
    script(method, ResultKind.BOOLEAN, value);
  }

  public static void scriptString(String method, String value) {
    script(method, ResultKind.STRING, value);
  }

  public static void scriptBytes(String method, byte[] value) {
    script(method, ResultKind.BYTES, value == null ? null : value.clone());
  }

  public static void scriptInts(String method, int[] value) {
    script(method, ResultKind.INTS, value == null ? null : value.clone());
  }

  public static void scriptLongs(String method, long[] value) {
    script(method, ResultKind.LONGS, value == null ? null : value.clone());
  }

  /** scriptNull makes the next call of a method with an object result return null. */
  public static void scriptNull(String method) {
    ResultKind kind = service(method).result();
    if (kind != ResultKind.STRING && kind != ResultKind.BYTES && kind != ResultKind.INTS
        && kind != ResultKind.LONGS) {
      throw new IllegalArgumentException(method + " returns " + kind + ", which cannot be null");
    }
    push(method, new Outcome(null, null));
  }

  /**
   * scriptException makes the next call of method (or, for {@link #CONSTRUCTOR}, the next
   * construction) throw a new instance of className, made with its (String) constructor
   * from message, which may be null. The class name may use '.' or '/'.
   */
  public static void scriptException(String method, String className, String message) {
    if (!method.equals(CONSTRUCTOR)) {
      service(method);
    }
    Throwable thrown;
    try {
      Class<?> cls = Class.forName(className.replace('/', '.'), true, Probe.class.getClassLoader());
      thrown = (Throwable) cls.asSubclass(Throwable.class).getConstructor(String.class).newInstance(message);
    } catch (ReflectiveOperationException | ClassCastException e) {
      throw new IllegalArgumentException("cannot make a " + className + " from a message: " + e, e);
    }
    push(method, new Outcome(null, thrown));
  }

  private static void script(String method, ResultKind kind, Object value) {
    ResultKind actual = service(method).result();
    if (actual != kind) {
      throw new IllegalArgumentException(method + " returns " + actual + ", not " + kind);
    }
    push(method, new Outcome(value, null));
  }

  private static ServiceMethod service(String method) {
    try {
      return ServiceMethod.valueOf(method);
    } catch (IllegalArgumentException e) {
      throw new IllegalArgumentException("no service method " + method);
    }
  }

  private static synchronized void push(String method, Outcome outcome) {
    scripts.computeIfAbsent(method, m -> new ArrayDeque<>()).add(outcome);
  }

  private static synchronized Outcome pop(String method) {
    Deque<Outcome> queue = scripts.get(method);
    return queue == null ? null : queue.poll();
  }

  // ---- callbacks ---------------------------------------------------------------------

  /**
   * queueCallback adds one callback array for the native method named nativeMethod. The
   * bytes are passed on exactly as given, so a test can send malformed arrays too.
   */
  public static void queueCallback(String nativeMethod, byte[] array) {
    CallbackMethod method;
    try {
      method = CallbackMethod.valueOf(nativeMethod);
    } catch (IllegalArgumentException e) {
      throw new IllegalArgumentException("no callback method " + nativeMethod);
    }
    synchronized (Probe.class) {
      queued.add(new Queued(method, array == null ? null : array.clone()));
    }
  }

  public static synchronized int queuedCallbackCount() {
    return queued.size();
  }

  /**
   * deliverOnProbeThread delivers every queued callback, in order, from a new thread of
   * the probe's own (as a core does in the immediate callback model), waits until it has
   * finished and returns the number delivered.
   */
  public static int deliverOnProbeThread() {
    List<Queued> batch = takeQueued();
    Thread thread = new Thread(() -> deliverAll(batch), "probe-callbacks");
    thread.start();
    boolean interrupted = false;
    while (true) {
      try {
        thread.join();
        break;
      } catch (InterruptedException e) {
        interrupted = true;
      }
    }
    if (interrupted) {
      Thread.currentThread().interrupt();
    }
    return batch.size();
  }

  /** deliveredCount is the number of callbacks delivered since the last reset. */
  public static synchronized int deliveredCount() {
    return delivered;
  }

  /** callbackFailureCount is the number of delivered callbacks that threw. */
  public static synchronized int callbackFailureCount() {
    return failures.size();
  }

  /** callbackFailureMethod is the native method whose delivery index failed. */
  public static synchronized String callbackFailureMethod(int index) {
    return failures.get(index).method;
  }

  /** callbackFailureClass is the class name of what failure index threw, with dots. */
  public static synchronized String callbackFailureClass(int index) {
    return failures.get(index).className;
  }

  /** callbackFailureMessage is the getMessage() of failure index, possibly null. */
  public static synchronized String callbackFailureMessage(int index) {
    return failures.get(index).message;
  }

  private static synchronized List<Queued> takeQueued() {
    List<Queued> batch = new ArrayList<>(queued);
    queued.clear();
    return batch;
  }

  // Runs without the lock: a callback may call services, also from another thread.
  private static void deliverAll(List<Queued> batch) {
    CallbackSink target;
    synchronized (Probe.class) {
      target = sink;
    }
    for (Queued q : batch) {
      Failure failure = null;
      try {
        target.deliver(q.method, q.array);
      } catch (Throwable t) {
        failure = new Failure(q.method.name(), t.getClass().getName(), t.getMessage());
      }
      synchronized (Probe.class) {
        delivered++;
        if (failure != null) {
          failures.add(failure);
        }
      }
    }
  }

  static synchronized void setSink(CallbackSink newSink) {
    sink = newSink == null ? NATIVE_CALLBACKS::deliver : newSink;
  }

  // ---- the probe core's side ---------------------------------------------------------

  /**
   * construct records a construction and returns the new instance's number, or throws
   * the exception scripted for {@link #CONSTRUCTOR}. Called by RTIambassadorC2007 only.
   */
  public static int construct(byte[] settings) {
    Outcome outcome = pop(CONSTRUCTOR);
    synchronized (Probe.class) {
      int instance = nextInstance++;
      constructions.add(new Call(instance, CONSTRUCTOR, settings == null ? null : settings.clone()));
      if (outcome != null && outcome.thrown != null) {
        throw Probe.<RuntimeException>sneak(outcome.thrown);
      }
      return instance;
    }
  }

  /**
   * play records a service call of instance and returns its scripted result, or throws
   * its scripted exception. Inside the two evoke services it first delivers the queued
   * callbacks on the calling thread. Called by RTIambassadorC2007 only.
   */
  public static Object play(int instance, ServiceMethod method, byte[] array) {
    synchronized (Probe.class) {
      calls.add(new Call(instance, method.name(), array == null ? null : array.clone()));
    }
    Outcome outcome = pop(method.name());
    if (outcome != null && outcome.thrown != null) {
      throw Probe.<RuntimeException>sneak(outcome.thrown);
    }
    if (method == ServiceMethod.evokeCallback_D || method == ServiceMethod.evokeMultipleCallbacks_D_D) {
      deliverAll(takeQueued());
    }
    return outcome != null ? outcome.value : defaultResult(method.result());
  }

  private static Object defaultResult(ResultKind kind) {
    switch (kind) {
      case INT: return 0;
      case LONG: return 0L;
      case DOUBLE: return 0.0;
      case BOOLEAN: return false;
      case STRING: return "";
      case INTS: return new int[0];
      case LONGS: return new long[2];
      default: return null;
    }
  }

  // Throws a checked exception from a method that does not declare it, as the scripted
  // Java core exceptions must reach the library unchanged.
  // The stack trace is refilled so that it shows the call that threw, not the script.
  @SuppressWarnings("unchecked")
  private static <T extends Throwable> T sneak(Throwable t) throws T {
    t.fillInStackTrace();
    throw (T) t;
  }
}
