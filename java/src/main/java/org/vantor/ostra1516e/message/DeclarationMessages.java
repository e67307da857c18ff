package org.vantor.ostra1516e.message;

/**
 * DeclarationMessages are the messages of declaration management: what a federate
 * publishes and subscribes, and the relevance advisories the engine sends back. Handles
 * are wire numbers; a component sends only declarations it has checked against the model.
 */
public final class DeclarationMessages {
  private DeclarationMessages() {}

  /** PublishObjectClass adds attributes to what the federate publishes of objectClass. */
  public record PublishObjectClass(int objectClass, int[] attributes) implements Notice {}

  /** UnpublishObjectClass removes attributes (null: all of them) from what it publishes. */
  public record UnpublishObjectClass(int objectClass, int[] attributes) implements Notice {}

  public record PublishInteractionClass(int interactionClass) implements Notice {}

  public record UnpublishInteractionClass(int interactionClass) implements Notice {}

  /**
   * SubscribeObjectClass adds attributes to the federate's subscription of objectClass;
   * updateRate is the designator given, empty for none. regions pairs an attribute with a
   * region, attribute then region, for a subscription within regions (null: everywhere).
   */
  public record SubscribeObjectClass(int objectClass, int[] attributes, boolean active, String updateRate,
      int[] regions) implements Notice {}

  /**
   * UnsubscribeObjectClass removes attributes (null: all of them) from the subscription, or,
   * with regions (attribute and region pairs), only those regions of the attributes.
   */
  public record UnsubscribeObjectClass(int objectClass, int[] attributes, int[] regions) implements Notice {}

  /** SubscribeInteractionClass subscribes an interaction class within regions, or everywhere when regions is null. */
  public record SubscribeInteractionClass(int interactionClass, boolean active, int[] regions) implements Notice {}

  /** UnsubscribeInteractionClass ends a subscription within regions, or the whole of it when regions is null. */
  public record UnsubscribeInteractionClass(int interactionClass, int[] regions) implements Notice {}

  /**
   * SetAdvisorySwitch tells the engine one of the federate's four advisory switches
   * (ordinal of the component's Switches.Advisory).
   */
  public record SetAdvisorySwitch(int advisory, boolean on) implements Notice {}

  /** ObjectClassRelevance is startRegistrationForObjectClass (on) or stop... (off). */
  public record ObjectClassRelevance(int objectClass, boolean on) implements Event {}

  /** InteractionRelevance is turnInteractionsOn (on) or turnInteractionsOff (off). */
  public record InteractionRelevance(int interactionClass, boolean on) implements Event {}

  /**
   * AttributeRelevance is turnUpdatesOnForObjectInstance (on; updateRate empty or the
   * designator) or turnUpdatesOffForObjectInstance (off).
   */
  public record AttributeRelevance(int object, int[] attributes, boolean on, String updateRate) implements Event {}

  /** AttributeScope is attributesInScope (in) or attributesOutOfScope. */
  public record AttributeScope(int object, int[] attributes, boolean in) implements Event {}
}
