package hla.rti1516e.exceptions;

/** The RTI core's IllegalName; it reaches a C++ federate as rti1516e::IllegalName. */
public class IllegalName extends RTIexception {
  private static final long serialVersionUID = 1L;

  public IllegalName(String message) {
    super(message);
  }

  public IllegalName(String message, Throwable cause) {
    super(message, cause);
  }
}
