package org.vantor.ostra1516e.engine;

import java.nio.file.Path;
import java.time.Duration;
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
  private final Path saveDirectory;
  private final Snapshots snapshots = new Snapshots();
  /** Timers of periodic work (the management object model's reports); their tasks only post to a mailbox. */
  private static final java.util.concurrent.ScheduledExecutorService TIMER =
      java.util.concurrent.Executors.newSingleThreadScheduledExecutor(task -> {
        Thread thread = new Thread(task, "ostra-timer");
        thread.setDaemon(true);
        return thread;
      });
  /** Posters of timed tasks: posting may drain a mailbox, which the timer's one thread must not wait for. */
  private static final java.util.concurrent.ExecutorService POSTERS =
      java.util.concurrent.Executors.newCachedThreadPool(task -> {
        Thread thread = new Thread(task, "ostra-timed-post");
        thread.setDaemon(true);
        return thread;
      });

  /**
   * FederationEngine holds federations whose mailboxes take at most mailboxLimit messages
   * before those who post wait (0: no limit). A server bounds them, so that a federation
   * held up by a federate that does not read cannot fill its memory; in a federate's own
   * process no limit is needed, as every poster is a federate thread that may go on.
   */
  public FederationEngine(int mailboxLimit, Path saveDirectory) {
    this.mailboxLimit = mailboxLimit;
    this.saveDirectory = saveDirectory;
  }

  /** FederationEngine holds federations whose mailboxes have no limit, saving into the default directory. */
  public FederationEngine() {
    this(0, defaultSaveDirectory());
  }

  /**
   * defaultSaveDirectory is where federation saves are kept unless told otherwise: the
   * directory the system property ostra.saveDirectory names, or .ostra1516e/saves in the
   * user's home directory.
   */
  /**
   * schedule runs task on federation's mailbox every period, from one period on, until the
   * returned future is cancelled. While one run is still waiting to be handled the next is
   * skipped, so a federation that is held up gathers no backlog of them.
   */
  java.util.concurrent.ScheduledFuture<?> schedule(Federation federation, Runnable task, long period,
      java.util.concurrent.TimeUnit unit) {
    java.util.concurrent.atomic.AtomicBoolean waiting = new java.util.concurrent.atomic.AtomicBoolean();
    return TIMER.scheduleAtFixedRate(() -> {
      if (waiting.compareAndSet(false, true)) {
        POSTERS.execute(() -> federation.post(() -> {
          waiting.set(false);
          task.run();
        }));
      }
    }, period, period, unit);
  }

  public static Path defaultSaveDirectory() {
    String named = System.getProperty("ostra.saveDirectory");
    return named != null && !named.isEmpty() ? Path.of(named)
        : Path.of(System.getProperty("user.home"), ".ostra1516e", "saves");
  }

  /** saveDirectory holds a directory per federation, with a file per save label in each. */
  Path saveDirectory() {
    return saveDirectory;
  }

  /** embedded is the engine that every component of this process reaches by default. */
  public static FederationEngine embedded() {
    return EMBEDDED;
  }

  int mailboxLimit() {
    return mailboxLimit;
  }

  /** openSession opens the engine's side of a component in this process. */
  public Session openSession(Consumer<Event> events) {
    return openSession(events, "in-process");
  }

  /** openSession opens the engine's side of a component at host (its peer address, for a server). */
  public Session openSession(Consumer<Event> events, String host) {
    return new Session(this, events, host);
  }

  /**
   * snapshots describes every federation execution, sorted by name, each as its own task
   * saw it; one that does not answer within timeout shows as busy. The federations' work
   * never waits for the caller.
   */
  public List<Snapshots.FederationView> snapshots(Duration timeout) {
    List<Federation> all = new ArrayList<>(executions.values());
    all.sort(Comparator.comparing(Federation::name));
    return snapshots.take(all, timeout, this::execution);
  }

  /** snapshot describes one federation execution as {@link #snapshots} does; null when none has that name. */
  public Snapshots.FederationView snapshot(String name, Duration timeout) {
    Federation execution = executions.get(name);
    if (execution == null) {
      return null;
    }
    List<Snapshots.FederationView> taken = snapshots.take(List.of(execution), timeout, this::execution);
    return taken.isEmpty() ? null : taken.get(0);
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

  /** execution is the federation execution of that name, or null. */
  Federation execution(String name) {
    return executions.get(name);
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
