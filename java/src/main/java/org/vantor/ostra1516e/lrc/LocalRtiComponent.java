package org.vantor.ostra1516e.lrc;

import hla.rti1516e.exceptions.AlreadyConnected;
import hla.rti1516e.exceptions.CallNotAllowedFromWithinCallback;
import hla.rti1516e.exceptions.ConnectionFailed;
import hla.rti1516e.exceptions.CouldNotCreateLogicalTimeFactory;
import hla.rti1516e.exceptions.CouldNotOpenFDD;
import hla.rti1516e.exceptions.CouldNotOpenMIM;
import hla.rti1516e.exceptions.DesignatorIsHLAstandardMIM;
import hla.rti1516e.exceptions.ErrorReadingFDD;
import hla.rti1516e.exceptions.ErrorReadingMIM;
import hla.rti1516e.exceptions.FederateAlreadyExecutionMember;
import hla.rti1516e.exceptions.FederateHasNotBegunSave;
import hla.rti1516e.exceptions.FederateIsExecutionMember;
import hla.rti1516e.exceptions.FederateNotExecutionMember;
import hla.rti1516e.exceptions.FederateOwnsAttributes;
import hla.rti1516e.exceptions.InconsistentFDD;
import hla.rti1516e.exceptions.InvalidFederateHandle;
import hla.rti1516e.exceptions.InvalidLocalSettingsDesignator;
import hla.rti1516e.exceptions.InvalidResignAction;
import hla.rti1516e.exceptions.NotConnected;
import hla.rti1516e.exceptions.RTIexception;
import hla.rti1516e.exceptions.RTIinternalError;
import hla.rti1516e.exceptions.RestoreInProgress;
import hla.rti1516e.exceptions.RestoreNotRequested;
import hla.rti1516e.exceptions.SaveInProgress;
import hla.rti1516e.exceptions.SaveNotInitiated;
import hla.rti1516e.exceptions.UnsupportedCallbackModel;
import java.util.ArrayList;
import java.util.EnumSet;
import java.util.List;
import java.util.Set;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.concurrent.atomic.AtomicReference;
import org.vantor.ostra1516e.fom.FomException;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.fom.FomModule;
import org.vantor.ostra1516e.message.DeclarationMessages;
import org.vantor.ostra1516e.message.Event;
import org.vantor.ostra1516e.message.FederationMessages;
import org.vantor.ostra1516e.message.MomMessages;
import org.vantor.ostra1516e.message.Notice;
import org.vantor.ostra1516e.message.ObjectMessages;
import org.vantor.ostra1516e.message.OwnershipMessages;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.message.Request;
import org.vantor.ostra1516e.message.SaveMessages;
import org.vantor.ostra1516e.message.SyncMessages;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.transport.Connection;
import org.vantor.ostra1516e.transport.ConnectionLostException;
import org.vantor.ostra1516e.transport.EventSink;
import org.vantor.ostra1516e.transport.TcpTransport;
import org.vantor.ostra1516e.transport.Transport;
import org.vantor.ostra1516e.wire.CallbackMethod;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.MomValues;
import org.vantor.ostra1516e.wire.FederateRestoreStatus;
import org.vantor.ostra1516e.wire.FederateSaveStatus;
import org.vantor.ostra1516e.wire.ServiceMethod;
import org.vantor.ostra1516e.wire.SupplementalInfo;

/**
 * LocalRtiComponent is one federate's side of the federation: its connection and join
 * state, the checks of every service, and its callback queue with evoked and immediate
 * delivery. It reaches the federation engine only through messages on its
 * {@link Connection}.
 *
 * <p>Every service first runs the checks its exception list calls for, in this order: not
 * connected, called from within a callback, not joined; then its own. A service of a group
 * this release does not carry yet runs the same checks and then throws RTIinternalError
 * saying so.
 *
 * <p>Thread-safety: services may be called from any number of threads at once. Services
 * that change the connection or join state are serialized on this object; no lock is held
 * by {@link #receive}, which the engine calls, so a service waiting for the engine can
 * never block the engine.
 */
public final class LocalRtiComponent implements EventSink {
  /** Wire numbers of the callback models. */
  static final int EVOKED = 1;
  static final int IMMEDIATE = 2;
  static final String FLOAT_TIME = "HLAfloat64Time";
  /** Wire number of ResignAction NO_ACTION. */
  static final int NO_ACTION = 5;
  static final String INTEGER_TIME = "HLAinteger64Time";

  /** The services whose exception lists make them depend on each state, found once. */
  private static final Set<ServiceMethod> NEEDS_CONNECTION = raising("NotConnected");
  private static final Set<ServiceMethod> NEEDS_JOIN = raising("FederateNotExecutionMember");
  private static final Set<ServiceMethod> NOT_FROM_CALLBACK = raising("CallNotAllowedFromWithinCallback");
  private static final Set<ServiceMethod> NOT_WHILE_SAVING = raising("SaveInProgress");
  private static final Set<ServiceMethod> NOT_WHILE_RESTORING = raising("RestoreInProgress");
  /** What a federate may still call once its connection is lost: take its callbacks, and disconnect. */
  private static final Set<ServiceMethod> STILL_AFTER_LOSS = EnumSet.of(ServiceMethod.evokeCallback_D,
      ServiceMethod.evokeMultipleCallbacks_D_D, ServiceMethod.enableCallbacks, ServiceMethod.disableCallbacks,
      ServiceMethod.disconnect);

  private static Set<ServiceMethod> raising(String exception) {
    Set<ServiceMethod> services = EnumSet.noneOf(ServiceMethod.class);
    for (ServiceMethod service : ServiceMethod.values()) {
      if (service.raises(exception)) {
        services.add(service);
      }
    }
    return services;
  }

  private final Transport embedded;
  private final CallbackSink sink;

  // Connection state, written under this object's monitor.
  /** How long a thread waiting for a callback from a federation server yields before it sleeps. */
  private static final long REMOTE_YIELD_NANOS = 100_000;
  private volatile Connection connection;
  private volatile CallbackQueue callbacks = new CallbackQueue();
  private volatile int callbackModel;
  private volatile int federateAmbassador;

