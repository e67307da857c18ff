package hla.rti1516e.exceptions;

/** The RTI core's InvalidRangeBound; it reaches a C++ federate as rti1516e::InvalidRangeBound. */
public class InvalidRangeBound extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidRangeBound(String message) {
    super(message);
  }

  public InvalidRangeBound(String message, Throwable cause) {
    super(message, cause);
  }
}
