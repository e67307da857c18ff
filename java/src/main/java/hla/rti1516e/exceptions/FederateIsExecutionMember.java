package hla.rti1516e.exceptions;

/** The RTI core's FederateIsExecutionMember; it reaches a C++ federate as rti1516e::FederateIsExecutionMember. */
public class FederateIsExecutionMember extends RTIexception {
  private static final long serialVersionUID = 1L;

  public FederateIsExecutionMember(String message) {
    super(message);
  }

  public FederateIsExecutionMember(String message, Throwable cause) {
    super(message, cause);
  }
}