  // Why the connection to the federation was lost, null while it holds. Set once by the
  // transport; every service but callback delivery and disconnect then throws NotConnected.
  private volatile String lostReason;

  // Join state, written under this object's monitor (the model also by receive).
  private volatile JoinState joined;

  /** Dispatcher makes a service call as the federate's own calls are made; the entry classes give it. */
  @FunctionalInterface
  public interface Dispatcher {
    Object dispatch(ServiceMethod service, Object[] arguments) throws RTIexception;
  }

  private volatile Dispatcher dispatcher;
  /** Whether the management object model asks for reports of this federate's services and exceptions. */
  private volatile boolean reportServices;
  private volatile boolean reportExceptions;
  private final AtomicInteger reportSerial = new AtomicInteger();

  // The thread inside a federate callback of this component, if any.
  private volatile Thread deliveringThread;
  private final Object deliveryLock = new Object();

  private final Switches switches = new Switches();
  private final SupportServices support = new SupportServices(this);
  private final ObjectServices objects = new ObjectServices(this);
  private final TimeServices time = new TimeServices(this);
  private final RegionServices regions = new RegionServices(this);

  /** JoinState is what the component knows of the federation it joined. */
  static final class JoinState {
    final int federate;
    final String federateName;
    final String federation;
    final String timeImplementation;
    volatile FomModel model;

    JoinState(int federate, String federateName, String federation, String timeImplementation, FomModel model) {
      this.federate = federate;
      this.federateName = federateName;
      this.federation = federation;
      this.timeImplementation = timeImplementation;
      this.model = model;
    }
  }

  public LocalRtiComponent(Transport embedded, CallbackSink sink) {
    this.embedded = embedded;
    this.sink = sink;
  }

  public SupportServices support() {
    return support;
  }

  public Switches switches() {
    return switches;
  }

  public ObjectServices objects() {
    return objects;
  }

  public RegionServices regions() {
    return regions;
  }

  public TimeServices time() {
    return time;
  }

  // ---- Checks shared by every service ----

  /**
   * check runs the state checks that service's exception list calls for and returns the
   * join state (null when not joined and the service does not need a join).
   */
  JoinState check(ServiceMethod service) throws RTIexception {
    if (connection == null && NEEDS_CONNECTION.contains(service)) {
      throw new NotConnected(service.serviceName() + ": not connected; call connect first");
    }
    String lost = lostReason;
    if (lost != null && NEEDS_CONNECTION.contains(service) && !STILL_AFTER_LOSS.contains(service)) {
      throw new NotConnected(service.serviceName() + ": the connection to the federation was lost (" + lost
          + "); call disconnect, then connect again");
    }
    if (NOT_FROM_CALLBACK.contains(service) && inCallback()) {
      throw new CallNotAllowedFromWithinCallback(
          service.serviceName() + " may not be called from within a federate ambassador callback");
    }
    JoinState state = joined;
    if (state == null && NEEDS_JOIN.contains(service)) {
      throw new FederateNotExecutionMember(
          service.serviceName() + ": not joined to a federation execution; call joinFederationExecution first");
    }
    if (saveStatus != SaveMessages.NO_SAVE_IN_PROGRESS && state != null && NOT_WHILE_SAVING.contains(service)) {
      throw new SaveInProgress(service.serviceName() + ": the federation is saving " + saveLabel
          + "; call it again after federationSaved or federationNotSaved");
    }
    if (restoreStatus != SaveMessages.NO_RESTORE_IN_PROGRESS && state != null
        && NOT_WHILE_RESTORING.contains(service)) {
      throw new RestoreInProgress(service.serviceName() + ": the federation is being restored; call it again after"
          + " federationRestored or federationNotRestored");
    }
    return state;
  }

  private boolean inCallback() {
    return deliveringThread == Thread.currentThread();
  }

  Reply request(ServiceMethod service, Request request) throws RTIexception {
    Connection current = connection;
    if (current == null) {
      throw new NotConnected(service.serviceName() + ": not connected; call connect first");
    }
    try {
      return current.request(request);
    } catch (ConnectionLostException e) {
      throw new NotConnected(service.serviceName() + ": " + e.getMessage());
    }
  }

  void send(ServiceMethod service, Notice notice) throws RTIexception {
    Connection current = connection;
    if (current == null) {
      throw new NotConnected(service.serviceName() + ": not connected; call connect first");
    }
    try {
      current.send(notice);
    } catch (ConnectionLostException e) {
      throw new NotConnected(service.serviceName() + ": " + e.getMessage());
    }
  }

  /** expectDone sends request and turns anything but Done into the service's exception. */
  void expectDone(ServiceMethod service, Request request) throws RTIexception {
    Reply reply = request(service, request);
    if (reply instanceof Reply.Refused refused) {
      throw Failures.of(service, refused);
    }
    if (!(reply instanceof Reply.Done)) {
      throw Failures.unexpected(service, reply);
    }
  }

  <T extends Reply> T expect(ServiceMethod service, Request request, Class<T> kind) throws RTIexception {
    Reply reply = request(service, request);
    if (reply instanceof Reply.Refused refused) {
      throw Failures.of(service, refused);
    }
    if (!kind.isInstance(reply)) {
      throw Failures.unexpected(service, reply);
    }
    return kind.cast(reply);
  }

  JoinState joinState() {
    return joined;
  }

  // ---- Connection ----

