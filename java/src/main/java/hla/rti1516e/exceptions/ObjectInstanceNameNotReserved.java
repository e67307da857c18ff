package hla.rti1516e.exceptions;

/** The RTI core's ObjectInstanceNameNotReserved; it reaches a C++ federate as rti1516e::ObjectInstanceNameNotReserved. */
public class ObjectInstanceNameNotReserved extends RTIexception {
  private static final long serialVersionUID = 1L;

  public ObjectInstanceNameNotReserved(String message) {
    super(message);
  }

  public ObjectInstanceNameNotReserved(String message, Throwable cause) {
    super(message, cause);
  }
}
