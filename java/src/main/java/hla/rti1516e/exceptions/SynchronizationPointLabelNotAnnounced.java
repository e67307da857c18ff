package hla.rti1516e.exceptions;

/** The RTI core's SynchronizationPointLabelNotAnnounced; it reaches a C++ federate as rti1516e::SynchronizationPointLabelNotAnnounced. */
public class SynchronizationPointLabelNotAnnounced extends RTIexception {
  private static final long serialVersionUID = 1L;

  public SynchronizationPointLabelNotAnnounced(String message) {
    super(message);
  }

  public SynchronizationPointLabelNotAnnounced(String message, Throwable cause) {
    super(message, cause);
  }
}
