package hla.rti1516e.exceptions;

/** The RTI core's InvalidRegionContext; it reaches a C++ federate as rti1516e::InvalidRegionContext. */
public class InvalidRegionContext extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidRegionContext(String message) {
    super(message);
  }

  public InvalidRegionContext(String message, Throwable cause) {
    super(message, cause);
  }
}
