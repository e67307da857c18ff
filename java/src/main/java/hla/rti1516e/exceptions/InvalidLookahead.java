package hla.rti1516e.exceptions;

/** The RTI core's InvalidLookahead; it reaches a C++ federate as rti1516e::InvalidLookahead. */
public class InvalidLookahead extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidLookahead(String message) {
    super(message);
  }

  public InvalidLookahead(String message, Throwable cause) {
    super(message, cause);
  }
}
