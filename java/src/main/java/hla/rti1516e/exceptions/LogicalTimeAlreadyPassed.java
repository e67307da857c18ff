package hla.rti1516e.exceptions;

/** The RTI core's LogicalTimeAlreadyPassed; it reaches a C++ federate as rti1516e::LogicalTimeAlreadyPassed. */
public class LogicalTimeAlreadyPassed extends RTIexception {
  private static final long serialVersionUID = 1L;

  public LogicalTimeAlreadyPassed(String message) {
    super(message);
  }

  public LogicalTimeAlreadyPassed(String message, Throwable cause) {
    super(message, cause);
  }
}
