package org.vantor.ostra1516e.engine;

import java.util.function.Consumer;
import org.vantor.ostra1516e.message.Event;
import org.vantor.ostra1516e.message.FederationMessages;
import org.vantor.ostra1516e.message.Message;
import org.vantor.ostra1516e.message.Reply;

/**
 * Session is the engine's side of one component's connection: it routes the component's
 * messages to the engine or to the federation it joined, and carries events back.
 *
 * <p>Thread-safety: {@link #handle} may be called from any thread; messages of one session
 * are handled in the order of the calls. Events are delivered on the engine's threads.
 */
public final class Session {
  private final FederationEngine engine;
  private final Consumer<Event> events;
  /** Where the component is: its peer address, or "in-process". */
  private final String host;
  /** The federation this session's federate joined, set and cleared by that federation's tasks. */
  private volatile Federation federation;
  private volatile boolean closed;

  Session(FederationEngine engine, Consumer<Event> events, String host) {
    this.engine = engine;
    this.events = events;
    this.host = host;
  }

  String host() {
    return host;
  }

  /**
   * handle carries out message; a request's reply goes to reply (exactly once), a notice
   * has none (reply is null).
   */
  public void handle(Message message, Consumer<Reply> reply) {
    Consumer<Reply> answer = reply != null ? reply : ignored -> { };
    if (message instanceof FederationMessages.Create m) {
      guard(answer, () -> engine.create(m, answer));
    } else if (message instanceof FederationMessages.Destroy m) {
      guard(answer, () -> engine.destroy(m, answer));
    } else if (message instanceof FederationMessages.ListExecutions) {
      guard(answer, () -> engine.list(answer));
    } else if (message instanceof FederationMessages.Join m) {
      guard(answer, () -> engine.join(this, m, answer));
    } else {
      Federation joined = federation;
      if (joined == null) {
        answer.accept(new Reply.Refused("FederateNotExecutionMember", "not joined to a federation execution"));
        return;
      }
      joined.post(() -> guard(answer, () -> joined.handle(this, message, answer)));
    }
  }

  /** guard answers a request whose handling failed, so that its federate never waits for ever. */
  private static void guard(Consumer<Reply> answer, Runnable work) {
    try {
      work.run();
    } catch (RuntimeException e) {
      System.err.println("federation engine: internal error: " + e);
      e.printStackTrace();
      answer.accept(new Reply.Refused("RTIinternalError", "internal error in the federation engine: " + e));
    }
  }

  /** close ends the session; a federate still joined is resigned automatically. */
  public void close() {
    closed = true;
    Federation joined = federation;
    if (joined != null) {
      joined.post(() -> joined.lose(this));
    }
  }

  boolean isClosed() {
    return closed;
  }

  void deliver(Event event) {
    if (!closed) {
      events.accept(event);
    }
  }

  Federation federation() {
    return federation;
  }

  void joined(Federation execution) {
    federation = execution;
  }
}
