package org.vantor.ostra1516e.message;

/**
 * SaveMessages are the messages of federation saves and restores. The engine coordinates
 * both: it instructs every joined federate, follows each one's progress, writes the
 * federation's state when all have saved (or reads it back and hands each federate its
 * part), and tells everyone the outcome. Status and failure reasons are the wire numbers of
 * the API's SaveStatus, SaveFailureReason, RestoreStatus and RestoreFailureReason.
 */
public final class SaveMessages {
  private SaveMessages() {}

  /** RequestSave asks for a save under label, at once or (time not null) when the federation reaches time. */
  public record RequestSave(String label, byte[] time) implements Request {}

  /** InitiateSave instructs a federate to save its state under label; time is the save's time, or null. */
  public record InitiateSave(String label, byte[] time) implements Event {}

  public record SaveBegun() implements Notice {}

  /**
   * SaveComplete reports that the federate saved its state (or, with success false, could
   * not); state is its component's own part, which a restore hands back to it (null on failure).
   */
  public record SaveComplete(boolean success, byte[] state) implements Notice {}

  /** Saved tells every federate how the save ended: saved, or not for reason. */
  public record Saved(boolean success, int reason) implements Event {}

  /** AbortSave ends the save in progress, or the one waiting for its time; refused (SaveNotInProgress) when none. */
  public record AbortSave() implements Request {}

  public record QuerySaveStatus() implements Notice {}

  /** SaveStatus answers QuerySaveStatus: each joined federate and its status, in pairs. */
  public record SaveStatus(int[] pairs) implements Event {}

  /** RequestRestore asks for the federation to be restored to its save under label. */
  public record RequestRestore(String label) implements Request {}

  /** RestoreRequested tells the federate that asked whether the restore can be carried out. */
  public record RestoreRequested(String label, boolean success) implements Event {}

  public record RestoreBegun() implements Event {}

  /**
   * InitiateRestore tells a federate to restore its state saved under label, as the federate
   * it was then (name and handle); state is what its component handed to the save.
   */
  public record InitiateRestore(String label, String federateName, int federate, byte[] state) implements Event {}

  public record RestoreComplete(boolean success) implements Notice {}

  /** Restored tells every federate how the restore ended: restored, or not for reason. */
  public record Restored(boolean success, int reason) implements Event {}

  public record AbortRestore() implements Request {}

  public record QueryRestoreStatus() implements Notice {}

  /** RestoreStatus answers QueryRestoreStatus: each federate's handle before and after, and its status, in threes. */
  public record RestoreStatus(int[] triples) implements Event {}

  public static final int NO_SAVE_IN_PROGRESS = 0;
  public static final int FEDERATE_INSTRUCTED_TO_SAVE = 1;
  public static final int FEDERATE_SAVING = 2;
  public static final int FEDERATE_WAITING_FOR_FEDERATION_TO_SAVE = 3;

  public static final int RTI_UNABLE_TO_SAVE = 0;
  public static final int FEDERATE_REPORTED_FAILURE_DURING_SAVE = 1;
  public static final int FEDERATE_RESIGNED_DURING_SAVE = 2;
  public static final int RTI_DETECTED_FAILURE_DURING_SAVE = 3;
  public static final int SAVE_TIME_CANNOT_BE_HONORED = 4;
  public static final int SAVE_ABORTED = 5;

  public static final int NO_RESTORE_IN_PROGRESS = 0;
  public static final int FEDERATE_RESTORE_REQUEST_PENDING = 1;
  public static final int FEDERATE_WAITING_FOR_RESTORE_TO_BEGIN = 2;
  public static final int FEDERATE_PREPARED_TO_RESTORE = 3;
  public static final int FEDERATE_RESTORING = 4;
  public static final int FEDERATE_WAITING_FOR_FEDERATION_TO_RESTORE = 5;

  public static final int RTI_UNABLE_TO_RESTORE = 0;
  public static final int FEDERATE_REPORTED_FAILURE_DURING_RESTORE = 1;
  public static final int FEDERATE_RESIGNED_DURING_RESTORE = 2;
  public static final int RTI_DETECTED_FAILURE_DURING_RESTORE = 3;
  public static final int RESTORE_ABORTED = 4;
}
