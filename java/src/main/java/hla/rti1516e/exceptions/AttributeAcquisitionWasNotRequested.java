package hla.rti1516e.exceptions;

/** The RTI core's AttributeAcquisitionWasNotRequested; it reaches a C++ federate as rti1516e::AttributeAcquisitionWasNotRequested. */
public class AttributeAcquisitionWasNotRequested extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AttributeAcquisitionWasNotRequested(String message) {
    super(message);
  }

  public AttributeAcquisitionWasNotRequested(String message, Throwable cause) {
    super(message, cause);
  }
}
