package org.vantor.ostra1516e.wire;

import java.util.Arrays;

/**
 * CallbackCall is a decoded callback array: the method, the federate ambassador handle of
 * its frame and its arguments in code order.
 */
public record CallbackCall(CallbackMethod method, int handle, Object[] args) {
  public CallbackCall {
    args = args.clone();
  }

  @Override
  public Object[] args() {
    return args.clone();
  }

  public Object arg(int index) {
    return args[index];
  }

  @Override
  public boolean equals(Object o) {
    return o instanceof CallbackCall c && c.method == method && c.handle == handle
        && Arrays.deepEquals(c.args, args);
  }

  @Override
  public int hashCode() {
    return (31 * method.hashCode() + handle) * 31 + Arrays.deepHashCode(args);
  }

  @Override
  public String toString() {
    return method + "@" + handle + Arrays.deepToString(args);
  }
}
