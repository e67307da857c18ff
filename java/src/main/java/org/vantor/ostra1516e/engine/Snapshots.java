package org.vantor.ostra1516e.engine;

import java.nio.ByteBuffer;
import java.time.Duration;
import java.util.ArrayList;
import java.util.HashSet;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.TimeoutException;
import java.util.function.Function;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.time.Bound;
import org.vantor.ostra1516e.time.TimeRepresentation;

/**
 * Snapshots takes pictures of federation executions for those who watch them, such as the
 * server's monitoring page. Each picture is built by a task on the federation's own
 * mailbox, so it shows one consistent state without a lock, and the one who asks waits for
 * it only so long: a federation that does not answer in time shows as busy.
 *
 * <p>The task is posted from a thread of this class, never the asker's: posting may drain
 * the mailbox, or on a server wait for room in it, and the asker must do neither. While one
 * federation's picture is on its way, those who ask again share it, so a federation that
 * is stuck holds at most one poster.
 *
 * <p>Only names, states and counters leave a federation this way, never attribute values
 * or parameters.
 *
 * <p>Thread-safety: {@link #take} may be called from any thread.
 */
public final class Snapshots {
  /** FederationView is one federation execution at one moment. Busy: it did not answer in time, nothing but its name is known. */
  public record FederationView(String name, String timeRepresentation, List<String> fomModules, boolean busy,
      boolean saving, int queued, List<FederateView> federates) {
    public long updatesSent() {
      return federates.stream().mapToLong(FederateView::updatesSent).sum();
    }

    public long interactionsSent() {
      return federates.stream().mapToLong(FederateView::interactionsSent).sum();
    }

    public long reflectionsReceived() {
      return federates.stream().mapToLong(FederateView::reflectionsReceived).sum();
    }

    public long interactionsReceived() {
      return federates.stream().mapToLong(FederateView::interactionsReceived).sum();
    }
  }

  /**
   * FederateView is one joined federate. Times and lookahead are numbers of the
   * federation's representation (Long or Double), null where there is none: GALT and LITS
   * when no other federate regulates, lookahead while not regulating. request is the kind of
   * time advance asked for and not yet granted (timeAdvance, timeAdvanceAvailable,
   * nextMessage, nextMessageAvailable, flushQueue), or null. holdsBack marks a regulating
   * federate whose bound is the GALT of a constrained federate that waits for a grant (each
   * of them, where several have that least bound).
   */
  public record FederateView(int handle, String name, String type, String host, long since, boolean regulating,
      boolean constrained, Number time, Number lookahead, Number galt, Number lits, String request,
      Number requestedTime, boolean holdsBack, long updatesSent, long interactionsSent, long reflectionsReceived,
      long interactionsReceived, int heldTimeStampOrder, int heldReceiveOrder) {
  }

  private final ConcurrentHashMap<Federation, CompletableFuture<FederationView>> onTheirWay =
      new ConcurrentHashMap<>();
  private final ExecutorService posters = Executors.newCachedThreadPool(task -> {
    Thread thread = new Thread(task, "ostra-snapshot");
    thread.setDaemon(true);
    return thread;
  });

  /**
   * take pictures each federation, in the order given, waiting until timeout has passed at
   * most; those that current no longer finds by name (destroyed meanwhile) are left out.
   */
  List<FederationView> take(List<Federation> federations, Duration timeout, Function<String, Federation> current) {
    long deadline = System.nanoTime() + timeout.toNanos();
    List<CompletableFuture<FederationView>> asked = new ArrayList<>();
    for (Federation federation : federations) {
      asked.add(ask(federation));
    }
    List<FederationView> views = new ArrayList<>();
    for (int i = 0; i < federations.size(); i++) {
      Federation federation = federations.get(i);
      FederationView view;
      try {
        view = asked.get(i).get(Math.max(0, deadline - System.nanoTime()), TimeUnit.NANOSECONDS);
      } catch (TimeoutException | ExecutionException e) {
        view = busy(federation);
      } catch (InterruptedException e) {
        Thread.currentThread().interrupt();
        view = busy(federation);
      }
      if (current.apply(federation.name()) == federation) {
        views.add(view);
      }
    }
    return views;
  }

