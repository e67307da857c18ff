package hla.rti1516e.exceptions;

/** The RTI core's RequestForTimeRegulationPending; it reaches a C++ federate as rti1516e::RequestForTimeRegulationPending. */
public class RequestForTimeRegulationPending extends RTIexception {
  private static final long serialVersionUID = 1L;

  public RequestForTimeRegulationPending(String message) {
    super(message);
  }

  public RequestForTimeRegulationPending(String message, Throwable cause) {
    super(message, cause);
  }
}