  public synchronized void connect(int federateAmbassador, int model, String localSettingsDesignator)
      throws RTIexception {
    ServiceMethod service = ServiceMethod.connect_FA_CM_S;
    check(service);
    if (connection != null) {
      throw new AlreadyConnected("connect: already connected; call disconnect first");
    }
    if (model != EVOKED && model != IMMEDIATE) {
      throw new UnsupportedCallbackModel("connect: callback model number " + model + " is not supported");
    }
    Transport transport = transportFor(localSettingsDesignator);
    CallbackQueue queue = new CallbackQueue(this::flushConnection,
        transport instanceof TcpTransport ? REMOTE_YIELD_NANOS : 0);
    callbacks = queue;
    this.federateAmbassador = federateAmbassador;
    this.callbackModel = model;
    try {
      connection = transport.open(this);
    } catch (ConnectionLostException e) {
      throw new ConnectionFailed("connect: " + e.getMessage());
    }
    if (model == IMMEDIATE) {
      Thread thread = new Thread(() -> deliverImmediately(queue), "ostra-callbacks-" + federateAmbassador);
      thread.setDaemon(true);
      thread.start();
    }
  }

  private static Callback ownershipCallback(OwnershipMessages.Ownership e) {
    Object o = e.object();
    Object a = e.attributes();
    switch (e.kind()) {
      case OwnershipMessages.ASSUMPTION_REQUESTED:
        return new Callback(CallbackMethod.requestAttributeOwnershipAssumption_OIH_AHS_BX_Native, o, a, e.tag());
      case OwnershipMessages.CONFIRMATION_REQUESTED:
        return new Callback(CallbackMethod.requestDivestitureConfirmation_OIH_AHS_Native, o, a);
      case OwnershipMessages.ACQUIRED:
        return new Callback(CallbackMethod.attributeOwnershipAcquisitionNotification_OIH_AHS_BX_Native, o, a, e.tag());
      case OwnershipMessages.UNAVAILABLE:
        return new Callback(CallbackMethod.attributeOwnershipUnavailable_OIH_AHS_Native, o, a);
      case OwnershipMessages.RELEASE_REQUESTED:
        return new Callback(CallbackMethod.requestAttributeOwnershipRelease_OIH_AHS_BX_Native, o, a, e.tag());
      default:
        return new Callback(CallbackMethod.confirmAttributeOwnershipAcquisitionCancellation_OIH_AHS_Native, o, a);
    }
  }

  private void flushConnection() {
    Connection c = connection;
    if (c != null) {
      c.flush();
    }
  }

  private Transport transportFor(String designator) throws RTIexception {
    String accepted = "accepted: the empty designator (the federation engine embedded in this process) or "
        + TcpTransport.FORMS + " for a federation server";
    if (designator == null || designator.isEmpty()) {
      return embedded;
    }
    try {
      return TcpTransport.forDesignator(designator);
    } catch (IllegalArgumentException e) {
      throw new InvalidLocalSettingsDesignator("connect: local settings designator '" + designator
          + "' is not understood (" + e.getMessage() + "); " + accepted);
    }
  }

  public void disconnect() throws RTIexception {
    ServiceMethod service = ServiceMethod.disconnect;
    Connection current;
    synchronized (this) {
      check(service);
      if (joined != null) {
        throw new FederateIsExecutionMember("disconnect: still joined to federation execution "
            + joined.federation + "; call resignFederationExecution first");
      }
      current = connection;
      if (current == null) {
        return;
      }
      connection = null;
      lostReason = null;
      callbacks.close();
    }
    current.close();
    // No callback starts after the queue closed; one already running finishes before
    // disconnect returns, so the federate may delete its ambassador right after. Never
    // reached from within a callback (refused above), so this cannot wait for itself.
    synchronized (deliveryLock) {
      deliveringThread = null;
    }
  }

  /**
   * abandon closes the connection whatever the state: the engine resigns a federate still
   * joined as the federation's automatic resign directive says. For an ambassador that its
   * federate can no longer reach.
   */
  public synchronized void abandon() {
    Connection current = connection;
    if (current == null) {
      return;
    }
    connection = null;
    joined = null;
    saveStatus = SaveMessages.NO_SAVE_IN_PROGRESS;
    restoreStatus = SaveMessages.NO_RESTORE_IN_PROGRESS;
    callbacks.close();
    current.close();
  }

  // ---- Federation management ----

  public synchronized void createFederationExecution(ServiceMethod service, String federation,
      List<String> modules, String mimDesignator, String timeImplementation) throws RTIexception {
    check(service);
    String time = timeImplementationNamed(timeImplementation);
    FomModule mim;
    if (mimDesignator == null) {
      mim = FomModule.standardMim();
    } else {
      if (mimDesignator.equals("HLAstandardMIM")) {
        throw new DesignatorIsHLAstandardMIM(service.serviceName() + ": the MIM designator HLAstandardMIM "
            + "names the standard MIM, which is used anyway; give a MIM module of your own or use "
            + "createFederationExecution");
      }
      mim = readModule(mimDesignator, true);
    }
    List<FomModule> read = readModules(modules);
    expectDone(service, new FederationMessages.Create(federation, read, mim, time));
  }

  private static String timeImplementationNamed(String name) throws CouldNotCreateLogicalTimeFactory {
    if (name == null || name.isEmpty()) {
      return FLOAT_TIME;
    }
    if (name.equals(FLOAT_TIME) || name.equals(INTEGER_TIME)) {
      return name;
    }
    throw new CouldNotCreateLogicalTimeFactory("no logical time implementation named '" + name
        + "'; known: " + INTEGER_TIME + ", " + FLOAT_TIME + " (the empty name means " + FLOAT_TIME + ")");
  }

  private static List<FomModule> readModules(List<String> designators) throws RTIexception {
    List<FomModule> read = new ArrayList<>(designators.size());
    for (String designator : designators) {
      read.add(readModule(designator, false));
    }
    return read;
  }

  /** readModule reads one FOM module, or the MIM, reporting a failure as the matching exception. */
  private static FomModule readModule(String designator, boolean mim) throws RTIexception {
    try {
      return FomModule.read(designator);
    } catch (FomException e) {
      String message = e.getMessage();
      throw switch (e.kind()) {
        case COULD_NOT_OPEN -> mim ? new CouldNotOpenMIM(message) : new CouldNotOpenFDD(message);
        case ERROR_READING -> mim ? new ErrorReadingMIM(message) : new ErrorReadingFDD(message);
        case INCONSISTENT -> new InconsistentFDD(message);
      };
    }
  }

