package hla.rti1516e.exceptions;

/** The RTI core's FederateInternalError; it reaches a C++ federate as rti1516e::FederateInternalError. */
public class FederateInternalError extends RTIexception {
  private static final long serialVersionUID = 1L;

  public FederateInternalError(String message) {
    super(message);
  }

  public FederateInternalError(String message, Throwable cause) {
    super(message, cause);
  }
}
