package hla.rti1516e.exceptions;

/** The RTI core's RTIinternalError; it reaches a C++ federate as rti1516e::RTIinternalError. */
public class RTIinternalError extends RTIexception {
  private static final long serialVersionUID = 1L;

  public RTIinternalError(String message) {
    super(message);
  }

  public RTIinternalError(String message, Throwable cause) {
    super(message, cause);
  }
}
