package hla.rti1516e.exceptions;

/** The RTI core's ObjectClassNotPublished; it reaches a C++ federate as rti1516e::ObjectClassNotPublished. */
public class ObjectClassNotPublished extends RTIexception {
  private static final long serialVersionUID = 1L;

  public ObjectClassNotPublished(String message) {
    super(message);
  }

  public ObjectClassNotPublished(String message, Throwable cause) {
    super(message, cause);
  }
}
