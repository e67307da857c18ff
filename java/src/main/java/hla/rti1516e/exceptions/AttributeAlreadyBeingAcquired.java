package hla.rti1516e.exceptions;

/** The RTI core's AttributeAlreadyBeingAcquired; it reaches a C++ federate as rti1516e::AttributeAlreadyBeingAcquired. */
public class AttributeAlreadyBeingAcquired extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AttributeAlreadyBeingAcquired(String message) {
    super(message);
  }

  public AttributeAlreadyBeingAcquired(String message, Throwable cause) {
    super(message, cause);
  }
}
