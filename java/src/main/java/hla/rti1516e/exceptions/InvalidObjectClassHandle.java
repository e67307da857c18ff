package hla.rti1516e.exceptions;

/** The RTI core's InvalidObjectClassHandle; it reaches a C++ federate as rti1516e::InvalidObjectClassHandle. */
public class InvalidObjectClassHandle extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidObjectClassHandle(String message) {
    super(message);
  }

  public InvalidObjectClassHandle(String message, Throwable cause) {
    super(message, cause);
  }
}
