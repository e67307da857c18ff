package hla.rti1516e.exceptions;

/** The RTI core's AttributeNotOwned; it reaches a C++ federate as rti1516e::AttributeNotOwned. */
public class AttributeNotOwned extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AttributeNotOwned(String message) {
    super(message);
  }

  public AttributeNotOwned(String message, Throwable cause) {
    super(message, cause);
  }
}
