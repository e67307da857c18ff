package org.vantor.ostra1516e.wire;

import java.util.List;

/**
 * WireCodec turns whole service and callback arrays into argument values and back.
 *
 * <p>A service array holds the arguments of a {@link ServiceMethod}, one per type code,
 * back to back, with no header and no trailer. A callback array is framed:
 *
 * <pre>
 *   0           4        8                         end-4
 *   | PRE_MAGIC | handle | arguments, one per code | POST_MAGIC |
 * </pre>
 *
 * where handle is the federate ambassador handle that the library sent with connect. A
 * callback without arguments is exactly 12 bytes.
 *
 * <p>The decoding methods accept nothing but a whole, exact array: a short array, a bad
 * magic word, an impossible length or count, or bytes left over are refused with a
 * {@link WireFormatException}. The encoding methods check that they got one value of the
 * right class per code and otherwise throw IllegalArgumentException.
 */
public final class WireCodec {
  public static final int PRE_MAGIC = 0x63626160;
  public static final int POST_MAGIC = 0x59585756;
  /** STANDARD_TIME_LENGTH is the encoded size of both standard time representations. */
  public static final int STANDARD_TIME_LENGTH = 8;

  private final int timeLength;

  /** timeLength is the size of every LT and LTI, fixed by the federation's time type. */
  public WireCodec(int timeLength) {
    if (timeLength < 0) {
      throw new IllegalArgumentException("negative time length " + timeLength);
    }
    this.timeLength = timeLength;
  }

  public int timeLength() {
    return timeLength;
  }

  public byte[] encodeService(ServiceMethod method, Object... args) {
    if (!method.takesArray()) {
      throw new IllegalArgumentException(method + " takes no array");
    }
    WireWriter writer = new WireWriter(timeLength);
    writeArguments(writer, method.name(), method.codes(), args);
    return writer.toByteArray();
  }

  /**
   * decodeArguments decodes a service array into its arguments, like {@link #decodeService}
   * but handing over the argument array itself: the form the core's entry uses on every call.
   */
  public Object[] decodeArguments(ServiceMethod method, byte[] array) throws WireFormatException {
    if (array == null) {
      throw new WireFormatException("no array", 0);
    }
    WireReader reader = new WireReader(array, timeLength);
    Object[] args = readArguments(reader, method.codes());
    reader.expectEnd();
    return args;
  }

  public ServiceCall decodeService(ServiceMethod method, byte[] array) throws WireFormatException {
    if (!method.takesArray()) {
      throw new IllegalArgumentException(method + " takes no array");
    }
    if (array == null) {
      throw new WireFormatException("no array", 0);
    }
    WireReader reader = new WireReader(array, timeLength);
    Object[] args = readArguments(reader, method.codes());
    reader.expectEnd();
    return new ServiceCall(method, args);
  }

  public byte[] encodeCallback(CallbackMethod method, int handle, Object... args) {
    WireWriter writer = new WireWriter(timeLength, 12 + expectedSize(method.codes(), args));
    writer.writeInt(PRE_MAGIC);
    writer.writeInt(handle);
    writeArguments(writer, method.name(), method.codes(), args);
    writer.writeInt(POST_MAGIC);
    return writer.finish();
  }

  /**
   * expectedSize is the encoded size of args, exact for the values that callbacks carry in
   * bulk (values, tags, handles, strings, times), so that their array is written once and
   * never copied; for anything else an estimate, which costs one copy at most.
   */
  private int expectedSize(List<TypeCode> codes, Object[] args) {
    long size = 0;
    for (int i = 0; i < args.length && i < codes.size(); i++) {
      Object value = args[i];
      TypeCode code = codes.get(i);
      switch (code) {
        case LT: case LTI:
          size += timeLength;
          break;
        case BX:
          size += 4 + ((byte[]) value).length;
          break;
        case AHVM: case PHVM:
          HandleValues m = (HandleValues) value;
          size += 4;
          for (int e = 0; e < m.size(); e++) {
            size += 8 + m.value(e).length;
          }
          break;
        case AHS: case FHS: case DHS: case RHS:
          size += 4 + 4L * ((int[]) value).length;
          break;
        case S: case URL:
          size += 4 + 2L * ((String) value).length();
          break;
        case MRH:
          size += 8 + ((RetractionHandle) value).payloadLength();
          break;
        case FASRI_REFLECT: case FASRI_RECEIVE: case FASRI_REMOVE:
          SupplementalInfo info = (SupplementalInfo) value;
          size += (code == TypeCode.FASRI_REMOVE ? 4 : 8) + (info.hasProducingFederate() ? 4 : 0)
              + (info.hasSentRegions() ? 4 + 4L * info.sentRegionCount() : 0);
          break;
        default:
          size += 4;
      }
    }
    return (int) Math.min(size, Integer.MAX_VALUE - 16);
  }

  public CallbackCall decodeCallback(CallbackMethod method, byte[] array) throws WireFormatException {
    if (array == null) {
      throw new WireFormatException("no array", 0);
    }
    WireReader reader = new WireReader(array, timeLength);
    int preMagic = reader.readInt();
    if (preMagic != PRE_MAGIC) {
      throw new WireFormatException(String.format("bad PRE_MAGIC 0x%08X", preMagic), 0);
    }
    int handle = reader.readInt();
    Object[] args = readArguments(reader, method.codes());
    int at = reader.offset();
    int postMagic = reader.readInt();
    if (postMagic != POST_MAGIC) {
      throw new WireFormatException(String.format("bad POST_MAGIC 0x%08X", postMagic), at);
    }
    reader.expectEnd();
    return new CallbackCall(method, handle, args);
  }

  private static void writeArguments(WireWriter writer, String method, List<TypeCode> codes, Object[] args) {
    if (args.length != codes.size()) {
      throw new IllegalArgumentException(
          method + " takes " + codes.size() + " arguments, not " + args.length);
    }
    for (int i = 0; i < args.length; i++) {
      try {
        codes.get(i).write(writer, args[i]);
      } catch (IllegalArgumentException e) {
        throw new IllegalArgumentException(method + " argument " + i + ": " + e.getMessage(), e);
      }
    }
  }

  private static Object[] readArguments(WireReader reader, List<TypeCode> codes) throws WireFormatException {
    Object[] args = new Object[codes.size()];
    for (int i = 0; i < args.length; i++) {
      args[i] = codes.get(i).read(reader);
    }
    return args;
  }
}
