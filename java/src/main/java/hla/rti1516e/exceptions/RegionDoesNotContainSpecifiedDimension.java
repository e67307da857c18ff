package hla.rti1516e.exceptions;

/** The RTI core's RegionDoesNotContainSpecifiedDimension; it reaches a C++ federate as rti1516e::RegionDoesNotContainSpecifiedDimension. */
public class RegionDoesNotContainSpecifiedDimension extends RTIexception {
  private static final long serialVersionUID = 1L;

  public RegionDoesNotContainSpecifiedDimension(String message) {
    super(message);
  }

  public RegionDoesNotContainSpecifiedDimension(String message, Throwable cause) {
    super(message, cause);
  }
}
