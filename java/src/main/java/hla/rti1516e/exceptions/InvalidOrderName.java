package hla.rti1516e.exceptions;

/** The RTI core's InvalidOrderName; it reaches a C++ federate as rti1516e::InvalidOrderName. */
public class InvalidOrderName extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidOrderName(String message) {
    super(message);
  }

  public InvalidOrderName(String message, Throwable cause) {
    super(message, cause);
  }
}
