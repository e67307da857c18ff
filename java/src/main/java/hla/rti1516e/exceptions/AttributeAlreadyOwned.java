package hla.rti1516e.exceptions;

/** The RTI core's AttributeAlreadyOwned; it reaches a C++ federate as rti1516e::AttributeAlreadyOwned. */
public class AttributeAlreadyOwned extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AttributeAlreadyOwned(String message) {
    super(message);
  }

  public AttributeAlreadyOwned(String message, Throwable cause) {
    super(message, cause);
  }
}
