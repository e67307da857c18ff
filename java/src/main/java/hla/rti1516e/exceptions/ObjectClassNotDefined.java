package hla.rti1516e.exceptions;

/** The RTI core's ObjectClassNotDefined; it reaches a C++ federate as rti1516e::ObjectClassNotDefined. */
public class ObjectClassNotDefined extends RTIexception {
  private static final long serialVersionUID = 1L;

  public ObjectClassNotDefined(String message) {
    super(message);
  }

  public ObjectClassNotDefined(String message, Throwable cause) {
    super(message, cause);
  }
}
