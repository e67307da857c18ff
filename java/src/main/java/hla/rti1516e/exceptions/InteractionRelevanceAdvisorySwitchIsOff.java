package hla.rti1516e.exceptions;

/** The RTI core's InteractionRelevanceAdvisorySwitchIsOff; it reaches a C++ federate as rti1516e::InteractionRelevanceAdvisorySwitchIsOff. */
public class InteractionRelevanceAdvisorySwitchIsOff extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InteractionRelevanceAdvisorySwitchIsOff(String message) {
    super(message);
  }

  public InteractionRelevanceAdvisorySwitchIsOff(String message, Throwable cause) {
    super(message, cause);
  }
}
