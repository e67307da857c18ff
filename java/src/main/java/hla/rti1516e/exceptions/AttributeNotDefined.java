package hla.rti1516e.exceptions;

/** The RTI core's AttributeNotDefined; it reaches a C++ federate as rti1516e::AttributeNotDefined. */
public class AttributeNotDefined extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AttributeNotDefined(String message) {
    super(message);
  }

  public AttributeNotDefined(String message, Throwable cause) {
    super(message, cause);
  }
}
