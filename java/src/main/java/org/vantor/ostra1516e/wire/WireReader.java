package org.vantor.ostra1516e.wire;

import java.util.ArrayList;
import java.util.List;

/**
 * WireReader reads the values of one service or callback array, front to back. Every
 * number is a big-endian 32-bit word; nothing in the array says which value comes next,
 * so the caller reads in the order of the method's type codes ({@link TypeCode#read}).
 *
 * <p>Every length and count is checked against the bytes that remain before anything is
 * allocated, and every problem is a {@link WireFormatException} naming the offset; the
 * reader never reads past the array and throws nothing else. Containers come back in wire
 * order, duplicates included: the reader only decodes.
 */
public final class WireReader {
  private final byte[] bytes;
  private final int timeLength;
  private int offset;

  /** The reader works on bytes in place; timeLength is the size of every LT and LTI. */
  public WireReader(byte[] bytes, int timeLength) {
    this.bytes = bytes;
    this.timeLength = timeLength;
  }

  public int offset() {
    return offset;
  }

  public int remaining() {
    return bytes.length - offset;
  }

  /** expectEnd refuses bytes left over after the last value. */
  public void expectEnd() throws WireFormatException {
    if (remaining() != 0) {
      throw new WireFormatException(remaining() + " unread bytes", offset);
    }
  }

  private void need(long count, int at) throws WireFormatException {
    if (count > bytes.length - at) {
      throw new WireFormatException("need " + count + " bytes, " + (bytes.length - at) + " remain", at);
    }
  }

  // | b0 b1 b2 b3 |  most significant byte first
  public int readInt() throws WireFormatException {
    need(4, offset);
    int v = (bytes[offset] & 0xFF) << 24 | (bytes[offset + 1] & 0xFF) << 16
        | (bytes[offset + 2] & 0xFF) << 8 | (bytes[offset + 3] & 0xFF);
    offset += 4;
    return v;
  }

  // | high word | low word |
  public long readLong() throws WireFormatException {
    need(8, offset);
    long high = readInt();
    return high << 32 | (readInt() & 0xFFFFFFFFL);
  }

  // | IEEE 754 binary64 bits as readLong |
  public double readDouble() throws WireFormatException {
    return Double.longBitsToDouble(readLong());
  }

  // | word | non-zero is true
  public boolean readBoolean() throws WireFormatException {
    return readInt() != 0;
  }

  /** readCount reads an element count and checks that minBytes per element could follow. */
  private int readCount(int minBytes) throws WireFormatException {
    int at = offset;
    int count = readInt();
    if (count < 0) {
      throw new WireFormatException("negative count " + count, at);
    }
    long least = (long) count * minBytes;
    if (least > remaining()) {
      throw new WireFormatException(
          "count " + count + " needs at least " + least + " bytes, " + remaining() + " remain", at);
    }
    return count;
  }

  private int readLength() throws WireFormatException {
    int at = offset;
    int length = readInt();
    if (length < 0) {
      throw new WireFormatException("negative length " + length, at);
    }
    return length;
  }

  private byte[] take(int count) {
    byte[] out = new byte[count];
    System.arraycopy(bytes, offset, out, 0, count);
    offset += count;
    return out;
  }

  // | n | n UTF-16 units, high byte first |  (codes S, URL)
  public String readString() throws WireFormatException {
    int units = readLength();
    need(2L * units, offset);
    char[] chars = new char[units];
    for (int i = 0; i < units; i++) {
      chars[i] = (char) ((bytes[offset] & 0xFF) << 8 | (bytes[offset + 1] & 0xFF));
      offset += 2;
    }
    return new String(chars);
  }

  // | count | count strings as readString |  (codes URLX and the S set form)
  public List<String> readStrings() throws WireFormatException {
    int count = readCount(4);
    List<String> out = new ArrayList<>(count);
    for (int i = 0; i < count; i++) {
      out.add(readString());
    }
    return out;
  }

