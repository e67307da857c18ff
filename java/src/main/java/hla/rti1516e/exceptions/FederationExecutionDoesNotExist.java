package hla.rti1516e.exceptions;

/** The RTI core's FederationExecutionDoesNotExist; it reaches a C++ federate as rti1516e::FederationExecutionDoesNotExist. */
public class FederationExecutionDoesNotExist extends RTIexception {
  private static final long serialVersionUID = 1L;

  public FederationExecutionDoesNotExist(String message) {
    super(message);
  }

  public FederationExecutionDoesNotExist(String message, Throwable cause) {
    super(message, cause);
  }
}
