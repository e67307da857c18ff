package hla.rti1516e.exceptions;

/** The RTI core's RegionInUseForUpdateOrSubscription; it reaches a C++ federate as rti1516e::RegionInUseForUpdateOrSubscription. */
public class RegionInUseForUpdateOrSubscription extends RTIexception {
  private static final long serialVersionUID = 1L;

  public RegionInUseForUpdateOrSubscription(String message) {
    super(message);
  }

  public RegionInUseForUpdateOrSubscription(String message, Throwable cause) {
    super(message, cause);
  }
}
