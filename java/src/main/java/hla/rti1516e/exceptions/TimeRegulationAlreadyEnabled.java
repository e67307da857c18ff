package hla.rti1516e.exceptions;

/** The RTI core's TimeRegulationAlreadyEnabled; it reaches a C++ federate as rti1516e::TimeRegulationAlreadyEnabled. */
public class TimeRegulationAlreadyEnabled extends RTIexception {
  private static final long serialVersionUID = 1L;

  public TimeRegulationAlreadyEnabled(String message) {
    super(message);
  }

  public TimeRegulationAlreadyEnabled(String message, Throwable cause) {
    super(message, cause);
  }
}
