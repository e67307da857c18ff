package org.vantor.ostra1516e.wire;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assertions.fail;

import java.util.Arrays;
import java.util.List;
import java.util.Map;
import java.util.Random;
import org.junit.jupiter.api.Test;

/** Decoding of broken, truncated and hostile arrays, and the decoder's exact messages. */
class WireReaderTest {
  private static final WireCodec CODEC = new WireCodec(WireCodec.STANDARD_TIME_LENGTH);

  private static String failure(ServiceMethod method, String hex) {
    return assertThrows(WireFormatException.class, () -> CODEC.decodeService(method, Hex.parse(hex))).getMessage();
  }

  private static String failure(CallbackMethod method, String hex) {
    return assertThrows(WireFormatException.class, () -> CODEC.decodeCallback(method, Hex.parse(hex))).getMessage();
  }

  @Test
  void refusesHostileLengthsAndCountsWithExactMessages() {
    record Case(String what, ServiceMethod method, String hex, String message) {}
    List<Case> cases = List.of(
        new Case("empty array", ServiceMethod.destroyFederationExecution_S, "",
            "need 4 bytes, 0 remain at offset 0"),
        new Case("string longer than the array", ServiceMethod.destroyFederationExecution_S, "00000003 0061 0062",
            "need 6 bytes, 4 remain at offset 4"),
        new Case("negative string length", ServiceMethod.destroyFederationExecution_S, "FFFFFFFF",
            "negative length -1 at offset 0"),
        new Case("string length that overflows twice over", ServiceMethod.destroyFederationExecution_S,
            "7FFFFFFF 0000", "need 4294967294 bytes, 2 remain at offset 4"),
        new Case("negative handle count", ServiceMethod.createRegion_DHS, "80000000",
            "negative count -2147483648 at offset 0"),
        new Case("handle count beyond the array", ServiceMethod.createRegion_DHS, "7FFFFFFF 00000001",
            "count 2147483647 needs at least 8589934588 bytes, 4 remain at offset 0"),
        new Case("map count beyond the array", ServiceMethod.sendInteraction_ICH_PHVM_BX,
            "00000001 00000002 00000005 00000000", "count 2 needs at least 16 bytes, 8 remain at offset 4"),
        new Case("negative tag length", ServiceMethod.sendInteraction_ICH_PHVM_BX,
            "00000001 00000000 FFFFFFF0", "negative length -16 at offset 8"),
        new Case("module list count beyond the array", ServiceMethod.createFederationExecution_S_URLX_S,
            "00000000 00000002 00000000", "count 2 needs at least 8 bytes, 4 remain at offset 4"),
        new Case("short time", ServiceMethod.timeAdvanceRequest_LT, "00000000 0005",
            "need 8 bytes, 6 remain at offset 0"),
        new Case("retraction payload size above 2^31", ServiceMethod.retract_MRH, "00000001 FFFFFFFF 00",
            "need 4294967295 bytes, 1 remain at offset 8"),
        new Case("short range bounds", ServiceMethod.setRangeBounds_RH_DH_RB, "00000001 00000002 00000000 00000005",
            "need 8 bytes, 0 remain at offset 16"),
        new Case("bytes after the last value", ServiceMethod.resignFederationExecution_RA, "00000001 00",
            "1 unread bytes at offset 4"));
    for (Case c : cases) {
      assertEquals(c.message, failure(c.method, c.hex), c.what);
    }
  }

  @Test
  void refusesBadFramingWithExactMessages() {
    record Case(String what, String hex, String message) {}
    List<Case> cases = List.of(
        new Case("shorter than one word", "636261", "need 4 bytes, 3 remain at offset 0"),
        new Case("no handle", "63626160", "need 4 bytes, 0 remain at offset 4"),
        new Case("no POST_MAGIC", "63626160 00000002", "need 4 bytes, 0 remain at offset 8"),
        new Case("bad PRE_MAGIC", "60616263 00000002 59585756", "bad PRE_MAGIC 0x60616263 at offset 0"),
        new Case("bad POST_MAGIC", "63626160 00000002 56575859", "bad POST_MAGIC 0x56575859 at offset 8"),
        new Case("bytes after POST_MAGIC", "63626160 00000002 59585756 00", "1 unread bytes at offset 12"));
    for (Case c : cases) {
      assertEquals(c.message, failure(CallbackMethod.federationSaved_Native, c.hex), c.what);
    }
    // A callback whose arguments stop early reads its POST_MAGIC as an argument, then
    // finds the array short.
    assertEquals("need 4 bytes, 0 remain at offset 12",
        failure(CallbackMethod.startRegistrationForObjectClass_OCH_Native, "63626160 00000002 59585756"));
  }

