package benchloop;

import org.vantor.ostra1516e.FederateAmbassadorC2007;

/**
 * CallbackBenchLoop delivers one callback array many times from a Java loop, as a core
 * delivers callbacks: through the library's native method, or through one of the
 * benchmark's two baselines, which the benchmark program registers.
 */
public final class CallbackBenchLoop {
  private static final FederateAmbassadorC2007 CALLBACKS = new FederateAmbassadorC2007();

  private CallbackBenchLoop() {}

  /** Decodes the reflection by hand into the API's types and calls the ambassador. */
  static native void handDecoded(byte[] array);

  /** Only copies the array's bytes out. */
  static native void copyOnly(byte[] array);

  public static void dispatch(byte[] array, int count) {
    for (int i = 0; i < count; i++) {
      CALLBACKS.reflectAttributeValues_OIH_AHVM_BX_OT_TTH_FASRI_Native(array);
    }
  }

  public static void handDecoded(byte[] array, int count) {
    for (int i = 0; i < count; i++) {
      handDecoded(array);
    }
  }

  public static void copyOnly(byte[] array, int count) {
    for (int i = 0; i < count; i++) {
      copyOnly(array);
    }
  }
}
