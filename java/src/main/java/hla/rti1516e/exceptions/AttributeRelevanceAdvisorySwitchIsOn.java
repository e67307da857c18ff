package hla.rti1516e.exceptions;

/** The RTI core's AttributeRelevanceAdvisorySwitchIsOn; it reaches a C++ federate as rti1516e::AttributeRelevanceAdvisorySwitchIsOn. */
public class AttributeRelevanceAdvisorySwitchIsOn extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AttributeRelevanceAdvisorySwitchIsOn(String message) {
    super(message);
  }

  public AttributeRelevanceAdvisorySwitchIsOn(String message, Throwable cause) {
    super(message, cause);
  }
}
