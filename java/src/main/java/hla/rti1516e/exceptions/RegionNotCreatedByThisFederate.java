package hla.rti1516e.exceptions;

/** The RTI core's RegionNotCreatedByThisFederate; it reaches a C++ federate as rti1516e::RegionNotCreatedByThisFederate. */
public class RegionNotCreatedByThisFederate extends RTIexception {
  private static final long serialVersionUID = 1L;

  public RegionNotCreatedByThisFederate(String message) {
    super(message);
  }

  public RegionNotCreatedByThisFederate(String message, Throwable cause) {
    super(message, cause);
  }
}
