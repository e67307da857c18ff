package hla.rti1516e.exceptions;

/** The RTI core's InvalidTransportationName; it reaches a C++ federate as rti1516e::InvalidTransportationName. */
public class InvalidTransportationName extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidTransportationName(String message) {
    super(message);
  }

  public InvalidTransportationName(String message, Throwable cause) {
    super(message, cause);
  }
}
