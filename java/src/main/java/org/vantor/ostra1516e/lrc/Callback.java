package org.vantor.ostra1516e.lrc;

import java.util.Arrays;
import org.vantor.ostra1516e.wire.CallbackMethod;

/**
 * Callback is one callback waiting for delivery: the native method that carries it and its
 * arguments in code order, as the values of the wire codec's type codes.
 */
public record Callback(CallbackMethod method, Object... args) {
  @Override
  public String toString() {
    return method + Arrays.deepToString(args);
  }
}
