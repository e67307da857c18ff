package hla.rti1516e.exceptions;

/** The RTI core's InvalidOrderType; it reaches a C++ federate as rti1516e::InvalidOrderType. */
public class InvalidOrderType extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidOrderType(String message) {
    super(message);
  }

  public InvalidOrderType(String message, Throwable cause) {
    super(message, cause);
  }
}
