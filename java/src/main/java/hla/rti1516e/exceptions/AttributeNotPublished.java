package hla.rti1516e.exceptions;

/** The RTI core's AttributeNotPublished; it reaches a C++ federate as rti1516e::AttributeNotPublished. */
public class AttributeNotPublished extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AttributeNotPublished(String message) {
    super(message);
  }

  public AttributeNotPublished(String message, Throwable cause) {
    super(message, cause);
  }
}
