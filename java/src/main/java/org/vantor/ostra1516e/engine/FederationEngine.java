package org.vantor.ostra1516e.engine;

import java.util.ArrayList;
import java.util.Comparator;
import java.util.List;
import java.util.concurrent.ConcurrentHashMap;
import java.util.function.Consumer;
import org.vantor.ostra1516e.fom.FomException;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.message.Event;
import org.vantor.ostra1516e.message.FederationMessages;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.wire.FederationExecution;

/**
 * FederationEngine holds the federation executions of one engine: the one embedded in a
 * federate's process, or later a federation server's. Each execution handles its own
 * messages in its own mailbox; the engine only creates, finds, lists and forgets them, so
 * no lock is shared between federations.
 *
 * <p>Thread-safety: every method may be called from any thread.
 */
public final class FederationEngine {
  private static final FederationEngine EMBEDDED = new FederationEngine();

  private final ConcurrentHashMap<String, Federation> executions =
      new ConcurrentHashMap<>();
  private final int mailboxLimit;

  /**
   * FederationEngine holds federations whose mailboxes take at most mailboxLimit messages
   * before those who post wait (0: no limit). A server bounds them, so that a federation
   * held up by a federate that does not read cannot fill its memory; in a federate's own
   * process no limit is needed, as every poster is a federate thread that may go on.
   */
  public FederationEngine(int mailboxLimit) {
    this.mailboxLimit = mailboxLimit;
  }

  /** FederationEngine holds federations whose mailboxes have no limit. */
  public FederationEngine() {
    this(0);
  }

  /** embedded is the engine that every component of this process reaches by default. */
  public static FederationEngine embedded() {
    return EMBEDDED;
  }

  int mailboxLimit() {
    return mailboxLimit;
  }

  public Session openSession(Consumer<Event> events) {
    return new Session(this, events);
  }

  void create(FederationMessages.Create m, Consumer<Reply> reply) {
    FomModel model;
    try {
      model = FomModel.create(m.mim(), m.modules());
    } catch (FomException e) {
      reply.accept(new Reply.Refused("InconsistentFDD", e.getMessage()));
      return;
    }
    Federation created =
        new Federation(this, m.federation(), m.timeImplementation(), model);
    if (executions.putIfAbsent(m.federation(), created) != null) {
      reply.accept(new Reply.Refused("FederationExecutionAlreadyExists",
          "federation execution " + m.federation() + " already exists"));
      return;
    }
    reply.accept(Reply.Done.INSTANCE);
  }

  void destroy(FederationMessages.Destroy m, Consumer<Reply> reply) {
    Federation execution = executions.get(m.federation());
    if (execution == null) {
      reply.accept(doesNotExist(m.federation()));
      return;
    }
    execution.post(() -> execution.destroy(reply));
  }

  void join(Session session, FederationMessages.Join m, Consumer<Reply> reply) {
    Federation execution = executions.get(m.federation());
    if (execution == null) {
      reply.accept(doesNotExist(m.federation()));
      return;
    }
    execution.post(() -> execution.join(session, m, reply));
  }

  void list(Consumer<Reply> reply) {
    List<FederationExecution> listed = new ArrayList<>();
    for (Federation execution : executions.values()) {
      listed.add(new FederationExecution(execution.name(), execution.timeImplementation()));
    }
    listed.sort(Comparator.comparing(FederationExecution::federationExecutionName));
    reply.accept(new Reply.Federations(List.copyOf(listed)));
  }

  /** forget drops a destroyed execution, called by that execution's own task. */
  void forget(Federation execution) {
    executions.remove(execution.name(), execution);
  }

  static Reply.Refused doesNotExist(String federation) {
    return new Reply.Refused("FederationExecutionDoesNotExist",
        "federation execution " + federation + " does not exist");
  }
}
