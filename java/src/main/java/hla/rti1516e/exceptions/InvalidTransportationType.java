package hla.rti1516e.exceptions;

/** The RTI core's InvalidTransportationType; it reaches a C++ federate as rti1516e::InvalidTransportationType. */
public class InvalidTransportationType extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidTransportationType(String message) {
    super(message);
  }

  public InvalidTransportationType(String message, Throwable cause) {
    super(message, cause);
  }
}
