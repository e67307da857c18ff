package org.vantor.ostra1516e.wire;

import java.util.ArrayList;
import java.util.List;
import java.util.Set;

/**
 * TypeCode lists the argument codes that Java method names spell after the operation's
 * name, with the Java value each one reads as and writes from. Handles and enumerations
 * are their 32-bit wire numbers (Integer); handle sets are int[] in wire order; BX, LT
 * and LTI are byte[].
 *
 * <p>Three codes take a form that the name alone does not show; {@link #ofMethod} picks
 * it: S is the string set {@link #S_SET} in the four multiple-name methods, and FASRI is
 * {@link #FASRI_REFLECT}, {@link #FASRI_RECEIVE} or {@link #FASRI_REMOVE} by callback.
 */
public enum TypeCode {
  S(String.class, WireReader::readString, (w, v) -> w.writeString((String) v)),
  S_SET(List.class, WireReader::readStrings, (w, v) -> w.writeStrings(listOf(v))),
  URL(String.class, WireReader::readString, (w, v) -> w.writeString((String) v)),
  URLX(List.class, WireReader::readStrings, (w, v) -> w.writeStrings(listOf(v))),
  BX(byte[].class, WireReader::readBytes, (w, v) -> w.writeBytes((byte[]) v)),
  OIH(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  OCH(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  ICH(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  AH(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  PH(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  FH(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  DH(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  RH(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  AHS(int[].class, WireReader::readHandles, (w, v) -> w.writeHandles((int[]) v)),
  FHS(int[].class, WireReader::readHandles, (w, v) -> w.writeHandles((int[]) v)),
  DHS(int[].class, WireReader::readHandles, (w, v) -> w.writeHandles((int[]) v)),
  RHS(int[].class, WireReader::readHandles, (w, v) -> w.writeHandles((int[]) v)),
  AHVM(HandleValues.class, WireReader::readHandleValues, (w, v) -> w.writeHandleValues((HandleValues) v)),
  PHVM(HandleValues.class, WireReader::readHandleValues, (w, v) -> w.writeHandleValues((HandleValues) v)),
  ASRSPL(List.class, WireReader::readAttributeRegions, (w, v) -> w.writeAttributeRegions(listOf(v))),
  Z(Boolean.class, WireReader::readBoolean, (w, v) -> w.writeBoolean((Boolean) v)),
  D(Double.class, WireReader::readDouble, (w, v) -> w.writeDouble((Double) v)),
  RB(RangeBounds.class, WireReader::readRangeBounds, (w, v) -> w.writeRangeBounds((RangeBounds) v)),
  LT(byte[].class, WireReader::readTime, (w, v) -> w.writeTime((byte[]) v)),
  LTI(byte[].class, WireReader::readTime, (w, v) -> w.writeTime((byte[]) v)),
  MRH(RetractionHandle.class, WireReader::readRetractionHandle,
      (w, v) -> w.writeRetractionHandle((RetractionHandle) v)),
  OT(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  TTH(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  RA(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  SG(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  CM(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  FA(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  SPFR(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  SFR(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  RFR(Integer.class, WireReader::readInt, TypeCode::writeNumber),
  FASRI_REFLECT(SupplementalInfo.class, WireReader::readSupplementalInfo,
      (w, v) -> w.writeSupplementalInfo((SupplementalInfo) v)),
  FASRI_RECEIVE(SupplementalInfo.class, WireReader::readSupplementalInfo,
      (w, v) -> w.writeSupplementalInfo((SupplementalInfo) v)),
  FASRI_REMOVE(SupplementalInfo.class, WireReader::readSupplementalRemoveInfo,
      (w, v) -> w.writeSupplementalRemoveInfo((SupplementalInfo) v)),
  FEIS(List.class, WireReader::readFederationExecutions,
      (w, v) -> w.writeFederationExecutions(listOf(v))),
  FRSX(List.class, WireReader::readRestoreStatuses, (w, v) -> w.writeRestoreStatuses(listOf(v))),
  FHSSPX(List.class, WireReader::readSaveStatuses, (w, v) -> w.writeSaveStatuses(listOf(v)));

  private interface Reading {
    Object read(WireReader reader) throws WireFormatException;
  }

  private interface Writing {
    void write(WireWriter writer, Object value);
  }

  private static final Set<String> STRING_SET_OPERATIONS = Set.of(
      "reserveMultipleObjectInstanceName",
      "releaseMultipleObjectInstanceName",
      "multipleObjectInstanceNameReservationSucceeded",
      "multipleObjectInstanceNameReservationFailed");

  private final Class<?> valueType;
  private final Reading reading;
  private final Writing writing;

  TypeCode(Class<?> valueType, Reading reading, Writing writing) {
    this.valueType = valueType;
    this.reading = reading;
    this.writing = writing;
  }

  /** valueType is the class of the Java value that this code reads and writes. */
  public Class<?> valueType() {
    return valueType;
  }

  public Object read(WireReader reader) throws WireFormatException {
    return reading.read(reader);
  }

  /** write appends value; a value of the wrong class throws IllegalArgumentException. */
  public void write(WireWriter writer, Object value) {
    if (!valueType.isInstance(value)) {
      throw new IllegalArgumentException(name() + " takes a " + valueType.getSimpleName() + ", not "
          + (value == null ? "null" : value.getClass().getSimpleName()));
    }
    try {
      writing.write(writer, value);
    } catch (ClassCastException | NullPointerException e) {
      throw new IllegalArgumentException(name() + " cannot hold " + value, e);
    }
  }

  /**
   * ofMethod returns the codes that a Java method name spells, in order: the words after
   * the first underscore, without a final "Native".
   */
  public static List<TypeCode> ofMethod(String javaName) {
    String[] words = javaName.split("_");
    String operation = words[0];
    int end = words[words.length - 1].equals("Native") ? words.length - 1 : words.length;
    List<TypeCode> codes = new ArrayList<>();
    for (int i = 1; i < end; i++) {
      codes.add(formOf(operation, words[i]));
    }
    return List.copyOf(codes);
  }

  private static TypeCode formOf(String operation, String word) {
    if (word.equals("S") && STRING_SET_OPERATIONS.contains(operation)) {
      return S_SET;
    }
    if (word.equals("FASRI")) {
      switch (operation) {
        case "reflectAttributeValues": return FASRI_REFLECT;
        case "receiveInteraction": return FASRI_RECEIVE;
        case "removeObjectInstance": return FASRI_REMOVE;
        default: throw new IllegalArgumentException("FASRI in " + operation);
      }
    }
    try {
      return valueOf(word);
    } catch (IllegalArgumentException e) {
      throw new IllegalArgumentException("not a type code: " + word + " in " + operation);
    }
  }

  private static void writeNumber(WireWriter writer, Object value) {
    writer.writeInt((Integer) value);
  }

  @SuppressWarnings("unchecked")
  private static <T> List<T> listOf(Object value) {
    return (List<T>) value;
  }
}
