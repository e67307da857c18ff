package org.vantor.ostra1516e.message;

/**
 * SaveMessages are the messages of federation saves. The engine coordinates a save: it
 * instructs every joined federate, follows each one's progress, writes the federation's
 * state when all are done, and tells everyone the outcome. Status and failure reasons are
 * the wire numbers of the API's SaveStatus and SaveFailureReason.
 */
public final class SaveMessages {
  private SaveMessages() {}

  /** RequestSave asks for a save under label, at once or (time not null) when the federation reaches time. */
  public record RequestSave(String label, byte[] time) implements Request {}

  /** InitiateSave instructs a federate to save its state under label; time is the save's time, or null. */
  public record InitiateSave(String label, byte[] time) implements Event {}

  public record SaveBegun() implements Notice {}

  /** SaveComplete reports that the federate saved its state (or, with success false, could not). */
  public record SaveComplete(boolean success) implements Notice {}

  /** Saved tells every federate how the save ended: saved, or not for reason. */
  public record Saved(boolean success, int reason) implements Event {}

  /** AbortSave ends the save in progress, or the one waiting for its time; refused (SaveNotInProgress) when none. */
  public record AbortSave() implements Request {}

  public record QuerySaveStatus() implements Notice {}

  /** SaveStatus answers QuerySaveStatus: each joined federate and its status, in pairs. */
  public record SaveStatus(int[] pairs) implements Event {}

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
}
