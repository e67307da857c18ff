package org.vantor.ostra1516e.wire;

import java.util.Arrays;
import java.util.List;

/**
 * WireWriter appends values to a growing array in the layout that {@link WireReader}
 * reads: big-endian 32-bit words, no padding, no tags. A value that the format cannot
 * carry (a time of the wrong length, regions in a remove callback's supplemental
 * information) is a programming error and throws IllegalArgumentException.
 */
public final class WireWriter {
  private final int timeLength;
  private byte[] bytes = new byte[64];
  private int size;

  /** timeLength is the size of every LT and LTI of the federation. */
  public WireWriter(int timeLength) {
    this.timeLength = timeLength;
  }

  /** capacity is the size expected; an array written to exactly that size is never copied. */
  public WireWriter(int timeLength, int capacity) {
    this.timeLength = timeLength;
    this.bytes = new byte[Math.max(capacity, 0)];
  }

  public int size() {
    return size;
  }

  /** toByteArray returns a copy of the bytes written so far. */
  public byte[] toByteArray() {
    return Arrays.copyOf(bytes, size);
  }

  /**
   * finish returns the bytes written, without a copy when they fill the writer's array
   * exactly; the writer must not be used afterwards.
   */
  public byte[] finish() {
    return size == bytes.length ? bytes : Arrays.copyOf(bytes, size);
  }

  private void ensure(int more) {
    if (more > bytes.length - size) {
      bytes = Arrays.copyOf(bytes, Math.max(bytes.length * 2, Math.addExact(size, more)));
    }
  }

  public void writeInt(int v) {
    ensure(4);
    bytes[size] = (byte) (v >>> 24);
    bytes[size + 1] = (byte) (v >>> 16);
    bytes[size + 2] = (byte) (v >>> 8);
    bytes[size + 3] = (byte) v;
    size += 4;
  }

  public void writeLong(long v) {
    writeInt((int) (v >>> 32));
    writeInt((int) v);
  }

  public void writeDouble(double v) {
    writeLong(Double.doubleToRawLongBits(v));
  }

  public void writeBoolean(boolean v) {
    writeInt(v ? 1 : 0);
  }

  private void writeRaw(byte[] data) {
    ensure(data.length);
    System.arraycopy(data, 0, bytes, size, data.length);
    size += data.length;
  }

  public void writeString(String s) {
    writeInt(s.length());
    ensure(2 * s.length());
    for (int i = 0; i < s.length(); i++) {
      char c = s.charAt(i);
      bytes[size] = (byte) (c >>> 8);
      bytes[size + 1] = (byte) c;
      size += 2;
    }
  }

  public void writeStrings(List<String> strings) {
    writeInt(strings.size());
    for (String s : strings) {
      writeString(s);
    }
  }

  public void writeBytes(byte[] data) {
    writeInt(data.length);
    writeRaw(data);
  }

  public void writeTime(byte[] encodedTime) {
    if (encodedTime.length != timeLength) {
      throw new IllegalArgumentException(
          "a time or interval takes " + timeLength + " bytes, not " + encodedTime.length);
    }
    writeRaw(encodedTime);
  }

  public void writeHandles(int[] handles) {
    writeInt(handles.length);
    for (int h : handles) {
      writeInt(h);
    }
  }

  public void writeHandleValues(HandleValues entries) {
    writeInt(entries.size());
    for (int i = 0; i < entries.size(); i++) {
      writeInt(entries.handle(i));
      writeBytes(entries.value(i));
    }
  }

  public void writeAttributeRegions(List<AttributeRegions> pairs) {
    writeInt(pairs.size());
    for (AttributeRegions p : pairs) {
      writeHandles(p.attributes());
      writeHandles(p.regions());
    }
  }

  public void writeRangeBounds(RangeBounds bounds) {
    writeLong(bounds.lower());
    writeLong(bounds.upper());
  }

  public void writeRetractionHandle(RetractionHandle handle) {
    writeInt(handle.serial());
    writeBytes(handle.payload());
  }

  public void writeSupplementalInfo(SupplementalInfo info) {
    writeBoolean(info.hasProducingFederate());
    writeBoolean(info.hasSentRegions());
    if (info.hasProducingFederate()) {
      writeInt(info.producingFederate());
    }
    if (info.hasSentRegions()) {
      writeHandles(info.sentRegions());
    }
  }

  public void writeSupplementalRemoveInfo(SupplementalInfo info) {
    if (info.hasSentRegions()) {
      throw new IllegalArgumentException("a remove callback carries no sent regions");
    }
    writeBoolean(info.hasProducingFederate());
    if (info.hasProducingFederate()) {
      writeInt(info.producingFederate());
    }
  }

  public void writeFederationExecutions(List<FederationExecution> executions) {
    writeInt(executions.size());
    for (FederationExecution e : executions) {
      writeString(e.federationExecutionName());
      writeString(e.logicalTimeImplementationName());
    }
  }

  public void writeRestoreStatuses(List<FederateRestoreStatus> statuses) {
    writeInt(statuses.size());
    for (FederateRestoreStatus s : statuses) {
      writeInt(s.preRestoreHandle());
      writeInt(s.postRestoreHandle());
      writeInt(s.status());
    }
  }

  public void writeSaveStatuses(List<FederateSaveStatus> statuses) {
    writeInt(statuses.size());
    for (FederateSaveStatus s : statuses) {
      writeInt(s.federate());
      writeInt(s.status());
    }
  }
}
