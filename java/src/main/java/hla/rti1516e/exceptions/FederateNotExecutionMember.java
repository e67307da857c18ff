package hla.rti1516e.exceptions;

/** The RTI core's FederateNotExecutionMember; it reaches a C++ federate as rti1516e::FederateNotExecutionMember. */
public class FederateNotExecutionMember extends RTIexception {
  private static final long serialVersionUID = 1L;

  public FederateNotExecutionMember(String message) {
    super(message);
  }

  public FederateNotExecutionMember(String message, Throwable cause) {
    super(message, cause);
  }
}
