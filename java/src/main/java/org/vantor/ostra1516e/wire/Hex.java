package org.vantor.ostra1516e.wire;

/** Hex formats and parses bytes as upper-case hexadecimal digits, for messages and tests. */
public final class Hex {
  private static final char[] DIGITS = "0123456789ABCDEF".toCharArray();

  private Hex() {}

  /** format returns two digits per byte, without separators. */
  public static String format(byte[] bytes) {
    char[] out = new char[bytes.length * 2];
    for (int i = 0; i < bytes.length; i++) {
      out[2 * i] = DIGITS[(bytes[i] >> 4) & 0xF];
      out[2 * i + 1] = DIGITS[bytes[i] & 0xF];
    }
    return new String(out);
  }

  /** parse reads pairs of hexadecimal digits; whitespace between pairs is ignored. */
  public static byte[] parse(String text) {
    String digits = text.replaceAll("\\s+", "");
    if (digits.length() % 2 != 0) {
      throw new IllegalArgumentException("odd number of hex digits: " + text);
    }
    byte[] out = new byte[digits.length() / 2];
    for (int i = 0; i < out.length; i++) {
      int hi = Character.digit(digits.charAt(2 * i), 16);
      int lo = Character.digit(digits.charAt(2 * i + 1), 16);
      if (hi < 0 || lo < 0) {
        throw new IllegalArgumentException("not a hex digit in: " + text);
      }
      out[i] = (byte) (hi << 4 | lo);
    }
    return out;
  }
}
