package org.vantor.ostra1516e.engine;

import java.util.ArrayList;
import java.util.BitSet;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import org.vantor.ostra1516e.fom.FomModel;

/**
 * Routes says who receives what, worked out from the members' subscriptions when an update
 * or interaction of a class first needs it and kept until a declaration, a join or a
 * resignation changes them: an update or interaction costs a lookup, never a walk of the
 * class tree or of the subscriptions.
 *
 * <p>An instance is known to a subscriber as the closest superclass of its registered class
 * (or that class) at which the subscriber subscribes any attribute, and the subscriber
 * receives the attributes it subscribes at that class. An interaction is received as the
 * closest subscribed superclass of its class, with the parameters that class has.
 *
 * <p>Thread-safety: touched only by its federation's tasks.
 */
final class Routes {
  /**
   * ObjectRoute: member discovers instances of a class as knownClass and receives the
   * attributes it subscribes there, actively (its interest counts for the advisories) or
   * passively.
   */
  record ObjectRoute(Member member, int knownClass, BitSet attributes, boolean active, String updateRate) {}

  /** InteractionRoute: member receives interactions of a class as receivedClass with parameters. */
  record InteractionRoute(Member member, int receivedClass, BitSet parameters, boolean active) {}

  private static final ObjectRoute[] NO_OBJECT_ROUTES = new ObjectRoute[0];
  private final Federation federation;
  private final Map<Integer, ObjectRoute[]> objectRoutes = new HashMap<>();
  private final Map<Integer, InteractionRoute[]> interactionRoutes = new HashMap<>();

  Routes(Federation federation) {
    this.federation = federation;
  }

  void invalidate() {
    objectRoutes.clear();
    interactionRoutes.clear();
  }

  ObjectRoute[] forObjectClass(int registeredClass) {
    ObjectRoute[] routes = objectRoutes.get(registeredClass);
    if (routes == null) {
      routes = objectRoutesOf(registeredClass);
      objectRoutes.put(registeredClass, routes);
    }
    return routes;
  }

  /** routeOf is member's route for instances of registeredClass, or null when it subscribes none. */
  ObjectRoute routeOf(Member member, int registeredClass) {
    for (ObjectRoute route : forObjectClass(registeredClass)) {
      if (route.member() == member) {
        return route;
      }
    }
    return null;
  }

  /**
   * reflected is what route's member receives of instance: the attributes it subscribes at
   * the class it knows the instance as, which is the route's class unless the member
   * discovered the instance before it subscribed closer to its registered class. Null when
   * it subscribes nothing there.
   */
  static BitSet reflected(Routes.ObjectRoute route, Instance instance) {
    Integer known = instance.knownClass.get(route.member().handle);
    if (known == null || known == route.knownClass()) {
      return route.attributes();
    }
    Member.Subscription subscription = route.member().subscribed.get(known);
    return subscription != null ? subscription.attributes : null;
  }

  InteractionRoute[] forInteractionClass(int interactionClass) {
    InteractionRoute[] routes = interactionRoutes.get(interactionClass);
    if (routes == null) {
      routes = interactionRoutesOf(interactionClass);
      interactionRoutes.put(interactionClass, routes);
    }
    return routes;
  }

  private ObjectRoute[] objectRoutesOf(int registeredClass) {
    FomModel model = federation.model();
    List<ObjectRoute> routes = new ArrayList<>();
    for (Member member : federation.members()) {
      for (int c = registeredClass; c > 0; c = model.objectClassParent(c)) {
        Member.Subscription subscription = member.subscribed.get(c);
        if (subscription != null && !subscription.attributes.isEmpty()) {
          routes.add(new ObjectRoute(member, c, (BitSet) subscription.attributes.clone(), subscription.active,
              subscription.updateRate));
          break;
        }
      }
    }
    return routes.isEmpty() ? NO_OBJECT_ROUTES : routes.toArray(NO_OBJECT_ROUTES);
  }

  private InteractionRoute[] interactionRoutesOf(int interactionClass) {
    FomModel model = federation.model();
    List<InteractionRoute> routes = new ArrayList<>();
    for (Member member : federation.members()) {
      for (int c = interactionClass; c > 0; c = model.interactionClassParent(c)) {
        Boolean active = member.subscribedInteractions.get(c);
        if (active != null) {
          BitSet parameters = new BitSet();
          model.availableParameters(c).forEach(parameters::set);
          routes.add(new InteractionRoute(member, c, parameters, active));
          break;
        }
      }
    }
    return routes.toArray(new InteractionRoute[0]);
  }
}
