package hla.rti1516e.exceptions;

/** The RTI core's NameNotFound; it reaches a C++ federate as rti1516e::NameNotFound. */
public class NameNotFound extends RTIexception {
  private static final long serialVersionUID = 1L;

  public NameNotFound(String message) {
    super(message);
  }

  public NameNotFound(String message, Throwable cause) {
    super(message, cause);
  }
}