  public synchronized void destroyFederationExecution(String federation) throws RTIexception {
    ServiceMethod service = ServiceMethod.destroyFederationExecution_S;
    check(service);
    expectDone(service, new FederationMessages.Destroy(federation));
  }

  public void listFederationExecutions() throws RTIexception {
    ServiceMethod service = ServiceMethod.listFederationExecutions;
    check(service);
    Reply.Federations listed = expect(service, new FederationMessages.ListExecutions(), Reply.Federations.class);
    callbacks.add(new Callback(CallbackMethod.reportFederationExecutions_FEIS_Native, listed.executions()));
  }

  public synchronized int joinFederationExecution(ServiceMethod service, String federateName,
      String federateType, String federation, List<String> modules) throws RTIexception {
    check(service);
    if (joined != null) {
      throw new FederateAlreadyExecutionMember(service.serviceName() + ": already joined to federation execution "
          + joined.federation + " as " + joined.federateName);
    }
    List<FomModule> read = readModules(modules);
    String name = federateName == null || federateName.isEmpty() ? null : federateName;
    objects.forget();  // before the engine can send anything of the new federation
    regions.forget();
    Reply.Joined reply = expect(service,
        new FederationMessages.Join(federation, name, federateType, read), Reply.Joined.class);
    time.joined(reply.timeImplementation());
    joined = new JoinState(reply.federate(), reply.federateName(), federation, reply.timeImplementation(),
        reply.model());
    switches.reset(reply.model());
    return reply.federate();
  }

  public synchronized void resignFederationExecution(int action) throws RTIexception {
    ServiceMethod service = ServiceMethod.resignFederationExecution_RA;
    check(service);
    if (action < 0 || action > 5) {
      throw new InvalidResignAction("resignFederationExecution: resign action number " + action
          + " is not a ResignAction (0 to 5)");
    }
    // Neither action deletes nor divests anything (2: CANCEL_PENDING_OWNERSHIP_ACQUISITIONS).
    if ((action == NO_ACTION || action == 2) && objects.ownsAnything()) {
      throw new FederateOwnsAttributes("resignFederationExecution: this federate owns attributes of object "
          + "instances; resign with an action that deletes or divests them, or give them up first");
    }
    expectDone(service, new FederationMessages.Resign(action));
    joined = null;
    restoring.set(null);
    saveStatus = SaveMessages.NO_SAVE_IN_PROGRESS;
    restoreStatus = SaveMessages.NO_RESTORE_IN_PROGRESS;
    objects.forget();
    regions.forget();
    callbacks.clear();
  }

  public int getAutomaticResignDirective() throws RTIexception {
    ServiceMethod service = ServiceMethod.getAutomaticResignDirective;
    check(service);
    return expect(service, new FederationMessages.GetAutomaticResign(), Reply.Number.class).value();
  }

  public void setAutomaticResignDirective(int action) throws RTIexception {
    ServiceMethod service = ServiceMethod.setAutomaticResignDirective_RA;
    check(service);
    if (action < 0 || action > 5) {
      throw new InvalidResignAction("setAutomaticResignDirective: resign action number " + action
          + " is not a ResignAction (0 to 5)");
    }
    expectDone(service, new FederationMessages.SetAutomaticResign(action));
  }

  public void registerFederationSynchronizationPoint(ServiceMethod service, String label, byte[] tag,
      int[] federates) throws RTIexception {
    check(service);
    for (int handle : federates) {
      if (handle <= 0) {
        throw new InvalidFederateHandle("registerFederationSynchronizationPoint: " + handle
            + " is not a valid federate handle");
      }
    }
    expectDone(service, new SyncMessages.Register(label, tag, federates));
  }

  public void synchronizationPointAchieved(String label, boolean successful) throws RTIexception {
    ServiceMethod service = ServiceMethod.synchronizationPointAchieved_S_Z;
    check(service);
    expectDone(service, new SyncMessages.Achieved(label, successful));
  }

  // ---- Saves ----

  /** The federate's part in the federation's save (a SaveStatus number) and the save's label. */
  private volatile int saveStatus = SaveMessages.NO_SAVE_IN_PROGRESS;
  private volatile String saveLabel;

  /** requestFederationSave asks for a save under label, at once or (time not null) at that logical time. */
  public void requestFederationSave(ServiceMethod service, String label, byte[] time) throws RTIexception {
    check(service);
    if (time != null) {
      this.time.checkSaveTime(service, time);
    }
    expectDone(service, new SaveMessages.RequestSave(label, time));
  }

  public void federateSaveBegun() throws RTIexception {
    ServiceMethod service = ServiceMethod.federateSaveBegun;
    check(service);
    synchronized (this) {
      if (saveStatus != SaveMessages.FEDERATE_INSTRUCTED_TO_SAVE) {
        throw new SaveNotInitiated(service.serviceName() + ": " + (saveStatus == SaveMessages.NO_SAVE_IN_PROGRESS
            ? "no save was initiated; wait for initiateFederateSave" : "the save has already begun"));
      }
      saveStatus = SaveMessages.FEDERATE_SAVING;
    }
    send(service, new SaveMessages.SaveBegun());
  }

  /** federateSaveComplete reports the federate's own save done (or, with success false, failed). */
  public void federateSaveComplete(ServiceMethod service, boolean success) throws RTIexception {
    check(service);
    synchronized (this) {
      if (saveStatus != SaveMessages.FEDERATE_SAVING) {
        throw new FederateHasNotBegunSave(service.serviceName() + ": " + (saveStatus
            == SaveMessages.FEDERATE_WAITING_FOR_FEDERATION_TO_SAVE ? "this federate already reported its save"
            : "call federateSaveBegun first"));
      }
      saveStatus = SaveMessages.FEDERATE_WAITING_FOR_FEDERATION_TO_SAVE;
    }
    send(service, new SaveMessages.SaveComplete(success, success ? FederateState.capture(this) : null));
  }

