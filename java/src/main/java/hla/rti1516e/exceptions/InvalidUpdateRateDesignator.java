package hla.rti1516e.exceptions;

/** The RTI core's InvalidUpdateRateDesignator; it reaches a C++ federate as rti1516e::InvalidUpdateRateDesignator. */
public class InvalidUpdateRateDesignator extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidUpdateRateDesignator(String message) {
    super(message);
  }

  public InvalidUpdateRateDesignator(String message, Throwable cause) {
    super(message, cause);
  }
}
