package org.vantor.ostra1516e.wire;

import java.util.Arrays;

/**
 * ServiceCall is a decoded service array: the method and its arguments in code order, as
 * the values of {@link TypeCode#valueType()}.
 */
public record ServiceCall(ServiceMethod method, Object[] args) {
  public ServiceCall {
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
    return o instanceof ServiceCall c && c.method == method && Arrays.deepEquals(c.args, args);
  }

  @Override
  public int hashCode() {
    return 31 * method.hashCode() + Arrays.deepHashCode(args);
  }

  @Override
  public String toString() {
    return method + Arrays.deepToString(args);
  }
}
