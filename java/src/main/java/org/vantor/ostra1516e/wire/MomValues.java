package org.vantor.ostra1516e.wire;

import java.io.ByteArrayOutputStream;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;
import java.util.function.ToIntFunction;

/**
 * MomValues writes and reads the values of the management object model in the data types
 * its classes declare: handles as variable arrays of the handle's four bytes, strings as
 * HLAunicodeString, booleans, counts and enumerations as 32-bit big-endian integers, logical
 * times and intervals as variable arrays of their encodings, and the lists and records built
 * of them, each element aligned to four bytes as variable arrays and fixed records align.
 *
 * <p>A reader that meets a value shorter than its type says, or with bytes left over, throws
 * {@link Malformed} naming what it expected.
 */
public final class MomValues {
  private MomValues() {
  }

  /** Malformed is a value that does not hold the data type its parameter declares. */
  public static final class Malformed extends Exception {
    private static final long serialVersionUID = 1L;

    public Malformed(String message) {
      super(message);
    }
  }

  /** Writer builds one value; fields and elements of four-byte types are aligned to four bytes. */
  public static final class Writer {
    private final ByteArrayOutputStream out = new ByteArrayOutputStream(32);

    public Writer int32(int value) {
      align();
      out.write(value >>> 24);
      out.write(value >>> 16);
      out.write(value >>> 8);
      out.write(value);
      return this;
    }

    public Writer bool(boolean value) {
      return int32(value ? 1 : 0);
    }

    public Writer handle(int handle) {
      return int32(4).int32(handle);
    }

    public Writer bytes(byte[] value) {
      int32(value.length);
      out.writeBytes(value);
      return this;
    }

    public Writer string(String value) {
      int32(value.length());
      for (int i = 0; i < value.length(); i++) {
        char c = value.charAt(i);
        out.write(c >>> 8);
        out.write(c);
      }
      return this;
    }

    public Writer handles(int[] handles) {
      int32(handles.length);
      for (int handle : handles) {
        handle(handle);
      }
      return this;
    }

    public Writer strings(List<String> values) {
      int32(values.size());
      values.forEach(this::string);
      return this;
    }

    private void align() {
      while (out.size() % 4 != 0) {
        out.write(0);
      }
    }

    public byte[] done() {
      return out.toByteArray();
    }
  }

  public static byte[] int32(int value) {
    return new Writer().int32(value).done();
  }

  public static byte[] bool(boolean value) {
    return int32(value ? 1 : 0);
  }

  public static byte[] handle(int handle) {
    return new Writer().handle(handle).done();
  }

  public static byte[] string(String value) {
    return new Writer().string(value).done();
  }

  public static byte[] bytes(byte[] value) {
    return new Writer().bytes(value).done();
  }

  public static byte[] handles(int[] handles) {
    return new Writer().handles(handles).done();
  }

  public static byte[] strings(List<String> values) {
    return new Writer().strings(values).done();
  }

  /** Reader takes one value apart; {@link #end} checks that nothing is left. */
  public static final class Reader {
    private final byte[] data;
    private final String what;
    private int at;

    public Reader(byte[] data, String what) {
      this.data = data;
      this.what = what;
    }

    public int int32() throws Malformed {
      while (at % 4 != 0 && at < data.length) {
        at++;
      }
      if (data.length - at < 4) {
        throw new Malformed(what + " ends after " + data.length + " bytes, inside a 32-bit integer");
      }
      int value = (data[at] & 0xff) << 24 | (data[at + 1] & 0xff) << 16 | (data[at + 2] & 0xff) << 8
          | data[at + 3] & 0xff;
      at += 4;
      return value;
    }

    public byte[] bytes() throws Malformed {
      int length = int32();
      if (length < 0 || length > data.length - at) {
        throw new Malformed(what + " claims " + length + " bytes where " + (data.length - at) + " are left");
      }
      byte[] value = java.util.Arrays.copyOfRange(data, at, at + length);
      at += length;
      return value;
    }

    public int handle() throws Malformed {
      byte[] bytes = bytes();
      if (bytes.length != 4) {
        throw new Malformed(what + " holds a handle of " + bytes.length + " bytes; a handle has 4");
      }
      return (bytes[0] & 0xff) << 24 | (bytes[1] & 0xff) << 16 | (bytes[2] & 0xff) << 8 | bytes[3] & 0xff;
    }

    public boolean bool() throws Malformed {
      int value = int32();
      if (value != 0 && value != 1) {
        throw new Malformed(what + " holds " + value + " where a boolean (0 or 1) belongs");
      }
      return value == 1;
    }

    public String string() throws Malformed {
      int length = int32();
      if (length < 0 || length > (data.length - at) / 2) {
        throw new Malformed(what + " claims " + length + " characters where " + (data.length - at) / 2
            + " are left");
      }
      String value = new String(data, at, 2 * length, StandardCharsets.UTF_16BE);
      at += 2 * length;
      return value;
    }

    public int[] handles() throws Malformed {
      int count = int32();
      if (count < 0 || count > (data.length - at) / 8) {
        throw new Malformed(what + " claims " + count + " handles where at most " + (data.length - at) / 8
            + " fit");
      }
      List<Integer> handles = new ArrayList<>();
      for (int i = 0; i < count; i++) {
        handles.add(handle());
      }
      return handles.stream().mapToInt(Integer::intValue).toArray();
    }

    public void end() throws Malformed {
      if (at != data.length) {
        throw new Malformed(what + " has " + (data.length - at) + " bytes beyond its value");
      }
    }
  }

  /** Field reads one value of a parameter. */
  @FunctionalInterface
  public interface Field<T> {
    T read(Reader reader) throws Malformed;
  }

  /**
   * Parameters reads an interaction's parameters by name, each one whole: a value with
   * bytes beyond it is malformed too.
   */
  public static final class Parameters {
    private final ToIntFunction<String> handleOf;
    private final HandleValues values;

    /** Parameters reads values, whose handles handleOf gives by name (negative: no such parameter). */
    public Parameters(ToIntFunction<String> handleOf, HandleValues values) {
      this.handleOf = handleOf;
      this.values = values;
    }

    public HandleValues values() {
      return values;
    }

    private int index(String name) {
      int handle = handleOf.applyAsInt(name);
      for (int i = 0; handle >= 0 && i < values.size(); i++) {
        if (values.handle(i) == handle) {
          return i;
        }
      }
      return -1;
    }

    public boolean has(String name) {
      return index(name) >= 0;
    }

    public <T> T get(String name, Field<T> field) throws Malformed {
      int i = index(name);
      if (i < 0) {
        throw new Malformed("parameter " + name + " is missing");
      }
      Reader reader = new Reader(values.value(i), "parameter " + name);
      T value = field.read(reader);
      reader.end();
      return value;
    }
  }
}
