package hla.rti1516e.exceptions;

/** The RTI core's AttributeScopeAdvisorySwitchIsOff; it reaches a C++ federate as rti1516e::AttributeScopeAdvisorySwitchIsOff. */
public class AttributeScopeAdvisorySwitchIsOff extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AttributeScopeAdvisorySwitchIsOff(String message) {
    super(message);
  }

  public AttributeScopeAdvisorySwitchIsOff(String message, Throwable cause) {
    super(message, cause);
  }
}
