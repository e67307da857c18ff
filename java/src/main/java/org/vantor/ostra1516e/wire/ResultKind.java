package org.vantor.ostra1516e.wire;

/** ResultKind is the Java return type of a service method, by its JNI descriptor. */
public enum ResultKind {
  VOID("V"),
  INT("I"),
  BOOLEAN("Z"),
  LONG("J"),
  DOUBLE("D"),
  STRING("Ljava/lang/String;"),
  BYTES("[B"),
  INTS("[I"),
  LONGS("[J");

  private final String descriptor;

  ResultKind(String descriptor) {
    this.descriptor = descriptor;
  }

  public String descriptor() {
    return descriptor;
  }

  /** ofSignature returns the kind of a JNI method signature's return type. */
  public static ResultKind ofSignature(String signature) {
    String returned = signature.substring(signature.indexOf(')') + 1);
    for (ResultKind kind : values()) {
      if (kind.descriptor.equals(returned)) {
        return kind;
      }
    }
    throw new IllegalArgumentException("no result kind for " + signature);
  }
}
