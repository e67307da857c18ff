package org.vantor.ostra1516e.fom;

/**
 * FomException reports a FOM module that cannot be used. The message is written to be shown on
 * its own (it names the module designator and, where it applies, the line and element or the
 * two modules that conflict); the caller turns the kind into the matching HLA exception.
 */
public final class FomException extends Exception {
  private static final long serialVersionUID = 1L;

  /** What went wrong. */
  public enum Kind {
    /** The module could not be opened: a missing or unreadable file, or an unsupported URL. */
    COULD_NOT_OPEN,
    /** The module is not well-formed XML, or not a valid object model module. */
    ERROR_READING,
    /** The module contradicts another module of the same federation. */
    INCONSISTENT
  }

  private final Kind kind;

  public FomException(Kind kind, String message) {
    super(message);
    if (kind == null) {
      throw new NullPointerException("kind");
    }
    this.kind = kind;
  }

  public Kind kind() {
    return kind;
  }
}