  private CompletableFuture<FederationView> ask(Federation federation) {
    CompletableFuture<FederationView> created = new CompletableFuture<>();
    CompletableFuture<FederationView> shared = onTheirWay.putIfAbsent(federation, created);
    if (shared != null) {
      return shared;
    }
    posters.execute(() -> federation.post(() -> {
      try {
        created.complete(view(federation));
      } catch (RuntimeException e) {
        created.completeExceptionally(e);
      } finally {
        onTheirWay.remove(federation, created);
      }
    }));
    return created;
  }

  private static FederationView busy(Federation federation) {
    return new FederationView(federation.name(), federation.timeImplementation(), List.of(), true, false,
        federation.queued(), List.of());
  }

  /** view pictures federation; runs as one of its tasks. */
  private static FederationView view(Federation federation) {
    TimeManagement time = federation.time();
    TimeRepresentation times = time.times();
    boolean integer = times == TimeRepresentation.named(TimeRepresentation.INTEGER);

    time.settle();  // once for all the members, not once for each
    Map<Member, Bound> bounds = new LinkedHashMap<>();
    for (Member member : federation.members()) {
      if (member.time.regulating) {
        bounds.put(member, time.bound(member.time));
      }
    }
    Set<Member> holding = new HashSet<>();
    for (Member member : federation.members()) {
      if (member.time.constrained && member.time.request != 0) {
        Bound least = null;
        for (Map.Entry<Member, Bound> each : bounds.entrySet()) {
          if (each.getKey() != member && (least == null || each.getValue().below(least))) {
            least = each.getValue();
          }
        }
        for (Map.Entry<Member, Bound> each : bounds.entrySet()) {
          if (each.getKey() != member && each.getValue().equals(least)) {
            holding.add(each.getKey());  // all of those with the least bound: each alone holds it there
          }
        }
      }
    }

    List<FederateView> federates = new ArrayList<>();
    for (Member member : federation.members()) {
      TimeManagement.TimeState state = member.time;
      Bound galt = time.galtSettled(member);
      Long lits = time.litsSettled(member);
      federates.add(new FederateView(member.handle, member.name, member.type, member.host(), member.since,
          state.regulating, state.constrained, value(times, integer, state.time),
          state.regulating ? interval(integer, state.lookahead) : null,
          galt == null ? null : value(times, integer, galt.time()),
          lits == null ? null : value(times, integer, lits),
          requestName(state.request), state.request == 0 ? null : value(times, integer, state.requested),
          holding.contains(member), member.updatesSent, member.interactionsSent, member.reflectionsReceived,
          member.interactionsReceived, state.held.size(), state.receiveOrder.size()));
    }
    return new FederationView(federation.name(), federation.timeImplementation(),
        federation.model().moduleDesignators(), false, federation.saves().inProgress(), federation.queued(),
        List.copyOf(federates));
  }

  private static Number value(TimeRepresentation times, boolean integer, long ordinal) {
    ByteBuffer encoded = ByteBuffer.wrap(times.encode(ordinal));
    return integer ? (Number) encoded.getLong() : (Number) encoded.getDouble();
  }

  private static Number interval(boolean integer, byte[] lookahead) {
    if (lookahead == null || lookahead.length != TimeRepresentation.LENGTH) {
      return null;
    }
    ByteBuffer encoded = ByteBuffer.wrap(lookahead);
    return integer ? (Number) encoded.getLong() : (Number) encoded.getDouble();
  }

  private static String requestName(int kind) {
    return switch (kind) {
      case TimeMessages.TIME_ADVANCE -> "timeAdvance";
      case TimeMessages.TIME_ADVANCE_AVAILABLE -> "timeAdvanceAvailable";
      case TimeMessages.NEXT_MESSAGE -> "nextMessage";
      case TimeMessages.NEXT_MESSAGE_AVAILABLE -> "nextMessageAvailable";
      case TimeMessages.FLUSH_QUEUE -> "flushQueue";
      default -> null;
    };
  }
}
