package org.vantor.ostra1516e.lrc;

import hla.rti1516e.exceptions.AttributeRelevanceAdvisorySwitchIsOff;
import hla.rti1516e.exceptions.AttributeRelevanceAdvisorySwitchIsOn;
import hla.rti1516e.exceptions.AttributeScopeAdvisorySwitchIsOff;
import hla.rti1516e.exceptions.AttributeScopeAdvisorySwitchIsOn;
import hla.rti1516e.exceptions.InteractionRelevanceAdvisorySwitchIsOff;
import hla.rti1516e.exceptions.InteractionRelevanceAdvisorySwitchIsOn;
import hla.rti1516e.exceptions.ObjectClassRelevanceAdvisorySwitchIsOff;
import hla.rti1516e.exceptions.ObjectClassRelevanceAdvisorySwitchIsOn;
import hla.rti1516e.exceptions.RTIexception;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * Switches are a joined federate's four advisory switches: set from the federation's
 * model at each join, then changed by the enable and disable services.
 *
 * <p>Thread-safety: each switch is a volatile flag; the services that change them are
 * checked and set by one caller at a time per switch in practice, and a race between an
 * enable and a disable of the same switch leaves one of the two values.
 */
public final class Switches {
  public enum Advisory {
    OBJECT_CLASS_RELEVANCE("objectClassRelevanceAdvisory"),
    ATTRIBUTE_RELEVANCE("attributeRelevanceAdvisory"),
    ATTRIBUTE_SCOPE("attributeScopeAdvisory"),
    INTERACTION_RELEVANCE("interactionRelevanceAdvisory");

    /** The switch's name in the object model's switch table. */
    final String modelName;

    Advisory(String modelName) {
      this.modelName = modelName;
    }
  }

  final boolean[] on = new boolean[Advisory.values().length];

  public synchronized boolean isOn(Advisory advisory) {
    return on[advisory.ordinal()];
  }

  synchronized void reset(FomModel model) {
    for (Advisory advisory : Advisory.values()) {
      on[advisory.ordinal()] = model.switchEnabled(advisory.modelName);
    }
  }

  /**
   * set carries out one of the enable/disable services, refusing a switch already in that
   * state, and returns the switch it changed.
   */
  synchronized Advisory set(ServiceMethod service) throws RTIexception {
    String name = service.name();
    boolean enable = name.startsWith("enable");
    Advisory advisory;
    if (name.contains("ObjectClassRelevance")) {
      advisory = Advisory.OBJECT_CLASS_RELEVANCE;
    } else if (name.contains("AttributeRelevance")) {
      advisory = Advisory.ATTRIBUTE_RELEVANCE;
    } else if (name.contains("AttributeScope")) {
      advisory = Advisory.ATTRIBUTE_SCOPE;
    } else {
      advisory = Advisory.INTERACTION_RELEVANCE;
    }
    if (on[advisory.ordinal()] == enable) {
      String message = service.serviceName() + ": the switch is already " + (enable ? "on" : "off");
      throw switch (advisory) {
        case OBJECT_CLASS_RELEVANCE -> enable ? new ObjectClassRelevanceAdvisorySwitchIsOn(message)
            : new ObjectClassRelevanceAdvisorySwitchIsOff(message);
        case ATTRIBUTE_RELEVANCE -> enable ? new AttributeRelevanceAdvisorySwitchIsOn(message)
            : new AttributeRelevanceAdvisorySwitchIsOff(message);
        case ATTRIBUTE_SCOPE -> enable ? new AttributeScopeAdvisorySwitchIsOn(message)
            : new AttributeScopeAdvisorySwitchIsOff(message);
        case INTERACTION_RELEVANCE -> enable ? new InteractionRelevanceAdvisorySwitchIsOn(message)
            : new InteractionRelevanceAdvisorySwitchIsOff(message);
      };
    }
    on[advisory.ordinal()] = enable;
    return advisory;
  }
}
