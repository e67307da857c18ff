package org.vantor.ostra1516e.time;

import java.nio.ByteBuffer;

/**
 * TimeRepresentation reads and does arithmetic on the encoded times and intervals of one of
 * the two standard representations, both eight big-endian bytes: HLAinteger64Time (a
 * signed count) and HLAfloat64Time (a binary64 double). The core keeps every time as an
 * ordinal, a long that orders exactly as the times do, so comparisons are plain long
 * comparisons whatever the representation. Arithmetic saturates at the ends: a time plus
 * an interval never passes the final time and never wraps.
 *
 * <p>Thread-safety: immutable.
 */
public abstract class TimeRepresentation {
  public static final String INTEGER = "HLAinteger64Time";
  public static final String FLOAT = "HLAfloat64Time";
  public static final int LENGTH = 8;

  private static final TimeRepresentation INTEGER64 = new Integer64();
  private static final TimeRepresentation FLOAT64 = new Float64();

  /** named returns the representation of that name (the empty name is HLAfloat64Time), or null. */
  public static TimeRepresentation named(String name) {
    if (name.equals(INTEGER)) {
      return INTEGER64;
    }
    return name.isEmpty() || name.equals(FLOAT) ? FLOAT64 : null;
  }

  /** ordinal reads an encoded time; null when the bytes are not a time of this representation. */
  public abstract Long ordinal(byte[] time);

  public abstract byte[] encode(long ordinal);

  /** interval reads an encoded interval as a number of this representation; null when invalid or negative. */
  public abstract Double interval(byte[] interval);

  /** isZero tells whether an (already valid) interval is zero. */
  public boolean isZero(byte[] interval) {
    Double value = interval(interval);
    return value != null && value == 0;
  }

  /** plus is ordinal advanced by a valid interval, at most the final time. */
  public abstract long plus(long ordinal, byte[] interval);

  /** minus is ordinal moved back by a valid interval, at least the smallest time. */
  public abstract long minus(long ordinal, byte[] interval);

  /** between is the encoded interval from one time to a later one (zero when to is not later). */
  public abstract byte[] between(long from, long to);

  /** initial is the time every federate starts at. */
  public abstract long initial();

  static long raw(byte[] bytes) {
    return ByteBuffer.wrap(bytes).getLong();
  }

  static byte[] bytes(long raw) {
    return ByteBuffer.allocate(LENGTH).putLong(raw).array();
  }

  private static final class Integer64 extends TimeRepresentation {
    @Override
    public Long ordinal(byte[] time) {
      return time != null && time.length == LENGTH ? raw(time) : null;
    }

    @Override
    public byte[] encode(long ordinal) {
      return bytes(ordinal);
    }

    @Override
    public Double interval(byte[] interval) {
      if (interval == null || interval.length != LENGTH || raw(interval) < 0) {
        return null;
      }
      return (double) raw(interval);
    }

    @Override
    public boolean isZero(byte[] interval) {
      return interval.length == LENGTH && raw(interval) == 0;
    }

    @Override
    public long plus(long ordinal, byte[] interval) {
      long sum = ordinal + raw(interval);
      return sum < ordinal ? Long.MAX_VALUE : sum;
    }

    @Override
    public long minus(long ordinal, byte[] interval) {
      long difference = ordinal - raw(interval);
      return difference > ordinal ? Long.MIN_VALUE : difference;
    }

    @Override
    public byte[] between(long from, long to) {
      long difference = to - from;
      return bytes(to <= from ? 0 : difference < 0 ? Long.MAX_VALUE : difference);
    }

    @Override
    public long initial() {
      return 0;
    }
  }

  /** Doubles ordered as longs: the bits of non-negative values, the others' with the low 63 bits flipped. */
  private static final class Float64 extends TimeRepresentation {
    private static long order(double value) {
      long bits = Double.doubleToLongBits(value == 0 ? 0.0 : value);
      return bits < 0 ? bits ^ Long.MAX_VALUE : bits;
    }

    private static double value(long ordinal) {
      return Double.longBitsToDouble(ordinal < 0 ? ordinal ^ Long.MAX_VALUE : ordinal);
    }

    @Override
    public Long ordinal(byte[] time) {
      if (time == null || time.length != LENGTH) {
        return null;
      }
      double value = Double.longBitsToDouble(raw(time));
      return Double.isNaN(value) || Double.isInfinite(value) ? null : order(value);
    }

    @Override
    public byte[] encode(long ordinal) {
      return bytes(Double.doubleToLongBits(value(ordinal)));
    }

    @Override
    public Double interval(byte[] interval) {
      if (interval == null || interval.length != LENGTH) {
        return null;
      }
      double value = Double.longBitsToDouble(raw(interval));
      return Double.isNaN(value) || Double.isInfinite(value) || value < 0 ? null : value;
    }

    // A non-zero interval too small to change a large time still moves it to the next
    // representable time, as the library's time arithmetic does: otherwise a regulator's
    // promise would never pass its own time and nobody could be granted beyond it.
    @Override
    public long plus(long ordinal, byte[] interval) {
      double time = value(ordinal);
      double step = Double.longBitsToDouble(raw(interval));
      double sum = time + step;
      if (sum == time && step != 0) {
        sum = Math.nextUp(time);
      }
      return order(Math.min(sum, Double.MAX_VALUE));
    }

    @Override
    public long minus(long ordinal, byte[] interval) {
      double time = value(ordinal);
      double step = Double.longBitsToDouble(raw(interval));
      double difference = time - step;
      if (difference == time && step != 0) {
        difference = Math.nextDown(time);
      }
      return order(Math.max(difference, -Double.MAX_VALUE));
    }

    @Override
    public byte[] between(long from, long to) {
      double difference = to <= from ? 0 : Math.min(value(to) - value(from), Double.MAX_VALUE);
      return bytes(Double.doubleToLongBits(difference));
    }

    @Override
    public long initial() {
      return order(0.0);
    }
  }
}
