package hla.rti1516e.exceptions;

/** The RTI core's RequestForTimeConstrainedPending; it reaches a C++ federate as rti1516e::RequestForTimeConstrainedPending. */
public class RequestForTimeConstrainedPending extends RTIexception {
  private static final long serialVersionUID = 1L;

  public RequestForTimeConstrainedPending(String message) {
    super(message);
  }

  public RequestForTimeConstrainedPending(String message, Throwable cause) {
    super(message, cause);
  }
}
