package org.vantor.ostra1516e.fom;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.ArrayList;
import java.util.EnumMap;
import java.util.List;
import java.util.Map;
import java.util.Set;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

/** The built-in MIM against the names and counts of the standard MIM. */
class StandardMimTest {
  private static final FomModule MIM = FomModule.standardMim();
  private static final FomModel MODEL = model();

  private static FomModel model() {
    try {
      return FomModel.create(MIM, List.of());
    } catch (FomException e) {
      throw new AssertionError(e);
    }
  }

  @Test
  void countsMatchTheStandard() {
    FomModel m = MODEL;
    int leaves = 0;
    int available = 0;
    int noParameters = 0;
    for (int h = 1; h <= m.interactionClassCount(); h++) {
      leaves += m.interactionClassChildren(h).isEmpty() ? 1 : 0;
      available += m.availableParameters(h).size();
      noParameters += m.declaredParameters(h).isEmpty() ? 1 : 0;
    }
    Map<DataType.Kind, Integer> kinds = new EnumMap<>(DataType.Kind.class);
    int enumerators = 0;
    for (DataType t : MIM.dataTypes()) {
      kinds.merge(t.kind(), 1, Integer::sum);
      enumerators += t.kind() == DataType.Kind.ENUMERATED ? t.items().size() : 0;
    }
    assertEquals(List.of(4, 45, 85, 74, 101, 170, 28, 53, 30, 2, 2),
        List.of(m.objectClassCount(), m.attributeCount(), m.interactionClassCount(), leaves,
            m.parameterCount(), available, noParameters, m.dataTypes().size(), enumerators,
            m.dimensionCount(), m.transportationTypes().size()));
    assertEquals(List.of(13, 10, 9, 17, 4, 0), List.of(kinds.get(DataType.Kind.BASIC),
        kinds.get(DataType.Kind.SIMPLE), kinds.get(DataType.Kind.ENUMERATED),
        kinds.get(DataType.Kind.ARRAY), kinds.get(DataType.Kind.FIXED_RECORD),
        kinds.getOrDefault(DataType.Kind.VARIANT_RECORD, 0)));
    assertTrue(MIM.updateRates().isEmpty() && MIM.switches().isEmpty());
    assertTrue(MIM.timeStampDataType().isEmpty() && MIM.lookaheadDataType().isEmpty());
    assertEquals("Standard MOM and Initialization Module (MIM) for HLA IEEE 1516-2010", MIM.name());
    assertEquals("HLAstandardMIM", MIM.designator());
    assertSame(MIM, FomModule.standardMim());
  }

  @Test
  void federateAttributesInOrderWithTheirDefinitions() {
    int federate = MODEL.objectClassHandle("HLAobjectRoot.HLAmanager.HLAfederate");
    List<String> names = new ArrayList<>();
    for (int a : MODEL.declaredAttributes(federate)) {
      names.add(MODEL.attributeName(federate, a).orElseThrow());
    }
    assertEquals(32, names.size());
    assertEquals(List.of("HLAfederateHandle", "HLAfederateName", "HLAfederateType",
        "HLAfederateHost", "HLARTIversion", "HLAFOMmoduleDesignatorList"), names.subList(0, 6));
    assertEquals(List.of("HLAtimeGrantedTime", "HLAtimeAdvancingTime",
        "HLAconveyRegionDesignatorSets", "HLAconveyProducingFederate"), names.subList(28, 32));
    assertEquals(33, MODEL.availableAttributes(federate).size());

    int lits = MODEL.attributeHandle(federate, "HLALITS");
    AttributeDef def = MODEL.attributeDef(lits).orElseThrow();
    assertEquals(List.of("HLAlogicalTime", "Periodic", "NoTransfer", "Publish"),
        List.of(def.dataType(), def.updateType(), def.ownership(), def.sharing()));
    assertEquals(Set.of(MODEL.dimensionHandle("HLAfederate")), MODEL.attributeDimensions(lits));
    assertEquals("Receive", MODEL.attributeOrder(lits).orElseThrow());

    // Inherited from the root with the root's handle, declared there with TimeStamp order.
    int privilege = MODEL.attributeHandle(1, "HLAprivilegeToDeleteObject");
    assertEquals(1, privilege);
    assertEquals(privilege, MODEL.attributeHandle(federate, "HLAprivilegeToDeleteObject"));
    assertEquals(1, MODEL.attributeDeclaringClass(privilege));
    assertEquals("TimeStamp", MODEL.attributeOrder(privilege).orElseThrow());
    assertTrue(MODEL.attributeDimensions(privilege).isEmpty());

    int federation = MODEL.objectClassHandle("HLAfederation");
    assertEquals(13, MODEL.availableAttributes(federation).size());
    int designator = MODEL.attributeHandle(federation, "HLAMIMdesignator");
    assertTrue(MODEL.attributeDimensions(designator).isEmpty());
    // Declared in both manager classes, so two handles.
    assertTrue(MODEL.attributeHandle(federation, "HLARTIversion")
        != MODEL.attributeHandle(federate, "HLARTIversion"));
  }

