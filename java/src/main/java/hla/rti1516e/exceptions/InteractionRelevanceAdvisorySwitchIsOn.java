package hla.rti1516e.exceptions;

/** The RTI core's InteractionRelevanceAdvisorySwitchIsOn; it reaches a C++ federate as rti1516e::InteractionRelevanceAdvisorySwitchIsOn. */
public class InteractionRelevanceAdvisorySwitchIsOn extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InteractionRelevanceAdvisorySwitchIsOn(String message) {
    super(message);
  }

  public InteractionRelevanceAdvisorySwitchIsOn(String message, Throwable cause) {
    super(message, cause);
  }
}
