package org.vantor.ostra1516e;

/**
 * RtiFactoryImpl of the probe core. The library only checks that the class can be found,
 * as proof that a core is on the class path.
 */
public final class RtiFactoryImpl {
  public RtiFactoryImpl() {}
}
