package hla.rti1516e.exceptions;

/** The RTI core's InvalidRegion; it reaches a C++ federate as rti1516e::InvalidRegion. */
public class InvalidRegion extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidRegion(String message) {
    super(message);
  }

  public InvalidRegion(String message, Throwable cause) {
    super(message, cause);
  }
}
