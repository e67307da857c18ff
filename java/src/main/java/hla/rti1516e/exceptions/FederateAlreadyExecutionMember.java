package hla.rti1516e.exceptions;

/** The RTI core's FederateAlreadyExecutionMember; it reaches a C++ federate as rti1516e::FederateAlreadyExecutionMember. */
public class FederateAlreadyExecutionMember extends RTIexception {
  private static final long serialVersionUID = 1L;

  public FederateAlreadyExecutionMember(String message) {
    super(message);
  }

  public FederateAlreadyExecutionMember(String message, Throwable cause) {
    super(message, cause);
  }
}
