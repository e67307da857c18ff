package org.vantor.ostra1516e.wire;

import java.nio.ByteBuffer;
import java.util.List;

/**
 * SampleValues builds the deterministic argument values of the golden service and
 * callback rows, by type code and argument position p, as the golden file's header
 * defines them.
 */
public final class SampleValues {
  static final int CALLBACK_HANDLE = 2;

  private SampleValues() {}

  public static Object[] of(List<TypeCode> codes) {
    Object[] args = new Object[codes.size()];
    for (int p = 0; p < args.length; p++) {
      args[p] = of(codes.get(p), p);
    }
    return args;
  }

  static String string(int p) {
    return new StringBuilder().append((char) ('A' + p)).append('\u00e9').appendCodePoint(0x1F600).toString();
  }

  static Object of(TypeCode code, int p) {
    switch (code) {
      case S: case URL:
        return string(p);
      case S_SET: case URLX:
        return List.of("", string(p));
      case BX:
        return new byte[] {(byte) (0xB0 + p), 0x00, (byte) 0xFF};
      case OIH: case OCH: case ICH: case AH: case PH: case FH: case DH: case RH: case FA:
        return 100 + p;
      case AHS: case FHS: case DHS: case RHS:
        return new int[] {200 + p, 0x7FFFFF00 + p};
      case AHVM: case PHVM:
        return HandleValues.of(300 + p, new byte[] {(byte) p}, 301 + p, new byte[0]);
      case ASRSPL:
        return List.of(new AttributeRegions(new int[] {400 + p, 401 + p}, new int[0]),
            new AttributeRegions(new int[] {402 + p}, new int[] {403 + p, 404 + p}));
      case Z:
        return p % 2 == 0;
      case D:
        return p + 0.5;
      case RB:
        return new RangeBounds(500 + p, 0xFFFFFF00L + p);
      case LT: case LTI:
        return ByteBuffer.allocate(8).putLong(1000 + p).array();
      case MRH:
        return new RetractionHandle(600 + p, new byte[] {(byte) 0xCA, (byte) 0xFE});
      case OT: return p % 2;
      case TTH: return 1 + p % 2;
      case RA: return p % 6;
      case SG: return 1 + p % 7;
      case CM: return p % 2 == 0 ? 1 : 2;
      case SPFR: return p % 2;
      case SFR: return p % 6;
      case RFR: return p % 5;
      case FASRI_REFLECT: case FASRI_RECEIVE:
        return new SupplementalInfo(true, 700 + p, true, new int[] {710 + p, 711 + p});
      case FASRI_REMOVE:
        return new SupplementalInfo(true, 700 + p, false, null);
      case FEIS:
        return List.of(new FederationExecution(string(p), "HLAinteger64Time"),
            new FederationExecution("", "HLAfloat64Time"));
      case FRSX:
        return List.of(new FederateRestoreStatus(800 + p, 801 + p, p % 6),
            new FederateRestoreStatus(810 + p, 811 + p, (p + 1) % 6));
      case FHSSPX:
        return List.of(new FederateSaveStatus(900 + p, p % 4), new FederateSaveStatus(901 + p, (p + 1) % 4));
      default:
        throw new AssertionError("no sample for " + code);
    }
  }
}
