package hla.rti1516e.exceptions;

/** The RTI core's NameSetWasEmpty; it reaches a C++ federate as rti1516e::NameSetWasEmpty. */
public class NameSetWasEmpty extends RTIexception {
  private static final long serialVersionUID = 1L;

  public NameSetWasEmpty(String message) {
    super(message);
  }

  public NameSetWasEmpty(String message, Throwable cause) {
    super(message, cause);
  }
}
