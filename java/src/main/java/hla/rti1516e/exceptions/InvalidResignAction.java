package hla.rti1516e.exceptions;

/** The RTI core's InvalidResignAction; it reaches a C++ federate as rti1516e::InvalidResignAction. */
public class InvalidResignAction extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidResignAction(String message) {
    super(message);
  }

  public InvalidResignAction(String message, Throwable cause) {
    super(message, cause);
  }
}
