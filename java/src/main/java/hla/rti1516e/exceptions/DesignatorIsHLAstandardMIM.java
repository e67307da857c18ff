package hla.rti1516e.exceptions;

/** The RTI core's DesignatorIsHLAstandardMIM; it reaches a C++ federate as rti1516e::DesignatorIsHLAstandardMIM. */
public class DesignatorIsHLAstandardMIM extends RTIexception {
  private static final long serialVersionUID = 1L;

  public DesignatorIsHLAstandardMIM(String message) {
    super(message);
  }

  public DesignatorIsHLAstandardMIM(String message, Throwable cause) {
    super(message, cause);
  }
}