  public void abortFederationSave() throws RTIexception {
    ServiceMethod service = ServiceMethod.abortFederationSave;
    check(service);
    expectDone(service, new SaveMessages.AbortSave());
  }

  public void queryFederationSaveStatus() throws RTIexception {
    ServiceMethod service = ServiceMethod.queryFederationSaveStatus;
    check(service);
    send(service, new SaveMessages.QuerySaveStatus());
  }

  // ---- Restores ----

  /** The federate's part in the federation's restore (a RestoreStatus number). */
  private volatile int restoreStatus = SaveMessages.NO_RESTORE_IN_PROGRESS;

  public void requestFederationRestore(String label) throws RTIexception {
    ServiceMethod service = ServiceMethod.requestFederationRestore_S;
    check(service);
    expectDone(service, new SaveMessages.RequestRestore(label));
  }

  /** federateRestoreComplete reports the federate's own restore done (or, with success false, failed). */
  public void federateRestoreComplete(ServiceMethod service, boolean success) throws RTIexception {
    check(service);
    synchronized (this) {
      if (restoreStatus != SaveMessages.FEDERATE_RESTORING) {
        throw new RestoreNotRequested(service.serviceName() + ": " + (restoreStatus
            == SaveMessages.FEDERATE_WAITING_FOR_FEDERATION_TO_RESTORE ? "this federate already reported its restore"
            : "no restore was initiated; wait for initiateFederateRestore"));
      }
      restoreStatus = SaveMessages.FEDERATE_WAITING_FOR_FEDERATION_TO_RESTORE;
    }
    takeRestoredState();  // for a federate that reports before it is told (its callbacks held)
    send(service, new SaveMessages.RestoreComplete(success));
  }

  public void abortFederationRestore() throws RTIexception {
    ServiceMethod service = ServiceMethod.abortFederationRestore;
    check(service);
    expectDone(service, new SaveMessages.AbortRestore());
  }

  public void queryFederationRestoreStatus() throws RTIexception {
    ServiceMethod service = ServiceMethod.queryFederationRestoreStatus;
    check(service);
    send(service, new SaveMessages.QueryRestoreStatus());
  }

  /**
   * The restore whose initiateFederateRestore is queued and not yet delivered. The component
   * takes the saved state as that callback is delivered (or as the federate reports its
   * restore, if that comes first), not as the restore arrives: the callbacks queued ahead of
   * it (a grant, say) change the state as they are delivered, and would otherwise undo part
   * of the restore.
   */
  private final AtomicReference<SaveMessages.InitiateRestore> restoring = new AtomicReference<>();

  private void takeRestoredState() {
    SaveMessages.InitiateRestore e = restoring.getAndSet(null);
    if (e != null) {
      restore(e);
    }
  }

  /**
   * restore makes this component the federate it was at the save: its name and handle, and
   * the state it handed to the save. A state that does not read leaves the component as it
   * was; the federate is then told to restore all the same, and should report failure.
   */
  private void restore(SaveMessages.InitiateRestore e) {
    JoinState state = joined;
    if (state == null) {
      return;
    }
    joined = new JoinState(e.federate(), e.federateName(), state.federation, state.timeImplementation, state.model);
    try {
      FederateState.restore(this, e.state(), state.timeImplementation);
    } catch (org.vantor.ostra1516e.wire.WireFormatException failure) {
      System.err.println("federate " + e.federateName() + ": its saved state does not read (" + failure.getMessage()
          + "); it keeps the state it had");
    }
  }

  /** setAdvisorySwitch carries out one of the eight enable/disable advisory switch services. */
  public void setAdvisorySwitch(ServiceMethod service) throws RTIexception {
    check(service);
    Switches.Advisory advisory = switches.set(service);
    send(service, new DeclarationMessages.SetAdvisorySwitch(advisory.ordinal(), switches.isOn(advisory)));
  }

  public String getTimeFactory() throws RTIexception {
    return check(ServiceMethod.getTimeFactory).timeImplementation;
  }

  // ---- Events from the engine ----

  private static final int TIMESTAMP = 1;

