package org.vantor.ostra1516e.wire;

import java.util.Arrays;

/**
 * HandleValue is one entry of an attribute or parameter value map (codes AHVM, PHVM): a
 * handle and the value bytes sent for it.
 */
public record HandleValue(int handle, byte[] value) {
  public HandleValue {
    value = value.clone();
  }

  @Override
  public byte[] value() {
    return value.clone();
  }

  @Override
  public boolean equals(Object o) {
    return o instanceof HandleValue h && h.handle == handle && Arrays.equals(h.value, value);
  }

  @Override
  public int hashCode() {
    return 31 * handle + Arrays.hashCode(value);
  }

  @Override
  public String toString() {
    return handle + "=" + Hex.format(value);
  }
}
