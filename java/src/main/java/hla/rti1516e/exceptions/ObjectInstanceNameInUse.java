package hla.rti1516e.exceptions;

/** The RTI core's ObjectInstanceNameInUse; it reaches a C++ federate as rti1516e::ObjectInstanceNameInUse. */
public class ObjectInstanceNameInUse extends RTIexception {
  private static final long serialVersionUID = 1L;

  public ObjectInstanceNameInUse(String message) {
    super(message);
  }

  public ObjectInstanceNameInUse(String message, Throwable cause) {
    super(message, cause);
  }
}
