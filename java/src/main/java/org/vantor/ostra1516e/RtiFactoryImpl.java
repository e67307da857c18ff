package org.vantor.ostra1516e;

/**
 * RtiFactoryImpl marks the RTI core on the class path: the C++ library looks this class up
 * before it creates any ambassador, as proof that the core's classes can be found.
 */
public final class RtiFactoryImpl {
  public RtiFactoryImpl() {}
}