  @Test
  void refusesNullArrays() {
    assertThrows(WireFormatException.class, () -> CODEC.decodeService(ServiceMethod.retract_MRH, null));
    assertThrows(WireFormatException.class, () -> CODEC.decodeCallback(CallbackMethod.federationSaved_Native, null));
  }

  @Test
  void everyStrictPrefixOfEveryGoldenArrayIsRefused() {
    for (Map.Entry<String, byte[]> row : GoldenVectors.byName("service").entrySet()) {
      ServiceMethod method = ServiceMethod.valueOf(row.getKey().split("\\.")[0]);
      byte[] whole = row.getValue();
      for (int length = 0; length < whole.length; length++) {
        byte[] prefix = Arrays.copyOf(whole, length);
        assertThrows(WireFormatException.class, () -> CODEC.decodeService(method, prefix),
            row.getKey() + " cut to " + length);
      }
    }
    for (Map.Entry<String, byte[]> row : GoldenVectors.byName("callback").entrySet()) {
      CallbackMethod method = CallbackMethod.valueOf(row.getKey());
      byte[] whole = row.getValue();
      for (int length = 0; length < whole.length; length++) {
        byte[] prefix = Arrays.copyOf(whole, length);
        assertThrows(WireFormatException.class, () -> CODEC.decodeCallback(method, prefix),
            row.getKey() + " cut to " + length);
      }
    }
  }

  /**
   * Golden arrays with words overwritten by hostile values (negative, huge, off by one) or
   * random bytes: the decoder either decodes them or refuses them with its own exception,
   * never anything else, and never allocates for a count it cannot satisfy.
   */
  @Test
  void corruptedArraysNeverEscapeAsOtherExceptions() {
    int[] hostile = {-1, Integer.MIN_VALUE, Integer.MAX_VALUE, 0x7FFFFFFE / 2, 0x10000, 1, 0};
    Random random = new Random(1516);
    int refused = 0;
    int decoded = 0;
    for (GoldenVectors.Row row : GoldenVectors.rows()) {
      if (row.kind().equals("code")) {
        continue;
      }
      for (int round = 0; round < 200; round++) {
        byte[] bytes = row.bytes().clone();
        int at = random.nextInt(Math.max(1, bytes.length - 3));
        if (round % 2 == 0 && bytes.length >= 4) {
          int v = hostile[random.nextInt(hostile.length)];
          for (int i = 0; i < 4 && at + i < bytes.length; i++) {
            bytes[at + i] = (byte) (v >>> (24 - 8 * i));
          }
        } else {
          bytes[at] = (byte) random.nextInt(256);
        }
        try {
          if (row.kind().equals("service")) {
            CODEC.decodeService(ServiceMethod.valueOf(row.name().split("\\.")[0]), bytes);
          } else {
            CODEC.decodeCallback(CallbackMethod.valueOf(row.name()), bytes);
          }
          decoded++;
        } catch (WireFormatException e) {
          assertTrue(e.getMessage().matches(".* at offset \\d+"), e.getMessage());
          assertTrue(e.offset() >= 0 && e.offset() <= bytes.length, e.getMessage());
          refused++;
        } catch (RuntimeException | Error e) {
          fail(row.name() + " corrupted to " + Hex.format(bytes) + " threw " + e, e);
        }
      }
    }
    assertTrue(refused > 1000 && decoded > 1000, refused + " refused, " + decoded + " decoded");
  }