  @ParameterizedTest
  @CsvSource(delimiter = '|', value = {
    "HLAmanager.HLAfederate.HLAreport.HLAreportServiceInvocation | HLAfederate HLAserviceGroup"
        + " | HLAfederate:HLAhandle HLAservice:HLAunicodeString HLAsuccessIndicator:HLAboolean"
        + " HLAsuppliedArguments:HLAargumentList HLAreturnedArguments:HLAargumentList"
        + " HLAexception:HLAunicodeString HLAserialNumber:HLAcount",
    "HLAmanager.HLAfederation.HLAreport.HLAreportSynchronizationPoints | |"
        + " HLAsyncPoints:HLAsynchPointList",
    "HLAmanager.HLAfederation.HLAreport.HLAreportSynchronizationPointStatus | |"
        + " HLAsyncPointName:HLAunicodeString HLAsyncPointFederates:HLAsynchPointFederateList",
    "HLAmanager.HLAfederation.HLArequest.HLArequestSynchronizationPointStatus | | ",
    "HLAmanager.HLAfederation.HLAreport.HLAreportMIMdata | | HLAMIMdata:HLAunicodeString",
    "HLAmanager.HLAfederate.HLAservice.HLAresignFederationExecution | |"
        + " HLAfederate:HLAhandle HLAresignAction:HLAresignAction",
  })
  void interactionParametersAndDimensions(String name, String dimensions, String parameters) {
    int ic = MODEL.interactionClassHandle(name);
    assertTrue(ic > 0, name);
    List<String> dims = new ArrayList<>();
    for (int d : MODEL.interactionDimensions(ic)) {
      dims.add(MODEL.dimensionName(d).orElseThrow());
    }
    assertEquals(dimensions == null ? "" : dimensions, String.join(" ", dims));
    List<String> params = new ArrayList<>();
    for (int p : MODEL.availableParameters(ic)) {
      params.add(MODEL.parameterName(ic, p).orElseThrow() + ":"
          + MODEL.parameterDef(p).orElseThrow().dataType());
    }
    assertEquals(parameters == null ? "" : parameters, String.join(" ", params));
    assertEquals("HLAreliable", MODEL.interactionTransportation(ic).orElseThrow());
    assertEquals("Receive", MODEL.interactionOrder(ic).orElseThrow());
  }

  @Test
  void tablesAndDefaults() {
    assertEquals(FomModel.DEFAULT_UPPER_BOUND,
        MODEL.dimensionUpperBound(MODEL.dimensionHandle("HLAfederate")));
    assertEquals(2147483647L, FomModel.DEFAULT_UPPER_BOUND);
    assertEquals(7, MODEL.dimensionUpperBound(MODEL.dimensionHandle("HLAserviceGroup")));
    assertTrue(MODEL.transportationType("HLAreliable").orElseThrow().reliable());
    assertTrue(!MODEL.transportationType("HLAbestEffort").orElseThrow().reliable());
    assertEquals("TimeStamp", MODEL.interactionOrder(1).orElseThrow());

    DataType resign = MODEL.dataType("HLAresignAction").orElseThrow();
    assertEquals(Map.of("name", "CancelPendingAcquisitionsThenDeleteObjectInstancesThenDivestOwnership",
        "value", "5"), resign.items().get(4));
    DataType syncFederate = MODEL.dataType("HLAsynchPointFederate").orElseThrow();
    assertEquals(List.of(Map.of("name", "HLAfederate", "dataType", "HLAhandle"),
        Map.of("name", "HLAfederateSynchStatus", "dataType", "HLAsynchPointStatus")),
        syncFederate.items());
    assertEquals("0", MODEL.dataType("HLAtoken").orElseThrow().field("cardinality"));
    assertEquals("HLAinteger64BE", MODEL.dataType("HLAinteger64Time").orElseThrow()
        .field("representation"));

    Map<String, String> defaults = MODEL.switches();
    assertEquals(11, defaults.size());
    assertEquals("CancelThenDeleteThenDivest", MODEL.automaticResignAction());
    assertTrue(defaults.entrySet().stream().allMatch(
        e -> e.getKey().equals("automaticResignAction") || e.getValue().equals("false")));
  }
}
