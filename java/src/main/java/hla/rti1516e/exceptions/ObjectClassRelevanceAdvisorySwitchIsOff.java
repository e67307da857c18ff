package hla.rti1516e.exceptions;

/** The RTI core's ObjectClassRelevanceAdvisorySwitchIsOff; it reaches a C++ federate as rti1516e::ObjectClassRelevanceAdvisorySwitchIsOff. */
public class ObjectClassRelevanceAdvisorySwitchIsOff extends RTIexception {
  private static final long serialVersionUID = 1L;

  public ObjectClassRelevanceAdvisorySwitchIsOff(String message) {
    super(message);
  }

  public ObjectClassRelevanceAdvisorySwitchIsOff(String message, Throwable cause) {
    super(message, cause);
  }
}
