package hla.rti1516e.exceptions;

/** The RTI core's FederationExecutionAlreadyExists; it reaches a C++ federate as rti1516e::FederationExecutionAlreadyExists. */
public class FederationExecutionAlreadyExists extends RTIexception {
  private static final long serialVersionUID = 1L;

  public FederationExecutionAlreadyExists(String message) {
    super(message);
  }

  public FederationExecutionAlreadyExists(String message, Throwable cause) {
    super(message, cause);
  }
}
