package org.vantor.ostra1516e;

import java.lang.invoke.MethodHandle;
import java.lang.invoke.MethodHandles;
import java.lang.invoke.MethodType;
import java.util.EnumMap;
import java.util.Map;
import org.vantor.ostra1516e.lrc.Callback;
import org.vantor.ostra1516e.lrc.CallbackSink;
import org.vantor.ostra1516e.wire.CallbackMethod;
import org.vantor.ostra1516e.wire.WireCodec;

/**
 * FederateAmbassadorC2007 declares the 60 native callback methods that the C++ library
 * registers; each takes one framed callback array. {@link #deliver} calls the native
 * method of a {@link CallbackMethod} by table, so the core never spells a name twice.
 *
 * <p>Thread-safety: stateless; callbacks of any number of ambassadors may run at once.
 */
public class FederateAmbassadorC2007 implements CallbackSink {
  private static final WireCodec CODEC = new WireCodec(WireCodec.STANDARD_TIME_LENGTH);
  private static final Map<CallbackMethod, MethodHandle> NATIVES = bindNatives();

  private static Map<CallbackMethod, MethodHandle> bindNatives() {
    MethodHandles.Lookup lookup = MethodHandles.lookup();
    MethodType type = MethodType.methodType(void.class, byte[].class);
    Map<CallbackMethod, MethodHandle> natives = new EnumMap<>(CallbackMethod.class);
    for (CallbackMethod method : CallbackMethod.values()) {
      try {
        natives.put(method, lookup.findVirtual(FederateAmbassadorC2007.class, method.name(), type));
      } catch (ReflectiveOperationException e) {
        throw new IllegalStateException("no native method " + method, e);
      }
    }
    return natives;
  }

  /**
   * deliver calls the native method of callback with the array. Whatever the native
   * method throws (the library raises FederateInternalError when the federate's callback
   * fails; an unbound method raises UnsatisfiedLinkError) comes out unchanged.
   */
  public void deliver(CallbackMethod callback, byte[] array) throws Throwable {
    NATIVES.get(callback).invokeExact(this, array);
  }

  /** deliver encodes callback for the ambassador registered under federateAmbassador and runs it. */
  @Override
  public void deliver(int federateAmbassador, Callback callback) throws Throwable {
    deliver(callback.method(), CODEC.encodeCallback(callback.method(), federateAmbassador, callback.args()));
  }

  public native void synchronizationPointRegistrationSucceeded_S_Native(byte[] a);
  public native void synchronizationPointRegistrationFailed_S_SPFR_Native(byte[] a);
  public native void announceSynchronizationPoint_S_BX_Native(byte[] a);
  public native void federationSynchronized_S_FHS_Native(byte[] a);
  public native void initiateFederateSave_S_Native(byte[] a);
  public native void initiateFederateSave_S_LT_Native(byte[] a);
  public native void federationSaved_Native(byte[] a);
  public native void federationNotSaved_SFR_Native(byte[] a);
  public native void federationSaveStatusResponse_FHSSPX_Native(byte[] a);
  public native void requestFederationRestoreSucceeded_S_Native(byte[] a);
  public native void requestFederationRestoreFailed_S_Native(byte[] a);
  public native void federationRestoreBegun_Native(byte[] a);
  public native void initiateFederateRestore_S_S_FH_Native(byte[] a);
  public native void federationRestored_Native(byte[] a);
  public native void federationNotRestored_RFR_Native(byte[] a);
  public native void federationRestoreStatusResponse_FRSX_Native(byte[] a);
  public native void connectionLost_S_Native(byte[] a);
  public native void reportFederationExecutions_FEIS_Native(byte[] a);
  public native void startRegistrationForObjectClass_OCH_Native(byte[] a);
  public native void stopRegistrationForObjectClass_OCH_Native(byte[] a);
  public native void turnInteractionsOn_ICH_Native(byte[] a);
  public native void turnInteractionsOff_ICH_Native(byte[] a);
  public native void objectInstanceNameReservationSucceeded_S_Native(byte[] a);
  public native void multipleObjectInstanceNameReservationSucceeded_S_Native(byte[] a);
  public native void objectInstanceNameReservationFailed_S_Native(byte[] a);
  public native void multipleObjectInstanceNameReservationFailed_S_Native(byte[] a);
  public native void discoverObjectInstance_OIH_OCH_S_Native(byte[] a);
  public native void discoverObjectInstance_OIH_OCH_S_FH_Native(byte[] a);
  public native void reflectAttributeValues_OIH_AHVM_BX_OT_TTH_FASRI_Native(byte[] a);
  public native void reflectAttributeValues_OIH_AHVM_BX_OT_TTH_LT_OT_FASRI_Native(byte[] a);
  public native void reflectAttributeValues_OIH_AHVM_BX_OT_TTH_LT_OT_MRH_FASRI_Native(byte[] a);
  public native void receiveInteraction_ICH_PHVM_BX_OT_TTH_FASRI_Native(byte[] a);
  public native void receiveInteraction_ICH_PHVM_BX_OT_TTH_LT_OT_FASRI_Native(byte[] a);
  public native void receiveInteraction_ICH_PHVM_BX_OT_TTH_LT_OT_MRH_FASRI_Native(byte[] a);
  public native void removeObjectInstance_OIH_BX_OT_FASRI_Native(byte[] a);
  public native void removeObjectInstance_OIH_BX_OT_LT_OT_FASRI_Native(byte[] a);
  public native void removeObjectInstance_OIH_BX_OT_LT_OT_MRH_FASRI_Native(byte[] a);
  public native void attributesInScope_OIH_AHS_Native(byte[] a);
  public native void attributesOutOfScope_OIH_AHS_Native(byte[] a);
  public native void provideAttributeValueUpdate_OIH_AHS_BX_Native(byte[] a);
  public native void turnUpdatesOnForObjectInstance_OIH_AHS_Native(byte[] a);
  public native void turnUpdatesOnForObjectInstance_OIH_AHS_S_Native(byte[] a);
  public native void turnUpdatesOffForObjectInstance_OIH_AHS_Native(byte[] a);
  public native void confirmAttributeTransportationTypeChange_OIH_AHS_TTH_Native(byte[] a);
  public native void confirmInteractionTransportationTypeChange_ICH_TTH_Native(byte[] a);
  public native void reportAttributeTransportationType_OIH_AH_TTH_Native(byte[] a);
  public native void reportInteractionTransportationType_FH_ICH_TTH_Native(byte[] a);
  public native void requestAttributeOwnershipAssumption_OIH_AHS_BX_Native(byte[] a);
  public native void requestDivestitureConfirmation_OIH_AHS_Native(byte[] a);
  public native void attributeOwnershipAcquisitionNotification_OIH_AHS_BX_Native(byte[] a);
  public native void attributeOwnershipUnavailable_OIH_AHS_Native(byte[] a);
  public native void requestAttributeOwnershipRelease_OIH_AHS_BX_Native(byte[] a);
  public native void confirmAttributeOwnershipAcquisitionCancellation_OIH_AHS_Native(byte[] a);
  public native void informAttributeOwnership_OIH_AH_FH_Native(byte[] a);
  public native void attributeIsNotOwned_OIH_AH_Native(byte[] a);
  public native void attributeIsOwnedByRTI_OIH_AH_Native(byte[] a);
  public native void timeRegulationEnabled_LT_Native(byte[] a);
  public native void timeConstrainedEnabled_LT_Native(byte[] a);
  public native void timeAdvanceGrant_LT_Native(byte[] a);
  public native void requestRetraction_MRH_Native(byte[] a);
}
