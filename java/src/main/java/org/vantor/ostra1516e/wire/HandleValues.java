package org.vantor.ostra1516e.wire;

import java.util.Arrays;

/**
 * HandleValues is an attribute or parameter value map (codes AHVM, PHVM): handles and the
 * value bytes sent for each, in wire order. It is the form in which values travel through
 * the core from the service array to the callback array, so it is never copied on the way:
 * nobody changes the arrays of an instance once it is made.
 */
public final class HandleValues {
  private static final HandleValues EMPTY = new HandleValues(new int[0], new byte[0][]);

  private final int[] handles;
  private final byte[][] values;

  /** The arrays are taken over, not copied: the caller must not change them afterwards. */
  public HandleValues(int[] handles, byte[][] values) {
    if (handles.length != values.length) {
      throw new IllegalArgumentException(handles.length + " handles, " + values.length + " values");
    }
    this.handles = handles;
    this.values = values;
  }

  public static HandleValues empty() {
    return EMPTY;
  }

  /** of makes a map from handle, value pairs, for tests and examples. */
  public static HandleValues of(Object... handleValuePairs) {
    int n = handleValuePairs.length / 2;
    int[] handles = new int[n];
    byte[][] values = new byte[n][];
    for (int i = 0; i < n; i++) {
      handles[i] = (Integer) handleValuePairs[2 * i];
      values[i] = ((byte[]) handleValuePairs[2 * i + 1]).clone();
    }
    return new HandleValues(handles, values);
  }

  public int size() {
    return handles.length;
  }

  public int handle(int index) {
    return handles[index];
  }

  /** value is the bytes of entry index, shared: read them, never change them. */
  public byte[] value(int index) {
    return values[index];
  }

  /** indexOf is the index of handle's first entry, or -1. */
  public int indexOf(int handle) {
    for (int i = 0; i < handles.length; i++) {
      if (handles[i] == handle) {
        return i;
      }
    }
    return -1;
  }

  /** select keeps the entries at the given indices, sharing their value arrays. */
  public HandleValues select(int[] indices, int count) {
    if (count == handles.length) {
      return this;
    }
    int[] h = new int[count];
    byte[][] v = new byte[count][];
    for (int i = 0; i < count; i++) {
      h[i] = handles[indices[i]];
      v[i] = values[indices[i]];
    }
    return new HandleValues(h, v);
  }

  @Override
  public boolean equals(Object o) {
    return o instanceof HandleValues m && Arrays.equals(m.handles, handles) && Arrays.deepEquals(m.values, values);
  }

  @Override
  public int hashCode() {
    return 31 * Arrays.hashCode(handles) + Arrays.deepHashCode(values);
  }

  @Override
  public String toString() {
    StringBuilder out = new StringBuilder("{");
    for (int i = 0; i < handles.length; i++) {
      out.append(i == 0 ? "" : ", ").append(handles[i]).append('=').append(Hex.format(values[i]));
    }
    return out.append('}').toString();
  }
}
