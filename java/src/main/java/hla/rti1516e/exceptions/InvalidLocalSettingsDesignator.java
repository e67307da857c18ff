package hla.rti1516e.exceptions;

/** The RTI core's InvalidLocalSettingsDesignator; it reaches a C++ federate as rti1516e::InvalidLocalSettingsDesignator. */
public class InvalidLocalSettingsDesignator extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidLocalSettingsDesignator(String message) {
    super(message);
  }

  public InvalidLocalSettingsDesignator(String message, Throwable cause) {
    super(message, cause);
  }
}
