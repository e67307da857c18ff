package org.vantor.ostra1516e.engine;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.function.Consumer;
import org.vantor.ostra1516e.message.FederationMessages;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.message.SaveMessages;

/**
 * Restores coordinates a federation's restores. A restore reads the federation's save under
 * its label and pairs each federate saved in it with a joined federate of the same type (in
 * the order they joined): the joined federates must be of the same types, as many of each,
 * as at the save. If the file does not read or the federates do not pair, only the federate
 * that asked hears so and nothing changes. Otherwise every federate hears that the restore
 * has begun, the federation takes the saved state, each joined federate becomes the saved
 * federate it is paired with (name and handle) and is told to restore with its component's
 * saved part; the restore ends when each has reported, or when one resigns or is lost, or
 * when a federate aborts it. Time stands still meanwhile.
 *
 * <p>Thread-safety: touched only by its federation's tasks.
 */
final class Restores {
  private static final System.Logger LOG = System.getLogger(Restores.class.getName());

  private final Federation federation;
  /** Each member's status while a restore is in progress (empty otherwise), by its handle after the restore. */
  private final Map<Integer, Integer> statuses = new LinkedHashMap<>();
  /** Each member's handle before the restore, by its handle after. */
  private final Map<Integer, Integer> before = new HashMap<>();
  private boolean failed;

  Restores(Federation federation) {
    this.federation = federation;
  }

  boolean inProgress() {
    return !statuses.isEmpty();
  }

  void request(Member member, SaveMessages.RequestRestore m, Consumer<Reply> reply) {
    if (federation.saves().inProgress()) {
      reply.accept(new Reply.Refused("SaveInProgress", "the federation is saving " + federation.saves().label()
          + "; restore when the save has ended"));
      return;
    }
    if (inProgress()) {
      reply.accept(new Reply.Refused("RestoreInProgress", "the federation is already being restored"));
      return;
    }
    reply.accept(Reply.Done.INSTANCE);
    Path file = federation.saveFile(m.label());
    byte[] bytes;
    Federation saved;
    try {
      bytes = Files.readAllBytes(file);
      saved = SaveFile.decode(federation.engine(), bytes, file.toString());
    } catch (IOException | SaveFile.SaveFileException e) {
      refuse(member, m.label(), e instanceof IOException ? "cannot read " + file + ": " + e : e.getMessage());
      return;
    }
    Map<Member, Member> pairs = pair(saved);
    if (pairs == null) {
      refuse(member, m.label(), "the joined federates' types differ from those saved in " + file);
      return;
    }
    member.send(new SaveMessages.RestoreRequested(m.label(), true));
    for (Member joined : federation.members()) {
      joined.send(new SaveMessages.RestoreBegun());
    }
    try {
      SaveFile.restoreInto(federation, bytes, file.toString());
    } catch (SaveFile.SaveFileException e) {
      throw new IllegalStateException("a save that read once does not read again: " + e.getMessage(), e);
    }
    failed = false;
    before.clear();
    pairs.forEach((savedMember, joined) -> {
      Member restored = federation.member(savedMember.handle);
      federation.bind(restored, joined.session);
      before.put(restored.handle, joined.handle);
    });
    federation.mom().restored();
    FederationMessages.ModelExtended model = new FederationMessages.ModelExtended(federation.model());
    for (Member restored : federation.members()) {
      statuses.put(restored.handle, SaveMessages.FEDERATE_RESTORING);
      restored.send(model);
      restored.send(new SaveMessages.InitiateRestore(m.label(), restored.name, restored.handle,
          saved.saves().stateOf(restored.handle)));
    }
  }

  private void refuse(Member member, String label, String why) {
    LOG.log(System.Logger.Level.WARNING, "federation " + federation.name() + " cannot restore " + label + ": " + why);
    member.send(new SaveMessages.RestoreRequested(label, false));
  }

  /** pair matches every saved member with a joined member of the same type, or is null when they do not match. */
  private Map<Member, Member> pair(Federation saved) {
    List<Member> unpaired = new ArrayList<>();
    federation.members().forEach(unpaired::add);
    Map<Member, Member> pairs = new LinkedHashMap<>();
    for (Member s : saved.members()) {
      Member match = null;
      for (Member joined : unpaired) {
        if (joined.type.equals(s.type)) {
          match = joined;
          break;
        }
      }
      if (match == null || saved.saves().stateOf(s.handle) == null) {
        return null;
      }
      unpaired.remove(match);
      pairs.put(s, match);
    }
    return unpaired.isEmpty() ? pairs : null;
  }

  void complete(Member member, SaveMessages.RestoreComplete m) {
    if (statuses.replace(member.handle, SaveMessages.FEDERATE_WAITING_FOR_FEDERATION_TO_RESTORE) == null) {
      return;
    }
    failed |= !m.success();
    if (statuses.values().stream().allMatch(s -> s == SaveMessages.FEDERATE_WAITING_FOR_FEDERATION_TO_RESTORE)) {
      end(!failed, SaveMessages.FEDERATE_REPORTED_FAILURE_DURING_RESTORE);
    }
  }

  void abort(Consumer<Reply> reply) {
    if (!inProgress()) {
      reply.accept(new Reply.Refused("RestoreNotInProgress", "no federation restore is in progress"));
      return;
    }
    reply.accept(Reply.Done.INSTANCE);
    end(false, SaveMessages.RESTORE_ABORTED);
  }

  /** left ends the restore in progress when a member leaves it: resigned, or lost. */
  void left(Member member, boolean lost) {
    if (statuses.remove(member.handle) != null) {
      end(false, lost ? SaveMessages.RTI_DETECTED_FAILURE_DURING_RESTORE
          : SaveMessages.FEDERATE_RESIGNED_DURING_RESTORE);
    }
  }

  void query(Member member) {
    int[] triples = new int[3 * federation.memberCount()];
    int i = 0;
    for (Member m : federation.members()) {
      triples[i++] = before.getOrDefault(m.handle, m.handle);
      triples[i++] = m.handle;
      triples[i++] = statuses.getOrDefault(m.handle, SaveMessages.NO_RESTORE_IN_PROGRESS);
    }
    member.send(new SaveMessages.RestoreStatus(triples));
  }

  private void end(boolean success, int reason) {
    statuses.clear();
    SaveMessages.Restored restored = new SaveMessages.Restored(success, reason);
    for (Member member : federation.members()) {
      member.send(restored);
    }
    federation.time().grant();
  }
}