  @Override
  public void receive(Event event) {
    CallbackQueue queue = callbacks;
    if (event instanceof ObjectMessages.Reflect e) {
      SupplementalInfo info = new SupplementalInfo(e.producer() != 0, e.producer(), e.regions() != null, e.regions());
      if (e.time() == null) {
        queue.add(new Callback(CallbackMethod.reflectAttributeValues_OIH_AHVM_BX_OT_TTH_FASRI_Native, e.object(),
            e.values(), e.tag(), e.sentOrder(), e.transportation(), info));
      } else if (e.sentOrder() == TIMESTAMP) {
        queue.add(new Callback(CallbackMethod.reflectAttributeValues_OIH_AHVM_BX_OT_TTH_LT_OT_MRH_FASRI_Native,
            e.object(), e.values(), e.tag(), e.sentOrder(), e.transportation(), e.time(), e.receivedOrder(), e.retraction(),
            info));
      } else {
        queue.add(new Callback(CallbackMethod.reflectAttributeValues_OIH_AHVM_BX_OT_TTH_LT_OT_FASRI_Native,
            e.object(), e.values(), e.tag(), e.sentOrder(), e.transportation(), e.time(), e.receivedOrder(), info));
      }
    } else if (event instanceof ObjectMessages.Receive e) {
      SupplementalInfo info = new SupplementalInfo(e.producer() != 0, e.producer(), e.regions() != null, e.regions());
      if (e.time() == null) {
        queue.add(new Callback(CallbackMethod.receiveInteraction_ICH_PHVM_BX_OT_TTH_FASRI_Native,
            e.receivedClass(), e.parameters(), e.tag(), e.sentOrder(), e.transportation(), info));
      } else if (e.sentOrder() == TIMESTAMP) {
        queue.add(new Callback(CallbackMethod.receiveInteraction_ICH_PHVM_BX_OT_TTH_LT_OT_MRH_FASRI_Native,
            e.receivedClass(), e.parameters(), e.tag(), e.sentOrder(), e.transportation(), e.time(),
            e.receivedOrder(), e.retraction(), info));
      } else {
        queue.add(new Callback(CallbackMethod.receiveInteraction_ICH_PHVM_BX_OT_TTH_LT_OT_FASRI_Native,
            e.receivedClass(), e.parameters(), e.tag(), e.sentOrder(), e.transportation(), e.time(),
            e.receivedOrder(), info));
      }
    } else if (event instanceof ObjectMessages.Discover e) {
      objects.discovered(e);
      queue.add(e.producer() != 0
          ? new Callback(CallbackMethod.discoverObjectInstance_OIH_OCH_S_FH_Native, e.object(), e.knownClass(),
              e.name(), e.producer())
          : new Callback(CallbackMethod.discoverObjectInstance_OIH_OCH_S_Native, e.object(), e.knownClass(),
              e.name()));
    } else if (event instanceof ObjectMessages.Remove e) {
      objects.removed(e);
      SupplementalInfo info = new SupplementalInfo(e.producer() != 0, e.producer(), false, null);
      if (e.time() == null) {
        queue.add(new Callback(CallbackMethod.removeObjectInstance_OIH_BX_OT_FASRI_Native, e.object(), e.tag(),
            e.sentOrder(), info));
      } else if (e.sentOrder() == TIMESTAMP) {
        queue.add(new Callback(CallbackMethod.removeObjectInstance_OIH_BX_OT_LT_OT_MRH_FASRI_Native, e.object(),
            e.tag(), e.sentOrder(), e.time(), e.receivedOrder(), e.retraction(), info));
      } else {
        queue.add(new Callback(CallbackMethod.removeObjectInstance_OIH_BX_OT_LT_OT_FASRI_Native, e.object(),
            e.tag(), e.sentOrder(), e.time(), e.receivedOrder(), info));
      }
    } else if (event instanceof ObjectMessages.ProvideUpdate e) {
      queue.add(new Callback(CallbackMethod.provideAttributeValueUpdate_OIH_AHS_BX_Native, e.object(),
          e.attributes(), e.tag()));
    } else if (event instanceof ObjectMessages.NameReservation e) {
      objects.reservation(e);
      if (e.multiple()) {
        queue.add(new Callback(e.succeeded() ? CallbackMethod.multipleObjectInstanceNameReservationSucceeded_S_Native
            : CallbackMethod.multipleObjectInstanceNameReservationFailed_S_Native, e.names()));
      } else {
        queue.add(new Callback(e.succeeded() ? CallbackMethod.objectInstanceNameReservationSucceeded_S_Native
            : CallbackMethod.objectInstanceNameReservationFailed_S_Native, e.names().get(0)));
      }
    } else if (event instanceof DeclarationMessages.ObjectClassRelevance e) {
      queue.add(new Callback(e.on() ? CallbackMethod.startRegistrationForObjectClass_OCH_Native
          : CallbackMethod.stopRegistrationForObjectClass_OCH_Native, e.objectClass()));
    } else if (event instanceof DeclarationMessages.InteractionRelevance e) {
      queue.add(new Callback(e.on() ? CallbackMethod.turnInteractionsOn_ICH_Native
          : CallbackMethod.turnInteractionsOff_ICH_Native, e.interactionClass()));
    } else if (event instanceof DeclarationMessages.AttributeRelevance e) {
      if (!e.on()) {
        queue.add(new Callback(CallbackMethod.turnUpdatesOffForObjectInstance_OIH_AHS_Native, e.object(),
            e.attributes()));
      } else if (e.updateRate().isEmpty()) {
        queue.add(new Callback(CallbackMethod.turnUpdatesOnForObjectInstance_OIH_AHS_Native, e.object(),
            e.attributes()));
      } else {
        queue.add(new Callback(CallbackMethod.turnUpdatesOnForObjectInstance_OIH_AHS_S_Native, e.object(),
            e.attributes(), e.updateRate()));
      }
    } else if (event instanceof DeclarationMessages.AttributeScope e) {
      queue.add(new Callback(e.in() ? CallbackMethod.attributesInScope_OIH_AHS_Native
          : CallbackMethod.attributesOutOfScope_OIH_AHS_Native, e.object(), e.attributes()));
    } else if (event instanceof ObjectMessages.AttributeTransportationChanged e) {
      queue.add(new Callback(CallbackMethod.confirmAttributeTransportationTypeChange_OIH_AHS_TTH_Native,
          e.object(), e.attributes(), e.transportation()));
    } else if (event instanceof ObjectMessages.AttributeTransportationReport e) {
      queue.add(new Callback(CallbackMethod.reportAttributeTransportationType_OIH_AH_TTH_Native, e.object(),
          e.attribute(), e.transportation()));
    } else if (event instanceof ObjectMessages.InteractionTransportationChanged e) {
      queue.add(new Callback(CallbackMethod.confirmInteractionTransportationTypeChange_ICH_TTH_Native,
          e.interactionClass(), e.transportation()));
    } else if (event instanceof ObjectMessages.InteractionTransportationReport e) {
      queue.add(new Callback(CallbackMethod.reportInteractionTransportationType_FH_ICH_TTH_Native, e.federate(),
          e.interactionClass(), e.transportation()));
    } else if (event instanceof OwnershipMessages.Ownership e) {
      objects.ownership(e);
      queue.add(ownershipCallback(e));
    } else if (event instanceof OwnershipMessages.Owner e) {
      queue.add(e.owner() == 0
          ? new Callback(CallbackMethod.attributeIsNotOwned_OIH_AH_Native, e.object(), e.attribute())
          : e.owner() == OwnershipMessages.OWNED_BY_RTI
          ? new Callback(CallbackMethod.attributeIsOwnedByRTI_OIH_AH_Native, e.object(), e.attribute())
          : new Callback(CallbackMethod.informAttributeOwnership_OIH_AH_FH_Native, e.object(), e.attribute(),
              e.owner()));
    } else if (event instanceof TimeMessages.Grant e) {
      queue.add(new Callback(CallbackMethod.timeAdvanceGrant_LT_Native, (Object) e.time()));
    } else if (event instanceof TimeMessages.RequestRetraction e) {
      queue.add(new Callback(CallbackMethod.requestRetraction_MRH_Native, e.handle()));
    } else if (event instanceof TimeMessages.RegulationEnabled e) {
      queue.add(new Callback(CallbackMethod.timeRegulationEnabled_LT_Native, (Object) e.time()));
    } else if (event instanceof TimeMessages.ConstrainedEnabled e) {
      queue.add(new Callback(CallbackMethod.timeConstrainedEnabled_LT_Native, (Object) e.time()));
    } else if (event instanceof SyncMessages.Announce e) {
      queue.add(new Callback(CallbackMethod.announceSynchronizationPoint_S_BX_Native, e.label(), e.tag()));
    } else if (event instanceof SyncMessages.RegistrationSucceeded e) {
      queue.add(new Callback(CallbackMethod.synchronizationPointRegistrationSucceeded_S_Native, e.label()));
    } else if (event instanceof SyncMessages.RegistrationFailed e) {
      queue.add(new Callback(CallbackMethod.synchronizationPointRegistrationFailed_S_SPFR_Native, e.label(),
          e.reason()));
    } else if (event instanceof SaveMessages.InitiateSave e) {
      saveLabel = e.label();
      saveStatus = SaveMessages.FEDERATE_INSTRUCTED_TO_SAVE;
      queue.add(e.time() == null ? new Callback(CallbackMethod.initiateFederateSave_S_Native, e.label())
          : new Callback(CallbackMethod.initiateFederateSave_S_LT_Native, e.label(), e.time()));
    } else if (event instanceof SaveMessages.Saved e) {
      saveStatus = SaveMessages.NO_SAVE_IN_PROGRESS;
    restoreStatus = SaveMessages.NO_RESTORE_IN_PROGRESS;
      queue.add(e.success() ? new Callback(CallbackMethod.federationSaved_Native)
          : new Callback(CallbackMethod.federationNotSaved_SFR_Native, e.reason()));
    } else if (event instanceof SaveMessages.SaveStatus e) {
      List<FederateSaveStatus> statuses = new ArrayList<>();
      for (int i = 0; i + 1 < e.pairs().length; i += 2) {
        statuses.add(new FederateSaveStatus(e.pairs()[i], e.pairs()[i + 1]));
      }
      queue.add(new Callback(CallbackMethod.federationSaveStatusResponse_FHSSPX_Native, statuses));
    } else if (event instanceof SaveMessages.RestoreRequested e) {
      queue.add(new Callback(e.success() ? CallbackMethod.requestFederationRestoreSucceeded_S_Native
          : CallbackMethod.requestFederationRestoreFailed_S_Native, e.label()));
    } else if (event instanceof SaveMessages.RestoreBegun) {
      restoreStatus = SaveMessages.FEDERATE_PREPARED_TO_RESTORE;
      queue.add(new Callback(CallbackMethod.federationRestoreBegun_Native));
    } else if (event instanceof SaveMessages.InitiateRestore e) {
      restoring.set(e);
      restoreStatus = SaveMessages.FEDERATE_RESTORING;
      queue.add(new Callback(CallbackMethod.initiateFederateRestore_S_S_FH_Native, e.label(), e.federateName(),
          e.federate()));
    } else if (event instanceof SaveMessages.Restored e) {
      restoreStatus = SaveMessages.NO_RESTORE_IN_PROGRESS;
      queue.add(e.success() ? new Callback(CallbackMethod.federationRestored_Native)
          : new Callback(CallbackMethod.federationNotRestored_RFR_Native, e.reason()));
    } else if (event instanceof SaveMessages.RestoreStatus e) {
      List<FederateRestoreStatus> statuses = new ArrayList<>();
      for (int i = 0; i + 2 < e.triples().length; i += 3) {
        statuses.add(new FederateRestoreStatus(e.triples()[i], e.triples()[i + 1], e.triples()[i + 2]));
      }
      queue.add(new Callback(CallbackMethod.federationRestoreStatusResponse_FRSX_Native, statuses));
    } else if (event instanceof SyncMessages.Synchronized e) {
      queue.add(new Callback(CallbackMethod.federationSynchronized_S_FHS_Native, e.label(), e.failed()));
    } else if (event instanceof MomMessages.Act e) {
      queue.add(new Callback(null, (Runnable) () -> act(e)));
    } else if (event instanceof MomMessages.Reporting e) {
      reportServices = e.services();
      reportExceptions = e.exceptions();
    } else if (event instanceof FederationMessages.ModelExtended e) {
      JoinState state = joined;
      if (state != null) {
        state.model = e.model();
      }
    } else {
      System.err.println("federate " + federateAmbassador + ": unexpected event " + event);
    }
  }

