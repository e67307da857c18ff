package hla.rti1516e.exceptions;

/** The RTI core's AttributeScopeAdvisorySwitchIsOn; it reaches a C++ federate as rti1516e::AttributeScopeAdvisorySwitchIsOn. */
public class AttributeScopeAdvisorySwitchIsOn extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AttributeScopeAdvisorySwitchIsOn(String message) {
    super(message);
  }

  public AttributeScopeAdvisorySwitchIsOn(String message, Throwable cause) {
    super(message, cause);
  }
}
