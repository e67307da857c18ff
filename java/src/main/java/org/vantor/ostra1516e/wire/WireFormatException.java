package org.vantor.ostra1516e.wire;

/**
 * WireFormatException reports a byte array that does not hold what its method name says.
 * It is the only exception that {@link WireReader} and {@link WireCodec}'s decoding methods
 * throw on bad input. Every message ends with " at offset N", N being the offset in the
 * array of the word or block that failed. The messages are:
 *
 * <ul>
 *   <li>"need B bytes, R remain at offset N": a value, a string or a byte block runs past
 *       the end of the array;
 *   <li>"negative length L at offset N": a string or byte-block length below zero;
 *   <li>"negative count C at offset N": an element count below zero;
 *   <li>"count C needs at least B bytes, R remain at offset N": more elements than the rest
 *       of the array could hold, refused before anything is allocated;
 *   <li>"bad PRE_MAGIC 0xXXXXXXXX at offset 0", "bad POST_MAGIC 0xXXXXXXXX at offset N":
 *       a callback array that the callback encoder did not frame;
 *   <li>"U unread bytes at offset N": bytes left over after the last value.
 * </ul>
 */
public final class WireFormatException extends Exception {
  private static final long serialVersionUID = 1L;

  private final int offset;

  public WireFormatException(String problem, int offset) {
    super(problem + " at offset " + offset);
    this.offset = offset;
  }

  /** offset is the position in the array at which the bad word or block starts. */
  public int offset() {
    return offset;
  }
}
