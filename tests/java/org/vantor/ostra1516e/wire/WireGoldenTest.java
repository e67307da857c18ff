package org.vantor.ostra1516e.wire;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.ByteBuffer;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.DynamicTest;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.TestFactory;

/**
 * The codec against the golden vectors shared with the C++ tests: the writer produces
 * exactly the golden bytes, and the reader turns them back into equal values, consuming
 * every byte.
 */
class WireGoldenTest {
  private static final WireCodec CODEC = new WireCodec(WireCodec.STANDARD_TIME_LENGTH);

  private static byte[] time(long value) {
    return ByteBuffer.allocate(8).putLong(value).array();
  }

  /** The values of the labelled code rows, by row name. */
  private static final Map<String, Object> CODE_VALUES = new LinkedHashMap<>();

  static {
    CODE_VALUES.put("S.abc", "abc");
    CODE_VALUES.put("S.empty", "");
    CODE_VALUES.put("S.non_bmp", new String(Character.toChars(0x1F600)));
    CODE_VALUES.put("URLX.empty", List.of());
    CODE_VALUES.put("BX.empty", new byte[0]);
    CODE_VALUES.put("BX.00_ff", new byte[] {0x00, (byte) 0xFF});
    CODE_VALUES.put("Z.true", true);
    CODE_VALUES.put("Z.false", false);
    CODE_VALUES.put("D.one", 1.0);
    CODE_VALUES.put("D.half", 0.5);
    CODE_VALUES.put("RB.5_10", new RangeBounds(5, 10));
    CODE_VALUES.put("OT.TIMESTAMP", 1);
    CODE_VALUES.put("OT.RECEIVE", 0);
    CODE_VALUES.put("TTH.BEST_EFFORT", 2);
    CODE_VALUES.put("SG.SUPPORT_SERVICES", 7);
    CODE_VALUES.put("CM.HLA_EVOKED", 1);
    CODE_VALUES.put("CM.HLA_IMMEDIATE", 2);
    CODE_VALUES.put("AHS.7_3", new int[] {3, 7});
    CODE_VALUES.put("AHVM.5_0102", HandleValues.of(5, new byte[] {1, 2}));
    CODE_VALUES.put("OIH.minus_one", -1);
    CODE_VALUES.put("LT.integer_5", time(5));
    CODE_VALUES.put("MRH.invalid", new RetractionHandle(0, new byte[0]));
    CODE_VALUES.put("MRH.serial_7", new RetractionHandle(7, new byte[] {1, 2, 3}));
    CODE_VALUES.put("FASRI_REFLECT.regions_only", new SupplementalInfo(false, 0, true, new int[] {9}));
    CODE_VALUES.put("FASRI_REFLECT.producer_only", new SupplementalInfo(true, 3, false, null));
    CODE_VALUES.put("FASRI_REMOVE.none", SupplementalInfo.none());
    CODE_VALUES.put("FASRI_REMOVE.producer_4", new SupplementalInfo(true, 4, false, null));
    CODE_VALUES.put("FRSX.empty", List.of());
  }

  /** The arguments of the labelled service rows, by row name. */
  private static final Map<String, Object[]> SERVICE_EXAMPLES = Map.of(
      "joinFederationExecution_S_S_S_URLX.ab_xyz_Fed1", new Object[] {"ab", "xyz", "Fed1", List.of()},
      "subscribeInteractionClassWithRegions_ICH_Z_RHS.4_true_9", new Object[] {4, true, new int[] {9}},
      "evokeCallback_D.half", new Object[] {0.5},
      "connect_FA_CM_S.handle_1_evoked", new Object[] {1, 1, ""},
      "timeAdvanceRequest_LT.integer_5", new Object[] {time(5)});

  @Test
  void everyLabelledRowHasAValueAndEveryValueARow() {
    assertEquals(CODE_VALUES.keySet(), GoldenVectors.byName("code").keySet());
    Map<String, byte[]> services = GoldenVectors.byName("service");
    for (String name : SERVICE_EXAMPLES.keySet()) {
      assertTrue(services.containsKey(name), "no golden row for " + name);
    }
  }

  @TestFactory
  List<DynamicTest> codeRows() {
    List<DynamicTest> tests = new ArrayList<>();
    GoldenVectors.byName("code").forEach((name, bytes) -> tests.add(DynamicTest.dynamicTest(name, () -> {
      TypeCode code = TypeCode.valueOf(name.substring(0, name.indexOf('.')));
      Object value = CODE_VALUES.get(name);
      WireWriter writer = new WireWriter(WireCodec.STANDARD_TIME_LENGTH);
      code.write(writer, value);
      assertEquals(Hex.format(bytes), Hex.format(writer.toByteArray()));
      WireReader reader = new WireReader(bytes, WireCodec.STANDARD_TIME_LENGTH);
      assertTrue(Arrays.deepEquals(new Object[] {value}, new Object[] {code.read(reader)}));
      reader.expectEnd();
    })));
    return tests;
  }

  @Test
  void everyServiceWithAnArrayHasASampleRowAndNoRowIsUnknown() {
    Map<String, byte[]> rows = GoldenVectors.byName("service");
    List<String> expected = new ArrayList<>();
    for (ServiceMethod method : ServiceMethod.values()) {
      if (method.takesArray()) {
        expected.add(method.name());
      }
    }
    expected.addAll(SERVICE_EXAMPLES.keySet());
    assertEquals(expected.stream().sorted().toList(), rows.keySet().stream().sorted().toList());
  }

  @TestFactory
  List<DynamicTest> serviceRows() {
    List<DynamicTest> tests = new ArrayList<>();
    GoldenVectors.byName("service").forEach((name, bytes) -> tests.add(DynamicTest.dynamicTest(name, () -> {
      int dot = name.indexOf('.');
      ServiceMethod method = ServiceMethod.valueOf(dot < 0 ? name : name.substring(0, dot));
      Object[] args = dot < 0 ? SampleValues.of(method.codes()) : SERVICE_EXAMPLES.get(name);
      assertEquals(Hex.format(bytes), Hex.format(CODEC.encodeService(method, args)));
      assertEquals(new ServiceCall(method, args), CODEC.decodeService(method, bytes));
    })));
    return tests;
  }

  @Test
  void everyCallbackHasASampleRow() {
    List<String> names = Arrays.stream(CallbackMethod.values()).map(Enum::name).toList();
    assertEquals(names, new ArrayList<>(GoldenVectors.byName("callback").keySet()));
  }

  @TestFactory
  List<DynamicTest> callbackRows() {
    List<DynamicTest> tests = new ArrayList<>();
    GoldenVectors.byName("callback").forEach((name, bytes) -> tests.add(DynamicTest.dynamicTest(name, () -> {
      CallbackMethod method = CallbackMethod.valueOf(name);
      Object[] args = SampleValues.of(method.codes());
      assertEquals(Hex.format(bytes),
          Hex.format(CODEC.encodeCallback(method, SampleValues.CALLBACK_HANDLE, args)));
      assertEquals(new CallbackCall(method, SampleValues.CALLBACK_HANDLE, args), CODEC.decodeCallback(method, bytes));
    })));
    return tests;
  }

  @Test
  void callbackWithoutArgumentsIsExactlyThreeWords() throws Exception {
    byte[] array = GoldenVectors.byName("callback").get("federationSaved_Native");
    assertArrayEquals(Hex.parse("63626160 00000002 59585756"), array);
    assertEquals(2, CODEC.decodeCallback(CallbackMethod.federationSaved_Native, array).handle());
  }
}