  // | n | n bytes |  (code BX)
  public byte[] readBytes() throws WireFormatException {
    int length = readLength();
    need(length, offset);
    return take(length);
  }

  // | timeLength bytes |  (codes LT, LTI: no length word)
  public byte[] readTime() throws WireFormatException {
    need(timeLength, offset);
    return take(timeLength);
  }

  // | count | count handles |  (codes AHS, FHS, DHS, RHS)
  public int[] readHandles() throws WireFormatException {
    int count = readCount(4);
    int[] out = new int[count];
    for (int i = 0; i < count; i++) {
      out[i] = readInt();
    }
    return out;
  }

  // | count | count times: handle, value as readBytes |  (codes AHVM, PHVM)
  public HandleValues readHandleValues() throws WireFormatException {
    int count = readCount(8);
    int[] handles = new int[count];
    byte[][] values = new byte[count][];
    for (int i = 0; i < count; i++) {
      handles[i] = readInt();
      values[i] = readBytes();
    }
    return new HandleValues(handles, values);
  }

  // | count | count times: attributes as readHandles, regions as readHandles |  (ASRSPL)
  public List<AttributeRegions> readAttributeRegions() throws WireFormatException {
    int count = readCount(8);
    List<AttributeRegions> out = new ArrayList<>(count);
    for (int i = 0; i < count; i++) {
      int[] attributes = readHandles();
      out.add(new AttributeRegions(attributes, readHandles()));
    }
    return out;
  }

  // | lower as readLong | upper as readLong |  (code RB)
  public RangeBounds readRangeBounds() throws WireFormatException {
    long lower = readLong();
    return new RangeBounds(lower, readLong());
  }

  // | serial | N, unsigned | N payload bytes |  (code MRH)
  public RetractionHandle readRetractionHandle() throws WireFormatException {
    int serial = readInt();
    long size = readInt() & 0xFFFFFFFFL;
    need(size, offset);
    return new RetractionHandle(serial, take((int) size));
  }

  // | producer flag | regions flag | [producer] | [regions as readHandles] |  (FASRI)
  public SupplementalInfo readSupplementalInfo() throws WireFormatException {
    boolean hasProducer = readBoolean();
    boolean hasRegions = readBoolean();
    int producer = hasProducer ? readInt() : 0;
    int[] regions = hasRegions ? readHandles() : null;
    return new SupplementalInfo(hasProducer, producer, hasRegions, regions);
  }

  // | producer flag | [producer] |  (FASRI of the removeObjectInstance callbacks)
  public SupplementalInfo readSupplementalRemoveInfo() throws WireFormatException {
    boolean hasProducer = readBoolean();
    return new SupplementalInfo(hasProducer, hasProducer ? readInt() : 0, false, null);
  }

  // | count | count times: name as readString, time implementation name as readString |
  public List<FederationExecution> readFederationExecutions() throws WireFormatException {
    int count = readCount(8);
    List<FederationExecution> out = new ArrayList<>(count);
    for (int i = 0; i < count; i++) {
      String name = readString();
      out.add(new FederationExecution(name, readString()));
    }
    return out;
  }

  // | count | count times: pre-restore handle, post-restore handle, status |  (FRSX)
  public List<FederateRestoreStatus> readRestoreStatuses() throws WireFormatException {
    int count = readCount(12);
    List<FederateRestoreStatus> out = new ArrayList<>(count);
    for (int i = 0; i < count; i++) {
      int pre = readInt();
      int post = readInt();
      out.add(new FederateRestoreStatus(pre, post, readInt()));
    }
    return out;
  }

  // | count | count times: federate, status |  (FHSSPX)
  public List<FederateSaveStatus> readSaveStatuses() throws WireFormatException {
    int count = readCount(8);
    List<FederateSaveStatus> out = new ArrayList<>(count);
    for (int i = 0; i < count; i++) {
      int federate = readInt();
      out.add(new FederateSaveStatus(federate, readInt()));
    }
    return out;
  }
}
