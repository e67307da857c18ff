package org.vantor.ostra1516e.engine;

import java.io.IOException;
import java.nio.file.Path;
import java.util.LinkedHashMap;
import java.util.Map;
import java.util.function.Consumer;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.message.SaveMessages;

/**
 * Saves coordinates a federation's saves. A save asked for without a time begins at once;
 * one with a time waits until every time-constrained member has reached that time (a
 * request that comes meanwhile replaces it). Beginning, every joined member is instructed
 * to save; the save ends when each has reported, or when one resigns or is lost, or when a
 * member aborts it. A save in which every member succeeded is written to the federation's
 * save file under its label before anyone is told it is saved. Time stands still while a
 * save is in progress: no grant is given until it ends.
 *
 * <p>Thread-safety: touched only by its federation's tasks.
 */
final class Saves {
  private static final System.Logger LOG = System.getLogger(Saves.class.getName());

  private final Federation federation;
  private String label;
  /** The save's time (encoded; null without one), and as an ordinal. */
  private byte[] time;
  private long ordinal;
  private boolean waiting;
  /** Each member's status while a save is in progress (empty otherwise). */
  private final Map<Integer, Integer> statuses = new LinkedHashMap<>();
  /** What each member's component handed to the save in progress, or to the save this federation was read from. */
  private final Map<Integer, byte[]> states = new java.util.HashMap<>();
  private boolean failed;
  private String lastLabel = "";
  private byte[] lastTime;

  Saves(Federation federation) {
    this.federation = federation;
  }

  /** inProgress tells whether the members have been instructed to save and the save has not ended. */
  boolean inProgress() {
    return !statuses.isEmpty();
  }

  /** restoredAs takes the label, time and members' states of the save a federation was read from. */
  void restoredAs(String label, byte[] time, Map<Integer, byte[]> states) {
    this.label = label;
    this.time = time;
    this.states.clear();
    this.states.putAll(states);
  }

  /** stateOf is what member's component handed to the save (null if nothing). */
  byte[] stateOf(int member) {
    return states.get(member);
  }

  String label() {
    return label;
  }

  byte[] time() {
    return time;
  }

  /** The label and time of the last save that succeeded: empty and null before the first. */
  String lastLabel() {
    return lastLabel;
  }

  byte[] lastTime() {
    return lastTime;
  }

  /** The label and time of the save asked for and not yet ended: empty and null when there is none. */
  String nextLabel() {
    return inProgress() || waiting ? label : "";
  }

  byte[] nextTime() {
    return inProgress() || waiting ? time : null;
  }

  void request(Member member, SaveMessages.RequestSave m, Consumer<Reply> reply) {
    if (federation.restores().inProgress()) {
      reply.accept(new Reply.Refused("RestoreInProgress", "the federation is being restored; save when it has been"));
      return;
    }
    if (inProgress()) {
      reply.accept(new Reply.Refused("SaveInProgress", "the federation is saving " + label
          + "; a new save may be asked for when it ends"));
      return;
    }
    reply.accept(Reply.Done.INSTANCE);
    label = m.label();
    time = m.time();
    if (time == null) {
      begin();
      return;
    }
    ordinal = federation.time().times().ordinal(time);
    waiting = true;
    timeMoved();
  }

  /** timeMoved begins a save waiting for its time once every constrained member has reached it. */
  void timeMoved() {
    if (!waiting) {
      return;
    }
    boolean reached = true;
    boolean passed = false;
    for (Member member : federation.members()) {
      if (member.time.constrained) {
        reached &= member.time.time >= ordinal;
        passed |= member.time.time > ordinal;
      }
    }
    if (passed) {
      end(false, SaveMessages.SAVE_TIME_CANNOT_BE_HONORED);
    } else if (reached) {
      begin();
    }
  }

  private void begin() {
    waiting = false;
    failed = false;
    states.clear();
    SaveMessages.InitiateSave initiate = new SaveMessages.InitiateSave(label, time);
    for (Member member : federation.members()) {
      statuses.put(member.handle, SaveMessages.FEDERATE_INSTRUCTED_TO_SAVE);
      member.send(initiate);
    }
    if (statuses.isEmpty()) {
      finish();
    }
  }

  void begun(Member member) {
    statuses.computeIfPresent(member.handle, (h, status) ->
        status == SaveMessages.FEDERATE_INSTRUCTED_TO_SAVE ? SaveMessages.FEDERATE_SAVING : status);
  }

  void complete(Member member, SaveMessages.SaveComplete m) {
    if (statuses.replace(member.handle, SaveMessages.FEDERATE_WAITING_FOR_FEDERATION_TO_SAVE) == null) {
      return;
    }
    failed |= !m.success() || m.state() == null;
    if (m.state() != null) {
      states.put(member.handle, m.state());
    }
    if (statuses.values().stream().allMatch(s -> s == SaveMessages.FEDERATE_WAITING_FOR_FEDERATION_TO_SAVE)) {
      finish();
    }
  }

  private void finish() {
    if (failed) {
      end(false, SaveMessages.FEDERATE_REPORTED_FAILURE_DURING_SAVE);
      return;
    }
    Path file = federation.saveFile(label);
    try {
      SaveFile.write(federation, file);
    } catch (IOException | RuntimeException e) {
      LOG.log(System.Logger.Level.WARNING, "federation " + federation.name() + " could not save " + label + ": "
          + e.getMessage());
      end(false, SaveMessages.RTI_UNABLE_TO_SAVE);
      return;
    }
    end(true, 0);
  }

  void abort(Consumer<Reply> reply) {
    if (!inProgress() && !waiting) {
      reply.accept(new Reply.Refused("SaveNotInProgress", "no federation save is in progress or waiting for its time"));
      return;
    }
    reply.accept(Reply.Done.INSTANCE);
    end(false, SaveMessages.SAVE_ABORTED);
  }

  /** left ends the save in progress when a member leaves it: resigned, or lost (its connection closed). */
  void left(Member member, boolean lost) {
    if (statuses.remove(member.handle) != null) {
      end(false, lost ? SaveMessages.RTI_DETECTED_FAILURE_DURING_SAVE : SaveMessages.FEDERATE_RESIGNED_DURING_SAVE);
    }
  }

  void query(Member member) {
    int[] pairs = new int[2 * federation.memberCount()];
    int i = 0;
    for (Member m : federation.members()) {
      pairs[i++] = m.handle;
      pairs[i++] = statuses.getOrDefault(m.handle, SaveMessages.NO_SAVE_IN_PROGRESS);
    }
    member.send(new SaveMessages.SaveStatus(pairs));
  }

  private void end(boolean success, int reason) {
    boolean held = inProgress();
    waiting = false;
    statuses.clear();
    if (success) {
      lastLabel = label;
      lastTime = time;
    }
    SaveMessages.Saved saved = new SaveMessages.Saved(success, reason);
    for (Member member : federation.members()) {
      member.send(saved);
    }
    if (held) {
      federation.time().grant();
    }
  }
}
