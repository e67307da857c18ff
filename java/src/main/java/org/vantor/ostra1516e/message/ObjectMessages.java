package org.vantor.ostra1516e.message;

import java.util.List;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.RetractionHandle;

/**
 * ObjectMessages are the messages of object management: names, instances, updates,
 * interactions, deletions and the transportation type services. A time of null means the
 * message was sent without a time stamp; times are the encoded bytes of the federation's
 * time representation.
 */
public final class ObjectMessages {
  private ObjectMessages() {}

  // ---- Names ----

  public record ReserveName(String name) implements Notice {}

  public record ReserveNames(List<String> names) implements Notice {}

  public record ReleaseNames(List<String> names) implements Notice {}

  /** NameReservation answers a reservation of one name (multiple false) or of a set. */
  public record NameReservation(List<String> names, boolean multiple, boolean succeeded) implements Event {}

  // ---- Instances ----

  /**
   * Register registers an instance of objectClass named name (null: the engine names it),
   * its attributes updated within regions (attribute and region pairs; null: none).
   */
  public record Register(int objectClass, String name, int[] regions) implements Request {}

  /** AssociateRegions adds (or with associate false removes) update regions, attribute and region pairs. */
  public record AssociateRegions(int object, int[] regions, boolean associate) implements Notice {}

  /** Registered answers Register. */
  public record Registered(int object, String name) implements Reply {}

  /** Discover makes an instance known to a federate as an instance of knownClass. */
  public record Discover(int object, int knownClass, String name, int producer) implements Event {}

  /**
   * Update sends new attribute values. sentOrder is the wire number of the order the
   * sender's component chose (time-stamp order needs a time); retraction is the handle the
   * sender got for a time-stamped update, null without a time.
   */
  public record Update(int object, HandleValues values, byte[] tag, int sentOrder, byte[] time, RetractionHandle retraction)
      implements Notice, Bulk {}

  /**
   * Reflect delivers an update: values holds only the attributes the receiver subscribed.
   * sentOrder and transportation are wire numbers; time is null without a time stamp;
   * regions are the update regions it was sent within, when the receiver is to be told them.
   */
  public record Reflect(int object, HandleValues values, byte[] tag, int sentOrder, int receivedOrder,
      int transportation, byte[] time, int producer, RetractionHandle retraction, int[] regions)
      implements Event, Bulk {}

  /** SendInteraction sends an interaction, within regions (null: the default region, everywhere). */
  public record SendInteraction(int interactionClass, HandleValues parameters, byte[] tag, int sentOrder,
      byte[] time, RetractionHandle retraction, int[] regions) implements Notice, Bulk {}

  /**
   * Receive delivers an interaction as receivedClass with the parameters that class has;
   * regions are the regions it was sent within, when the receiver is to be told them (else null).
   */
  public record Receive(int receivedClass, HandleValues parameters, byte[] tag, int sentOrder, int receivedOrder,
      int transportation, byte[] time, int producer, RetractionHandle retraction, int[] regions)
      implements Event, Bulk {}

  public record Delete(int object, byte[] tag, int sentOrder, byte[] time, RetractionHandle retraction) implements Notice {}

  public record Remove(int object, byte[] tag, int sentOrder, int receivedOrder, byte[] time, int producer,
      RetractionHandle retraction) implements Event {}

  /** LocalDelete forgets an instance at this federate only; its next update discovers it again. */
  public record LocalDelete(int object) implements Notice {}

  /** RequestObjectUpdate asks the owners of an instance's attributes to provide their values. */
  public record RequestObjectUpdate(int object, int[] attributes, byte[] tag) implements Notice {}

  /**
   * RequestClassUpdate asks the same for every instance of objectClass and its subclasses;
   * with regions (attribute and region pairs) only of the attributes updated within a region
   * that overlaps one paired with them.
   */
  public record RequestClassUpdate(int objectClass, int[] attributes, byte[] tag, int[] regions) implements Notice {}

  /** ProvideUpdate asks an owner for the current values of attributes it owns. */
  public record ProvideUpdate(int object, int[] attributes, byte[] tag) implements Event {}

  // ---- Transportation types ----

  public record ChangeAttributeTransportation(int object, int[] attributes, int transportation) implements Notice {}

  public record AttributeTransportationChanged(int object, int[] attributes, int transportation) implements Event {}

  public record QueryAttributeTransportation(int object, int attribute) implements Notice {}

  public record AttributeTransportationReport(int object, int attribute, int transportation) implements Event {}

  public record ChangeInteractionTransportation(int interactionClass, int transportation) implements Notice {}

  public record InteractionTransportationChanged(int interactionClass, int transportation) implements Event {}

  public record QueryInteractionTransportation(int federate, int interactionClass) implements Notice {}

  public record InteractionTransportationReport(int federate, int interactionClass, int transportation)
      implements Event {}
}
