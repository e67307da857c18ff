package hla.rti1516e.exceptions;

/** The RTI core's FederateUnableToUseTime; it reaches a C++ federate as rti1516e::FederateUnableToUseTime. */
public class FederateUnableToUseTime extends RTIexception {
  private static final long serialVersionUID = 1L;

  public FederateUnableToUseTime(String message) {
    super(message);
  }

  public FederateUnableToUseTime(String message, Throwable cause) {
    super(message, cause);
  }
}
