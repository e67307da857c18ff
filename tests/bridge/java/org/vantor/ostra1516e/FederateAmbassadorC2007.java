package org.vantor.ostra1516e;

/**
 * A callback class that lacks all but one of the native methods the library binds, so that
 * a test can watch the registration fail.
 */
public class FederateAmbassadorC2007 {
  public native void federationSaved_Native(byte[] a);
}
