package hla.rti1516e.exceptions;

/** The RTI core's InvalidDimensionHandle; it reaches a C++ federate as rti1516e::InvalidDimensionHandle. */
public class InvalidDimensionHandle extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidDimensionHandle(String message) {
    super(message);
  }

  public InvalidDimensionHandle(String message, Throwable cause) {
    super(message, cause);
  }
}
