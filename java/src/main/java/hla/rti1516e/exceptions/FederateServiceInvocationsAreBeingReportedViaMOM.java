package hla.rti1516e.exceptions;

/** The RTI core's FederateServiceInvocationsAreBeingReportedViaMOM; it reaches a C++ federate as rti1516e::FederateServiceInvocationsAreBeingReportedViaMOM. */
public class FederateServiceInvocationsAreBeingReportedViaMOM extends RTIexception {
  private static final long serialVersionUID = 1L;

  public FederateServiceInvocationsAreBeingReportedViaMOM(String message) {
    super(message);
  }

  public FederateServiceInvocationsAreBeingReportedViaMOM(String message, Throwable cause) {
    super(message, cause);
  }
}
