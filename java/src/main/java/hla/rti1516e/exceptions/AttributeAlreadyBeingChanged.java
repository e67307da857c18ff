package hla.rti1516e.exceptions;

/** The RTI core's AttributeAlreadyBeingChanged; it reaches a C++ federate as rti1516e::AttributeAlreadyBeingChanged. */
public class AttributeAlreadyBeingChanged extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AttributeAlreadyBeingChanged(String message) {
    super(message);
  }

  public AttributeAlreadyBeingChanged(String message, Throwable cause) {
    super(message, cause);
  }
}
