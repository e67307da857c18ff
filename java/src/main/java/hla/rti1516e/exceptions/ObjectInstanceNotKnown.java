package hla.rti1516e.exceptions;

/** The RTI core's ObjectInstanceNotKnown; it reaches a C++ federate as rti1516e::ObjectInstanceNotKnown. */
public class ObjectInstanceNotKnown extends RTIexception {
  private static final long serialVersionUID = 1L;

  public ObjectInstanceNotKnown(String message) {
    super(message);
  }

  public ObjectInstanceNotKnown(String message, Throwable cause) {
    super(message, cause);
  }
}
