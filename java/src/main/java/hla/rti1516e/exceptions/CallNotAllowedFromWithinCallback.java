package hla.rti1516e.exceptions;

/** The RTI core's CallNotAllowedFromWithinCallback; it reaches a C++ federate as rti1516e::CallNotAllowedFromWithinCallback. */
public class CallNotAllowedFromWithinCallback extends RTIexception {
  private static final long serialVersionUID = 1L;

  public CallNotAllowedFromWithinCallback(String message) {
    super(message);
  }

  public CallNotAllowedFromWithinCallback(String message, Throwable cause) {
    super(message, cause);
  }
}
