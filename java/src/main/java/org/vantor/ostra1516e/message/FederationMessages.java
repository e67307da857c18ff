package org.vantor.ostra1516e.message;

import java.util.List;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.fom.FomModule;

/**
 * FederationMessages are the messages of federation management: creating, destroying,
 * listing, joining and resigning federation executions, and the federation's model.
 */
public final class FederationMessages {
  private FederationMessages() {}

  /** Create makes a federation execution from the MIM and modules, already read. */
  public record Create(String federation, List<FomModule> modules, FomModule mim, String timeImplementation)
      implements Request {}

  public record Destroy(String federation) implements Request {}

  public record ListExecutions() implements Request {}

  /**
   * Join asks to join federation as federateName (null: the engine names the federate),
   * adding modules to the federation's model.
   */
  public record Join(String federation, String federateName, String federateType, List<FomModule> modules)
      implements Request {}

  /** Resign leaves the joined federation; action is the wire number of the resign action. */
  public record Resign(int action) implements Request {}

  /** FederateHandle asks for the handle of a joined federate by name. */
  public record FederateHandle(String federateName) implements Request {}

  /** FederateName asks for the name of a joined federate by handle. */
  public record FederateName(int federate) implements Request {}

  /** GetAutomaticResign asks for the federation's automatic resign directive (a wire number). */
  public record GetAutomaticResign() implements Request {}

  /** SetAutomaticResign sets the federation's automatic resign directive (a wire number). */
  public record SetAutomaticResign(int action) implements Request {}

  /** ModelExtended tells the joined federates that a join added modules to the model. */
  public record ModelExtended(FomModel model) implements Event {}

  /**
   * Heartbeat tells the other end of a connection across processes that this end lives; it
   * carries the sender's heartbeat interval and the silence after which it gives up.
   */
  public record Heartbeat(int intervalMillis, int timeoutMillis) implements Notice, Event {}
}