  @Test
  void decodesContainersInWireOrderKeepingDuplicates() throws Exception {
    // Set semantics belong to the consumer: the reader hands over exactly what came.
    ServiceCall call = CODEC.decodeService(ServiceMethod.updateAttributeValues_OIH_AHVM_BX,
        Hex.parse("00000009 00000002 00000005 00000001 AA 00000005 00000001 BB 00000000"));
    assertEquals(HandleValues.of(5, new byte[] {(byte) 0xAA}, 5, new byte[] {(byte) 0xBB}),
        call.arg(1));
    call = CODEC.decodeService(ServiceMethod.publishObjectClassAttributes_OCH_AHS,
        Hex.parse("00000001 00000003 00000007 00000003 00000007"));
    assertArrayEquals(new int[] {7, 3, 7}, (int[]) call.arg(1));
  }

  @Test
  void readsAnyNonZeroFlagAsSet() throws Exception {
    CallbackCall call = CODEC.decodeCallback(CallbackMethod.removeObjectInstance_OIH_BX_OT_FASRI_Native,
        Hex.parse("63626160 00000002 00000001 00000000 00000000 FFFFFFFF 00000004 59585756"));
    assertEquals(new SupplementalInfo(true, 4, false, null), call.arg(3));
    ServiceCall service = CODEC.decodeService(ServiceMethod.synchronizationPointAchieved_S_Z,
        Hex.parse("00000000 00000002"));
    assertEquals(true, service.arg(1));
  }

  @Test
  void timeLengthFollowsTheFederationsRepresentation() throws Exception {
    WireCodec narrow = new WireCodec(4);
    ServiceCall call = narrow.decodeService(ServiceMethod.timeAdvanceRequest_LT, Hex.parse("01020304"));
    assertArrayEquals(Hex.parse("01020304"), (byte[]) call.arg(0));
    assertThrows(WireFormatException.class,
        () -> CODEC.decodeService(ServiceMethod.timeAdvanceRequest_LT, Hex.parse("01020304")));
    IllegalArgumentException e = assertThrows(IllegalArgumentException.class,
        () -> CODEC.encodeService(ServiceMethod.timeAdvanceRequest_LT, (Object) new byte[4]));
    assertEquals("timeAdvanceRequest_LT argument 0: a time or interval takes 8 bytes, not 4", e.getMessage());
  }

  @Test
  void writerRefusesValuesThatDoNotFitTheCodes() {
    record Case(String what, ServiceMethod method, Object[] args, String message) {}
    List<Case> cases = List.of(
        new Case("too few", ServiceMethod.deleteRegion_RH, new Object[0], "deleteRegion_RH takes 1 arguments, not 0"),
        new Case("wrong class", ServiceMethod.deleteRegion_RH, new Object[] {"7"},
            "deleteRegion_RH argument 0: RH takes a Integer, not String"),
        new Case("null", ServiceMethod.destroyFederationExecution_S, new Object[] {null},
            "destroyFederationExecution_S argument 0: S takes a String, not null"),
        new Case("list of the wrong elements", ServiceMethod.reserveMultipleObjectInstanceName_S,
            new Object[] {List.of(1)}, "reserveMultipleObjectInstanceName_S argument 0: S_SET cannot hold [1]"));
    for (Case c : cases) {
      IllegalArgumentException e =
          assertThrows(IllegalArgumentException.class, () -> CODEC.encodeService(c.method, c.args), c.what);
      assertEquals(c.message, e.getMessage(), c.what);
    }
    assertThrows(IllegalArgumentException.class, () -> CODEC.encodeService(ServiceMethod.disconnect));
    assertThrows(IllegalArgumentException.class,
        () -> CODEC.encodeCallback(CallbackMethod.removeObjectInstance_OIH_BX_OT_FASRI_Native, 2, 1, new byte[0], 0,
            new SupplementalInfo(false, 0, true, new int[] {1})));
  }

  @Test
  void stringsCrossAsUtf16UnitsUnchecked() throws Exception {
    // A lone surrogate is one unit like any other; nothing is validated or replaced.
    String lone = "a\uD800b";
    byte[] array = CODEC.encodeService(ServiceMethod.destroyFederationExecution_S, lone);
    assertArrayEquals(Hex.parse("00000003 0061 D800 0062"), array);
    assertEquals(lone, CODEC.decodeService(ServiceMethod.destroyFederationExecution_S, array).arg(0));
  }
}