  /**
   * lost takes the transport's word that the connection ended: the federate is no longer
   * joined, its services throw NotConnected, and connectionLost is its last callback.
   */
  @Override
  public void lost(String reason) {
    lostReason = reason;
    joined = null;
    saveStatus = SaveMessages.NO_SAVE_IN_PROGRESS;
    restoreStatus = SaveMessages.NO_RESTORE_IN_PROGRESS;
    callbacks.add(new Callback(CallbackMethod.connectionLost_S_Native, reason));
  }

  // ---- The management object model's requests ----

  /** dispatchThrough gives the way services are called, for those the management object model asks for. */
  public void dispatchThrough(Dispatcher through) {
    dispatcher = through;
  }

  /**
   * act carries out a service another federate asked for through the management object
   * model, on the thread that delivers this federate's callbacks, as the federate's own call;
   * one that fails is reported to the engine, which tells the federate that asked.
   */
  private void act(MomMessages.Act act) {
    JoinState state = joined;
    Dispatcher through = dispatcher;
    if (state == null) {
      return;  // resigned meanwhile: nobody to act for
    }
    String service = MomActions.serviceOf(state.model, act.interactionClass());
    MomMessages.ActFailed failed;
    try {
      MomActions.Call call = MomActions.read(state.model, act);
      if (through == null) {
        throw new RTIinternalError(service + ": this component was made without a way to call its services");
      }
      through.dispatch(call.service(), call.arguments());
      return;
    } catch (MomValues.Malformed e) {
      failed = new MomMessages.ActFailed(act.requester(), service, e.getMessage(), true);
    } catch (RTIexception e) {
      failed = new MomMessages.ActFailed(act.requester(), service, e.getClass().getSimpleName() + ": "
          + e.getMessage(), false);
    } catch (RuntimeException e) {
      failed = new MomMessages.ActFailed(act.requester(), service, "RTIinternalError: " + e, false);
    }
    try {
      send(ServiceMethod.sendInteraction_ICH_PHVM_BX, failed);
    } catch (RTIexception e) {
      // No longer connected: nobody is left to tell.
    }
  }

