package hla.rti1516e.exceptions;

/** The RTI core's ErrorReadingMIM; it reaches a C++ federate as rti1516e::ErrorReadingMIM. */
public class ErrorReadingMIM extends RTIexception {
  private static final long serialVersionUID = 1L;

  public ErrorReadingMIM(String message) {
    super(message);
  }

  public ErrorReadingMIM(String message, Throwable cause) {
    super(message, cause);
  }
}
