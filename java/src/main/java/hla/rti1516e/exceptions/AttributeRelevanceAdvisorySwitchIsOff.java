package hla.rti1516e.exceptions;

/** The RTI core's AttributeRelevanceAdvisorySwitchIsOff; it reaches a C++ federate as rti1516e::AttributeRelevanceAdvisorySwitchIsOff. */
public class AttributeRelevanceAdvisorySwitchIsOff extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AttributeRelevanceAdvisorySwitchIsOff(String message) {
    super(message);
  }

  public AttributeRelevanceAdvisorySwitchIsOff(String message, Throwable cause) {
    super(message, cause);
  }
}
