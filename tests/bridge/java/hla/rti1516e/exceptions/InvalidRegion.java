package hla.rti1516e.exceptions;

/** Stand-in for the core's class of this name, for the bridge tests only. */
public final class InvalidRegion extends Exception {
  public InvalidRegion(String message) {
    super(message);
  }
}