  public boolean reportsServices() {
    return reportServices;
  }

  public boolean reportsExceptions() {
    return reportExceptions;
  }

  /**
   * reportInvocation reports a service call of the federate while the management object
   * model asks for it (failure null: it succeeded), and the exception it threw while
   * exception reports are asked for. Calls that only deliver callbacks are not reported: a
   * federate makes them all the time.
   */
  public void reportInvocation(ServiceMethod service, Object[] arguments, Object result, RTIexception failure) {
    if (service == ServiceMethod.evokeCallback_D || service == ServiceMethod.evokeMultipleCallbacks_D_D
        || joined == null) {
      return;
    }
    String exception = failure == null ? "" : failure.getClass().getSimpleName() + ": " + failure.getMessage();
    try {
      if (reportServices) {
        List<String> supplied = new ArrayList<>();
        for (Object argument : arguments) {
          supplied.add(describe(argument));
        }
        send(service, new MomMessages.ServiceInvoked(service.serviceName(), failure == null, supplied,
            result == null ? List.of() : List.of(describe(result)), exception, reportSerial.incrementAndGet()));
      }
      if (reportExceptions && failure != null) {
        send(service, new MomMessages.ExceptionGiven(service.serviceName(), exception));
      }
    } catch (RTIexception e) {
      // No longer connected: the report goes nowhere.
    }
  }

  /** describe writes a service argument as text: numbers and names as they are, sets as lists, bytes in hex. */
  private static String describe(Object value) {
    if (value instanceof byte[] bytes) {
      return java.util.HexFormat.of().formatHex(bytes);
    }
    if (value instanceof int[] handles) {
      return java.util.Arrays.toString(handles);
    }
    if (value instanceof HandleValues values) {
      StringBuilder text = new StringBuilder("{");
      for (int i = 0; i < values.size(); i++) {
        text.append(i == 0 ? "" : ", ").append(values.handle(i)).append('=')
            .append(java.util.HexFormat.of().formatHex(values.value(i)));
      }
      return text.append('}').toString();
    }
    return String.valueOf(value);
  }

  // ---- Callback delivery ----

  public boolean evokeCallback(double seconds) throws RTIexception {
    check(ServiceMethod.evokeCallback_D);
    long deadline = deadline(seconds);
    CallbackQueue queue = callbacks;
    if (callbackModel != EVOKED) {
      queue.sleep(deadline);
      return false;
    }
    Callback next = queue.poll(deadline);
    if (next != null) {
      deliver(next);
    }
    return queue.pending();
  }

  public boolean evokeMultipleCallbacks(double minimum, double maximum) throws RTIexception {
    check(ServiceMethod.evokeMultipleCallbacks_D_D);
    long minDeadline = deadline(minimum);
    long maxDeadline = Math.max(minDeadline, deadline(maximum));
    CallbackQueue queue = callbacks;
    if (callbackModel != EVOKED) {
      queue.sleep(minDeadline);
      return false;
    }
    // The clock is read once every few callbacks (a read costs as much as a small callback's
    // own work), so the maximum may be passed by that many callbacks.
    long now = System.nanoTime();
    for (int delivered = 1; now - maxDeadline < 0; delivered++) {
      Callback next = queue.poll(now - minDeadline < 0 ? minDeadline : now);
      if (next == null) {
        break;
      }
      deliver(next);
      if (delivered % 16 == 0 || !queue.pending()) {
        now = System.nanoTime();
      }
    }
    return queue.pending();
  }

  private static long deadline(double seconds) {
    double clamped = Double.isNaN(seconds) || seconds < 0 ? 0 : Math.min(seconds, 1e6);
    return System.nanoTime() + (long) (clamped * 1e9);
  }

  public void enableCallbacks() throws RTIexception {
    check(ServiceMethod.enableCallbacks);
    callbacks.setEnabled(true);
  }

  public void disableCallbacks() throws RTIexception {
    check(ServiceMethod.disableCallbacks);
    callbacks.setEnabled(false);
  }

  private void deliverImmediately(CallbackQueue queue) {
    Callback next;
    while ((next = queue.take()) != null) {
      deliver(next);
    }
  }

  private void deliver(Callback callback) {
    synchronized (deliveryLock) {
      if (callback.method() == null) {  // a service the management object model asked for: not a callback
        ((Runnable) callback.args()[0]).run();
        return;
      }
      Thread outer = deliveringThread;
      deliveringThread = Thread.currentThread();
      try {
        time.delivering(callback);
        if (callback.method() == CallbackMethod.initiateFederateRestore_S_S_FH_Native) {
          takeRestoredState();
        }
        sink.deliver(federateAmbassador, callback);
      } catch (Throwable t) {
        System.err.println("Federate ambassador callback " + callback.method().name() + " failed: "
            + (t.getMessage() != null ? t.getMessage() : t.toString()));
      } finally {
        deliveringThread = outer;
      }
    }
  }
}
