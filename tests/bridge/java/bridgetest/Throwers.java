package bridgetest;

import java.lang.management.ManagementFactory;

/** Throws what the bridge tests need to translate, and reports how the machine was started. */
public final class Throwers {
  private Throwers() {}

  /** A subclass of a JDK exception, to check that instance tests see subclasses. */
  public static final class Refused extends IllegalStateException {
    public Refused(String message) {
      super(message);
    }
  }

  /** An exception that cannot describe itself. */
  public static final class Broken extends RuntimeException {
    @Override
    public String getMessage() {
      throw new UnsupportedOperationException("getMessage");
    }

    @Override
    public String toString() {
      throw new UnsupportedOperationException("toString");
    }
  }

  public static void illegalState(String message) {
    throw new IllegalStateException(message);
  }

  public static void refused(String message) {
    throw new Refused(message);
  }

  public static void error(String message) {
    throw new AssertionError(message);
  }

  public static void broken() {
    throw new Broken();
  }

  public static int nullPointer(String text) {
    return text.length();
  }

  public static void notConnected(String message) throws Exception {
    throw new hla.rti1516e.exceptions.NotConnected(message);
  }

  public static void invalidRegion(String message) throws Exception {
    throw new hla.rti1516e.exceptions.InvalidRegion(message);
  }

  /** The options the virtual machine was started with, one per line. */
  public static String inputArguments() {
    return String.join("\n", ManagementFactory.getRuntimeMXBean().getInputArguments());
  }

  public static boolean currentThreadIsDaemon() {
    return Thread.currentThread().isDaemon();
  }
}
