package org.vantor.ostra1516e.wire;

import java.util.Arrays;

/**
 * RetractionHandle is a message retraction handle (code MRH): the core's serial number,
 * 0 meaning invalid, and an opaque payload that travels with it unchanged.
 *
 * <pre>
 *   0        4        8
 *   | serial | N      | N payload bytes |
 * </pre>
 *
 * The same bytes are what a service with a retraction-handle result returns as its byte[].
 */
public record RetractionHandle(int serial, byte[] payload) {
  public RetractionHandle {
    payload = payload.clone();
  }

  /** payloadLength is the payload's size, without copying it. */
  public int payloadLength() {
    return payload.length;
  }

  @Override
  public byte[] payload() {
    return payload.clone();
  }

  @Override
  public boolean equals(Object o) {
    return o instanceof RetractionHandle h && h.serial == serial && Arrays.equals(h.payload, payload);
  }

  @Override
  public int hashCode() {
    return 31 * serial + Arrays.hashCode(payload);
  }

  @Override
  public String toString() {
    return "RetractionHandle[serial=" + serial + ", payload=" + Hex.format(payload) + "]";
  }
}
