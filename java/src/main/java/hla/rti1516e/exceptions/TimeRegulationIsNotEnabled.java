package hla.rti1516e.exceptions;

/** The RTI core's TimeRegulationIsNotEnabled; it reaches a C++ federate as rti1516e::TimeRegulationIsNotEnabled. */
public class TimeRegulationIsNotEnabled extends RTIexception {
  private static final long serialVersionUID = 1L;

  public TimeRegulationIsNotEnabled(String message) {
    super(message);
  }

  public TimeRegulationIsNotEnabled(String message, Throwable cause) {
    super(message, cause);
  }
}
