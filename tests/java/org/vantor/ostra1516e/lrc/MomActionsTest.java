package org.vantor.ostra1516e.lrc;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.ArrayList;
import java.util.List;
import org.junit.jupiter.api.Test;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.fom.FomModule;
import org.vantor.ostra1516e.message.MomMessages;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.MomValues;
import org.vantor.ostra1516e.wire.ServiceMethod;

/** Each service interaction becomes the call it stands for; a malformed one says what is wrong. */
class MomActionsTest {
  private static final String SERVICE = "HLAinteractionRoot.HLAmanager.HLAfederate.HLAservice.";
  private static final byte[] TIME = {0, 0, 0, 0, 0, 0, 0, 9};

  private static MomMessages.Act act(FomModel model, String name, Object... pairs) {
    String qualified = name.startsWith("HLA") && !name.contains(".") ? SERVICE + name : name;
    int c = model.interactionClassHandle(qualified);
    int[] handles = new int[pairs.length / 2];
    byte[][] values = new byte[pairs.length / 2][];
    for (int i = 0; i < handles.length; i++) {
      handles[i] = model.parameterHandle(c, (String) pairs[2 * i]);
      values[i] = (byte[]) pairs[2 * i + 1];
    }
    return new MomMessages.Act(1, c, new HandleValues(handles, values));
  }

  @Test
  void serviceInteractionsBecomeTheirCalls() throws Exception {
    FomModel model = FomModel.create(FomModule.standardMim(), List.of());
    byte[] object = MomValues.handle(12);
    byte[] attributes = MomValues.handles(new int[] {3, 4});
    Object[][] table = {  // interaction and parameters, the service, its arguments
        {act(model, "HLAresignFederationExecution", "HLAresignAction", MomValues.int32(6)),
            ServiceMethod.resignFederationExecution_RA, List.of(5)},
        {act(model, "HLAsynchronizationPointAchieved", "HLAlabel", MomValues.string("go")),
            ServiceMethod.synchronizationPointAchieved_S_Z, List.of("go", true)},
        {act(model, "HLAfederateSaveComplete", "HLAsuccessIndicator", MomValues.bool(false)),
            ServiceMethod.federateSaveNotComplete, List.of()},
        {act(model, "HLAsubscribeObjectClassAttributes", "HLAobjectClass", MomValues.handle(2),
            "HLAattributeList", attributes, "HLAactive", MomValues.bool(false)),
            ServiceMethod.subscribeObjectClassAttributes_OCH_AHS_Z_S, List.of(2, List.of(3, 4), false, "")},
        {act(model, "HLAdeleteObjectInstance", "HLAobjectInstance", object, "HLAtag", MomValues.bytes(new byte[] {7}),
            "HLAtimeStamp", MomValues.bytes(TIME)),
            ServiceMethod.deleteObjectInstance_OIH_BX_LT, List.of(12, List.of((byte) 7), toList(TIME))},
        {act(model, "HLAdeleteObjectInstance", "HLAobjectInstance", object),
            ServiceMethod.deleteObjectInstance_OIH_BX, List.of(12, List.of())},
        {act(model, "HLArequestAttributeTransportationTypeChange", "HLAobjectInstance", object,
            "HLAattributeList", attributes, "HLAtransportation", MomValues.string("HLAbestEffort")),
            ServiceMethod.requestAttributeTransportationTypeChange_OIH_AHS_TTH, List.of(12, List.of(3, 4), 2)},
        {act(model, "HLAnextMessageRequestAvailable", "HLAtimeStamp", MomValues.bytes(TIME)),
            ServiceMethod.nextMessageRequestAvailable_LT, List.of(toList(TIME))},
        {act(model, "HLAchangeInteractionOrderType", "HLAinteractionClass", MomValues.handle(9), "HLAsendOrder",
            MomValues.int32(1)), ServiceMethod.changeInteractionOrderType_ICH_OT, List.of(9, 1)},
        {act(model, "HLAinteractionRoot.HLAmanager.HLAfederate.HLAadjust.HLAmodifyAttributeState",
            "HLAobjectInstance", object, "HLAattribute", MomValues.handle(4), "HLAattributeState",
            MomValues.int32(1)), ServiceMethod.attributeOwnershipAcquisitionIfAvailable_OIH_AHS,
            List.of(12, List.of(4))},
    };
    for (Object[] row : table) {
      MomActions.Call call = MomActions.read(model, (MomMessages.Act) row[0]);
      assertEquals(row[1], call.service());
      List<Object> arguments = new ArrayList<>();
      for (Object a : call.arguments()) {
        arguments.add(a instanceof int[] ints ? java.util.Arrays.stream(ints).boxed().toList()
            : a instanceof byte[] bytes ? toList(bytes) : a);
      }
      assertEquals(row[2], arguments, row[1].toString());
    }
    // Every service leaf of the model has a reading.
    int services = model.interactionClassHandle(SERVICE.substring(0, SERVICE.length() - 1));
    for (int leaf : model.interactionClassChildren(services)) {
      String name = MomActions.serviceOf(model, leaf);
      try {
        MomActions.read(model, new MomMessages.Act(1, leaf, HandleValues.empty()));
      } catch (MomValues.Malformed e) {
        assertTrue(e.getMessage().contains("is missing"), name + ": " + e.getMessage());
      }
    }
  }

  @Test
  void malformedInteractionsSayWhatIsWrong() throws Exception {
    FomModel model = FomModel.create(FomModule.standardMim(), List.of());
    Object[][] table = {
        {act(model, "HLAresignFederationExecution", "HLAresignAction", MomValues.int32(0)), "not a resign action"},
        {act(model, "HLAresignFederationExecution"), "HLAresignAction is missing"},
        {act(model, "HLApublishInteractionClass", "HLAinteractionClass", new byte[] {0, 0, 0, 2, 1, 2, 0, 0}),
            "handle of 2 bytes"},
        {act(model, "HLAsubscribeInteractionClass", "HLAinteractionClass", MomValues.handle(3), "HLAactive",
            MomValues.int32(7)), "holds 7 where a boolean"},
        {act(model, "HLAlocalDeleteObjectInstance", "HLAobjectInstance", new byte[] {0, 0, 0, 9}), "claims 9 bytes"},
        {act(model, "HLArequestInteractionTransportationTypeChange", "HLAinteractionClass", MomValues.handle(3),
            "HLAtransportation", MomValues.string("pigeon")), "pigeon is not a transportation type"},
        {act(model, "HLAmodifyLookahead", "HLAlookahead", hex8()), "bytes beyond its value"},
    };
    for (Object[] row : table) {
      String message = assertThrows(MomValues.Malformed.class, () -> MomActions.read(model, (MomMessages.Act) row[0]))
          .getMessage();
      assertTrue(message.contains((String) row[1]), message);
    }
  }

  private static byte[] hex8() {
    return new byte[] {0, 0, 0, 1, 5, 0, 0, 0, 9};
  }

  private static List<Byte> toList(byte[] bytes) {
    List<Byte> list = new ArrayList<>();
    for (byte b : bytes) {
      list.add(b);
    }
    return list;
  }
}
