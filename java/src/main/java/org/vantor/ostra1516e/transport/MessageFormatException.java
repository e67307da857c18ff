package org.vantor.ostra1516e.transport;

/**
 * MessageFormatException reports bytes from a peer that are not a frame or hello that this
 * side accepts. It is the only exception that {@link MessageCodec}'s reading methods throw
 * on bad input. The message names what was being read (the frame's type number and message
 * class when it is known), the problem, and where it applies the offset from the frame's
 * first byte, for example "frame type 0x0408 (ObjectMessages.Update): length 4096 runs past
 * the frame, 12 bytes remain at offset 24". A connection that gets one cannot tell where the
 * next frame starts and should be closed.
 */
public final class MessageFormatException extends Exception {
  private static final long serialVersionUID = 1L;

  public MessageFormatException(String message) {
    super(message);
  }

  public MessageFormatException(String message, Throwable cause) {
    super(message, cause);
  }
}
