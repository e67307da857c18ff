package hla.rti1516e.exceptions;

/** The RTI core's InvalidLogicalTime; it reaches a C++ federate as rti1516e::InvalidLogicalTime. */
public class InvalidLogicalTime extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidLogicalTime(String message) {
    super(message);
  }

  public InvalidLogicalTime(String message, Throwable cause) {
    super(message, cause);
  }
}
