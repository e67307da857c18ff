package hla.rti1516e.exceptions;

/** The RTI core's AttributeAlreadyBeingDivested; it reaches a C++ federate as rti1516e::AttributeAlreadyBeingDivested. */
public class AttributeAlreadyBeingDivested extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AttributeAlreadyBeingDivested(String message) {
    super(message);
  }

  public AttributeAlreadyBeingDivested(String message, Throwable cause) {
    super(message, cause);
  }
}
