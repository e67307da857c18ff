package org.vantor.ostra1516e.wire;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.lang.reflect.Constructor;
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import java.util.EnumSet;
import java.util.Set;
import java.util.TreeSet;
import java.util.stream.Collectors;
import org.junit.jupiter.api.Test;
import org.vantor.ostra1516e.FederateAmbassadorC2007;
import org.vantor.ostra1516e.RTIambassadorC2007;

/**
 * The service and callback tables against the classes that the C++ library looks up by
 * name and JNI signature (the real core's or the probe core's, whichever the class path
 * finds first): a missing or mistyped method would fail the library's lookup. The
 * exception lists are checked against the library's own service table.
 */
class TablesTest {
  private static String descriptor(Class<?> type) {
    if (type == void.class) return "V";
    if (type == int.class) return "I";
    if (type == boolean.class) return "Z";
    if (type == long.class) return "J";
    if (type == double.class) return "D";
    if (type.isArray()) return "[" + descriptor(type.getComponentType());
    if (type == byte.class) return "B";
    return "L" + type.getName().replace('.', '/') + ";";
  }

  private static String signature(Method m) {
    String params = Arrays.stream(m.getParameterTypes()).map(TablesTest::descriptor).collect(Collectors.joining());
    return "(" + params + ")" + descriptor(m.getReturnType());
  }

  @Test
  void coreDeclaresEveryServiceWithItsExactSignature() throws Exception {
    Set<String> declared = new TreeSet<>();
    for (Method m : RTIambassadorC2007.class.getDeclaredMethods()) {
      if (Modifier.isPublic(m.getModifiers())) {
        declared.add(m.getName() + signature(m));
      }
    }
    Set<String> expected = new TreeSet<>();
    for (ServiceMethod s : ServiceMethod.values()) {
      expected.add(s.name() + s.signature());
    }
    assertEquals(142, expected.size());
    assertEquals(expected, declared);
    Constructor<RTIambassadorC2007> constructor = RTIambassadorC2007.class.getConstructor(byte[].class);
    assertTrue(Modifier.isPublic(constructor.getModifiers()));
  }

  @Test
  void coreDeclaresEveryCallbackAsANativeMethod() {
    Set<String> declared = new TreeSet<>();
    for (Method m : FederateAmbassadorC2007.class.getDeclaredMethods()) {
      if (Modifier.isNative(m.getModifiers())) {
        assertTrue(Modifier.isPublic(m.getModifiers()) && !Modifier.isStatic(m.getModifiers()), m.getName());
        assertEquals(CallbackMethod.SIGNATURE, signature(m), m.getName());
        declared.add(m.getName());
      }
    }
    Set<String> expected = Arrays.stream(CallbackMethod.values()).map(Enum::name).collect(Collectors.toCollection(TreeSet::new));
    assertEquals(60, expected.size());
    assertEquals(expected, declared);
  }

  @Test
  void exceptionListsAgreeWithTheLibrarysServiceTable() throws Exception {
    Pattern row = Pattern.compile("OSTRA_SERVICE\\w*\\(\\s*\\d+,\\s*\\w+,\\s*(\\w+),.*\\(([^()]*)\\)\\)\\s*$");
    Map<String, List<String>> library = new HashMap<>();
    for (String line : Files.readAllLines(Path.of(System.getProperty("ostra.serviceTable")))) {
      Matcher m = row.matcher(line);
      if (m.matches()) {
        List<String> names = new ArrayList<>();
        for (String word : m.group(2).split(",")) {
          String name = word.strip();
          if (name.equals("SR")) {
            names.addAll(List.of("SaveInProgress", "RestoreInProgress", "FederateNotExecutionMember", "NotConnected",
                "RTIinternalError"));
          } else if (name.equals("M")) {
            names.addAll(List.of("FederateNotExecutionMember", "NotConnected", "RTIinternalError"));
          } else if (!name.isEmpty()) {
            names.add(name);
          }
        }
        library.put(m.group(1), names);
      }
    }
    assertEquals(142, library.size());
    for (ServiceMethod s : ServiceMethod.values()) {
      assertEquals(library.get(s.name()), s.exceptions(), s.name());
    }
  }

  @Test
  void serviceSignaturesAgreeWithTheirNames() {
    for (ServiceMethod s : ServiceMethod.values()) {
      assertEquals(!s.codes().isEmpty(), s.takesArray(), s.name());
      assertTrue(s.signature().startsWith(s.takesArray() ? "([B)" : "()"), s.name());
    }
  }

  @Test
  void eachDirectionUsesOnlyItsOwnCodes() {
    Set<TypeCode> callbackOnly = EnumSet.of(TypeCode.SPFR, TypeCode.SFR, TypeCode.RFR, TypeCode.FASRI_REFLECT,
        TypeCode.FASRI_RECEIVE, TypeCode.FASRI_REMOVE, TypeCode.FEIS, TypeCode.FRSX, TypeCode.FHSSPX);
    Set<TypeCode> serviceOnly = EnumSet.of(TypeCode.URL, TypeCode.URLX, TypeCode.PH, TypeCode.DH, TypeCode.RH,
        TypeCode.DHS, TypeCode.RHS, TypeCode.ASRSPL, TypeCode.Z, TypeCode.D, TypeCode.RB, TypeCode.LTI,
        TypeCode.RA, TypeCode.SG, TypeCode.CM, TypeCode.FA);
    for (ServiceMethod s : ServiceMethod.values()) {
      for (TypeCode c : s.codes()) {
        assertTrue(!callbackOnly.contains(c), s + " uses " + c);
      }
    }
    for (CallbackMethod m : CallbackMethod.values()) {
      for (TypeCode c : m.codes()) {
        assertTrue(!serviceOnly.contains(c), m + " uses " + c);
      }
    }
  }

  @Test
  void specialFormsArePickedByOperation() {
    assertEquals(TypeCode.S_SET, ServiceMethod.reserveMultipleObjectInstanceName_S.codes().get(0));
    assertEquals(TypeCode.S_SET, CallbackMethod.multipleObjectInstanceNameReservationFailed_S_Native.codes().get(0));
    assertEquals(TypeCode.S, CallbackMethod.objectInstanceNameReservationFailed_S_Native.codes().get(0));
    assertEquals(TypeCode.FASRI_REMOVE, CallbackMethod.removeObjectInstance_OIH_BX_OT_LT_OT_MRH_FASRI_Native.codes().get(6));
    assertEquals(TypeCode.FASRI_RECEIVE, CallbackMethod.receiveInteraction_ICH_PHVM_BX_OT_TTH_FASRI_Native.codes().get(5));
    assertEquals(TypeCode.FASRI_REFLECT, CallbackMethod.reflectAttributeValues_OIH_AHVM_BX_OT_TTH_FASRI_Native.codes().get(5));
  }
}
