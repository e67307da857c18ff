package hla.rti1516e.exceptions;

/** The RTI core's ObjectClassRelevanceAdvisorySwitchIsOn; it reaches a C++ federate as rti1516e::ObjectClassRelevanceAdvisorySwitchIsOn. */
public class ObjectClassRelevanceAdvisorySwitchIsOn extends RTIexception {
  private static final long serialVersionUID = 1L;

  public ObjectClassRelevanceAdvisorySwitchIsOn(String message) {
    super(message);
  }

  public ObjectClassRelevanceAdvisorySwitchIsOn(String message, Throwable cause) {
    super(message, cause);
  }
}
