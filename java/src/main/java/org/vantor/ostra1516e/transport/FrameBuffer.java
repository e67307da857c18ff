package org.vantor.ostra1516e.transport;

import java.nio.ByteBuffer;
import java.nio.CharBuffer;
import java.nio.charset.CharacterCodingException;
import java.nio.charset.StandardCharsets;
import java.util.Arrays;
import java.util.List;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.fom.FomModule;
import org.vantor.ostra1516e.wire.FederationExecution;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.RetractionHandle;

/**
 * FrameBuffer is a growing byte array that {@link MessageCodec} appends frames to. A
 * transport encodes as many frames as it has into one buffer, writes {@link #array()} from 0
 * to {@link #length()} in one go, and {@link #clear()}s the buffer to reuse it; the array
 * only grows, so a connection that keeps its buffer stops allocating once it has seen its
 * largest batch.
 *
 * <p>The value writers lay out the payload types of {@link MessageCodec}'s class comment. A
 * null where the layout has no null, or a string that UTF-8 cannot carry, is a programming
 * error: IllegalArgumentException or NullPointerException, and the codec takes the partial
 * frame back out.
 *
 * <p>Thread-safety: none; one thread at a time, usually the connection's writer.
 */
public final class FrameBuffer {
  /** The largest array the JVM reliably allocates. */
  private static final int MAX_CAPACITY = Integer.MAX_VALUE - 8;
  private static final int NULL_LENGTH = -1;

  private byte[] bytes;
  private int length;

  public FrameBuffer() {
    this(256);
  }

  public FrameBuffer(int initialCapacity) {
    bytes = new byte[Math.max(initialCapacity, 16)];
  }

  /** length is the number of bytes written since the last clear. */
  public int length() {
    return length;
  }

  /** array is the buffer's array, valid from 0 to length() until the next write. */
  public byte[] array() {
    return bytes;
  }

  /** asByteBuffer wraps the bytes written, for a channel write; valid until the next write. */
  public ByteBuffer asByteBuffer() {
    return ByteBuffer.wrap(bytes, 0, length);
  }

  /** toByteArray is a copy of the bytes written. */
  public byte[] toByteArray() {
    return Arrays.copyOf(bytes, length);
  }

  /** clear forgets what was written and keeps the array. */
  public void clear() {
    length = 0;
  }

  void truncate(int newLength) {
    length = newLength;
  }

  private void ensure(long more) {
    if (more > bytes.length - length) {
      if (more > MAX_CAPACITY - length) {
        throw new IllegalArgumentException("a frame buffer cannot grow beyond " + MAX_CAPACITY + " bytes");
      }
      int grown = (int) Math.min(MAX_CAPACITY, Math.max(2L * bytes.length, length + more));
      bytes = Arrays.copyOf(bytes, grown);
    }
  }

  // ---- numbers, big-endian

  void u8(int v) {
    ensure(1);
    bytes[length++] = (byte) v;
  }

  void u16(int v) {
    ensure(2);
    bytes[length] = (byte) (v >>> 8);
    bytes[length + 1] = (byte) v;
    length += 2;
  }

  void i32(int v) {
    ensure(4);
    putI32(length, v);
    length += 4;
  }

  /** putI32 overwrites a word already written, such as a frame's length. */
  void putI32(int at, int v) {
    bytes[at] = (byte) (v >>> 24);
    bytes[at + 1] = (byte) (v >>> 16);
    bytes[at + 2] = (byte) (v >>> 8);
    bytes[at + 3] = (byte) v;
  }

  void bool(boolean v) {
    u8(v ? 1 : 0);
  }

  // ---- blocks: a u32 length or count, 0xFFFFFFFF for null in the ...OrNull forms

  private static <T> T required(T value) {
    if (value == null) {
      throw new NullPointerException("null where the frame layout has no null");
    }
    return value;
  }

  void raw(byte[] v) {
    ensure(v.length);
    System.arraycopy(v, 0, bytes, length, v.length);
    length += v.length;
  }

  void bytes(byte[] v) {
    i32(required(v).length);
    raw(v);
  }

  void bytesOrNull(byte[] v) {
    if (v == null) {
      i32(NULL_LENGTH);
    } else {
      bytes(v);
    }
  }

  void string(String s) {
    int n = required(s).length();
    ensure(4L + n);
    int at = length;
    int p = at + 4;
    for (int i = 0; i < n; i++) {
      char c = s.charAt(i);
      if (c >= 0x80) {
        nonAscii(s);
        return;
      }
      bytes[p++] = (byte) c;
    }
    putI32(at, n);
    length = p;
  }

  private void nonAscii(String s) {
    ByteBuffer utf8;
    try {
      // The encoder reports an unpaired surrogate where String.getBytes would send '?'.
      utf8 = StandardCharsets.UTF_8.newEncoder().encode(CharBuffer.wrap(s));
    } catch (CharacterCodingException e) {
      throw new IllegalArgumentException("a string holds an unpaired surrogate, which UTF-8 cannot carry");
    }
    int n = utf8.remaining();
    i32(n);
    ensure(n);
    utf8.get(bytes, length, n);
    length += n;
  }

  void stringOrNull(String s) {
    if (s == null) {
      i32(NULL_LENGTH);
    } else {
      string(s);
    }
  }

  void ints(int[] v) {
    i32(required(v).length);
    ensure(4L * v.length);
    for (int x : v) {
      putI32(length, x);
      length += 4;
    }
  }

  void intsOrNull(int[] v) {
    if (v == null) {
      i32(NULL_LENGTH);
    } else {
      ints(v);
    }
  }

  void strings(List<String> v) {
    i32(required(v).size());
    for (String s : v) {
      string(s);
    }
  }

  // ---- composite values

  void values(HandleValues v) {
    int n = required(v).size();
    i32(n);
    for (int i = 0; i < n; i++) {
      i32(v.handle(i));
      bytes(v.value(i));
    }
  }

  void retraction(RetractionHandle h) {
    i32(required(h).serial());
    bytes(h.payload());
  }

  /** A u8 presence flag, then the handle when it is 1. */
  void retractionOrNull(RetractionHandle h) {
    bool(h != null);
    if (h != null) {
      retraction(h);
    }
  }

  void executions(List<FederationExecution> v) {
    i32(required(v).size());
    for (FederationExecution e : v) {
      string(required(e).federationExecutionName());
      string(e.logicalTimeImplementationName());
    }
  }

  void module(FomModule m) {
    string(required(m).designator());
    bytes(m.content());
  }

  void modules(List<FomModule> v) {
    i32(required(v).size());
    for (FomModule m : v) {
      module(m);
    }
  }

  /** A model travels as what it was merged from; the receiver merges it again. */
  void model(FomModel m) {
    module(required(m).mim());
    modules(m.modules());
  }
}
