package hla.rti1516e.exceptions;

/** The RTI core's FederateHandleNotKnown; it reaches a C++ federate as rti1516e::FederateHandleNotKnown. */
public class FederateHandleNotKnown extends RTIexception {
  private static final long serialVersionUID = 1L;

  public FederateHandleNotKnown(String message) {
    super(message);
  }

  public FederateHandleNotKnown(String message, Throwable cause) {
    super(message, cause);
  }
}
