#!/usr/bin/env python3
"""Writes wire.golden: the golden byte vectors of the service and callback arrays.

This is a third, deliberately plain encoder of the wire format, independent of the Java
and C++ codecs that the vectors check. Run it after adding a service, a callback or a
labelled row, and review the diff:  tests/golden/make_wire_golden.py > tests/golden/wire.golden
The service and callback tables are read from the Java tables, so that they exist once.
"""
import os
import re
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WIRE = os.path.join(ROOT, "java/src/main/java/org/vantor/ostra1516e/wire")
HANDLE = 2  # the federate ambassador handle of every callback row
PRE_MAGIC, POST_MAGIC = 0x63626160, 0x59585756
STRING_SETS = {"reserveMultipleObjectInstanceName", "releaseMultipleObjectInstanceName",
               "multipleObjectInstanceNameReservationSucceeded",
               "multipleObjectInstanceNameReservationFailed"}


def word(v):
    return struct.pack(">I", v & 0xFFFFFFFF)


def long64(v):
    return struct.pack(">Q", v & 0xFFFFFFFFFFFFFFFF)


def utf16(s):
    return s.encode("utf-16-be")


def string(s):
    units = utf16(s)
    return word(len(units) // 2) + units


def strings(xs):
    return word(len(xs)) + b"".join(string(x) for x in xs)


def blob(b):
    return word(len(b)) + bytes(b)


def handles(hs):
    return word(len(hs)) + b"".join(word(h) for h in hs)


def handle_values(entries):
    return word(len(entries)) + b"".join(word(h) + blob(v) for h, v in entries)


def sample_string(p):
    return chr(0x41 + p) + "\u00e9\U0001F600"


def sample(code, p):
    """The bytes of the sample value of a code at argument position p (see the header)."""
    single = {"OIH", "OCH", "ICH", "AH", "PH", "FH", "DH", "RH", "FA"}
    if code in ("S", "URL"):
        return string(sample_string(p))
    if code in ("S_SET", "URLX"):
        return strings(["", sample_string(p)])
    if code == "BX":
        return blob([0xB0 + p, 0x00, 0xFF])
    if code in single:
        return word(100 + p)
    if code in ("AHS", "FHS", "DHS", "RHS"):
        return handles([200 + p, 0x7FFFFF00 + p])
    if code in ("AHVM", "PHVM"):
        return handle_values([(300 + p, [p]), (301 + p, [])])
    if code == "ASRSPL":
        return (word(2) + handles([400 + p, 401 + p]) + handles([])
                + handles([402 + p]) + handles([403 + p, 404 + p]))
    if code == "Z":
        return word(1 if p % 2 == 0 else 0)
    if code == "D":
        return struct.pack(">d", p + 0.5)
    if code == "RB":
        return long64(500 + p) + long64(0xFFFFFF00 + p)
    if code in ("LT", "LTI"):
        return long64(1000 + p)
    if code == "MRH":
        return word(600 + p) + blob([0xCA, 0xFE])
    enums = {"OT": p % 2, "TTH": 1 + p % 2, "RA": p % 6, "SG": 1 + p % 7,
             "CM": 1 if p % 2 == 0 else 2, "SPFR": p % 2, "SFR": p % 6, "RFR": p % 5}
    if code in enums:
        return word(enums[code])
    if code in ("FASRI_REFLECT", "FASRI_RECEIVE"):
        return word(1) + word(1) + word(700 + p) + handles([710 + p, 711 + p])
    if code == "FASRI_REMOVE":
        return word(1) + word(700 + p)
    if code == "FEIS":
        return (word(2) + string(sample_string(p)) + string("HLAinteger64Time")
                + string("") + string("HLAfloat64Time"))
    if code == "FRSX":
        return word(2) + b"".join(word(800 + 10 * i + p) + word(801 + 10 * i + p) + word((p + i) % 6)
                                  for i in range(2))
    if code == "FHSSPX":
        return word(2) + b"".join(word(900 + i + p) + word((p + i) % 4) for i in range(2))
    raise SystemExit("no sample for code " + code)


def codes_of(name):
    words = name.split("_")
    operation, codes = words[0], words[1:]
    if codes and codes[-1] == "Native":
        codes = codes[:-1]
    out = []
    for c in codes:
        if c == "S" and operation in STRING_SETS:
            c = "S_SET"
        elif c == "FASRI":
            c = {"reflectAttributeValues": "FASRI_REFLECT", "receiveInteraction": "FASRI_RECEIVE",
                 "removeObjectInstance": "FASRI_REMOVE"}[operation]
        out.append(c)
    return out


def table(file_name, pattern):
    text = open(os.path.join(WIRE, file_name)).read()
    return re.findall(pattern, text, re.M)


# Labelled rows: values worth pinning down one by one (edges, signs, order, framing).
# Each language's tests hold the same labels with the values they stand for.
CODE_ROWS = [
    ("S.abc", string("abc")),
    ("S.empty", string("")),
    ("S.non_bmp", string("\U0001F600")),
    ("URLX.empty", strings([])),
    ("BX.empty", blob([])),
    ("BX.00_ff", blob([0x00, 0xFF])),
    ("Z.true", word(1)),
    ("Z.false", word(0)),
    ("D.one", struct.pack(">d", 1.0)),
    ("D.half", struct.pack(">d", 0.5)),
    ("RB.5_10", long64(5) + long64(10)),
    ("OT.TIMESTAMP", word(1)),
    ("OT.RECEIVE", word(0)),
    ("TTH.BEST_EFFORT", word(2)),
    ("SG.SUPPORT_SERVICES", word(7)),
    ("CM.HLA_EVOKED", word(1)),
    ("CM.HLA_IMMEDIATE", word(2)),
    ("AHS.7_3", handles([3, 7])),
    ("AHVM.5_0102", handle_values([(5, [1, 2])])),
    ("OIH.minus_one", word(-1)),
    ("LT.integer_5", long64(5)),
    ("MRH.invalid", word(0) + word(0)),
    ("MRH.serial_7", word(7) + blob([1, 2, 3])),
    ("FASRI_REFLECT.regions_only", word(0) + word(1) + handles([9])),
    ("FASRI_REFLECT.producer_only", word(1) + word(0) + word(3)),
    ("FASRI_REMOVE.none", word(0)),
    ("FASRI_REMOVE.producer_4", word(1) + word(4)),
    ("FRSX.empty", word(0)),
]

SERVICE_EXAMPLES = [
    ("joinFederationExecution_S_S_S_URLX.ab_xyz_Fed1",
     string("ab") + string("xyz") + string("Fed1") + strings([])),
    ("subscribeInteractionClassWithRegions_ICH_Z_RHS.4_true_9", word(4) + word(1) + handles([9])),
    ("evokeCallback_D.half", struct.pack(">d", 0.5)),
    ("connect_FA_CM_S.handle_1_evoked", word(1) + word(1) + string("")),
    ("timeAdvanceRequest_LT.integer_5", long64(5)),
]

HEADER = """\
# Golden byte vectors of the wire format between the C++ library and the Java core.
# Read by the Java tests and the C++ tests; both must produce and accept exactly these bytes.
# Written by make_wire_golden.py in this folder; do not edit rows by hand.
#
# One vector per line: <kind> <name> <hex>, hex being the bytes as upper-case digit pairs
# without spaces. Lines starting with '#' and empty lines are comments.
#
#   code      one value of one type code. name = <CODE>.<label>; CODE is the type code, or
#             S_SET for the string set form, FASRI_REFLECT, FASRI_RECEIVE or FASRI_REMOVE for
#             the three supplemental-information forms. The label names the value; each
#             language's test keeps a table from label to value.
#   service   a whole service array. name = the Java method name: the arguments are the
#             sample values below. name = <method>.<label>: a labelled example, as for code.
#   callback  a whole framed callback array (PRE_MAGIC 63626160, the federate ambassador
#             handle 2, the arguments, POST_MAGIC 59585756). name = the native method name;
#             the arguments are the sample values below.
#
# There is one service row for every service method that takes an array and one callback
# row for every native callback method.
#
# Sample values. p is the argument's position among the method's type codes, from 0. Wire
# numbers are 32-bit big-endian words; a "set" lists its elements in ascending order.
#   S, URL       the 3 characters U+0041+p ('A' for p=0), U+00E9, U+1F600 (4 UTF-16 units)
#   S set, URLX  2 strings: "" then the S sample
#   BX           3 bytes: B0+p, 00, FF
#   OIH OCH ICH AH PH FH DH RH FA   handle number 100+p
#   AHS FHS DHS RHS   the set {200+p, 7FFFFF00+p (hex)}
#   AHVM PHVM    2 entries: 300+p -> the 1 byte p; 301+p -> no bytes
#   ASRSPL       2 pairs: ({400+p, 401+p}, {}), then ({402+p}, {403+p, 404+p})
#   Z            true when p is even, false when odd
#   D            the binary64 number p + 0.5 (for p = 0: 3FE0000000000000)
#   RB           lower bound 500+p, upper bound FFFFFF00+p (hex, unsigned 32-bit)
#   LT, LTI      1000+p as a big-endian 64-bit integer, that is the encoding of an
#                HLAinteger64Time / HLAinteger64Interval of 1000+p
#   MRH          serial 600+p, payload CA FE
#   OT           wire number p mod 2 (0 RECEIVE, 1 TIMESTAMP)
#   TTH          wire number 1 + p mod 2 (1 RELIABLE, 2 BEST_EFFORT)
#   RA           p mod 6;  SG: ServiceGroup p mod 7, wire number 1 + p mod 7
#   CM           HLA_EVOKED (wire 1) when p is even, HLA_IMMEDIATE (wire 2) when odd
#   SPFR         p mod 2;  SFR: p mod 6;  RFR: p mod 5
#   FASRI        reflect and receive: both flags 1, producing federate 700+p, sent regions
#                {710+p, 711+p}; remove: flag 1, producing federate 700+p
#   FEIS         2 elements: (the S sample, "HLAinteger64Time"), ("", "HLAfloat64Time")
#   FRSX         2 elements, i = 0, 1: pre 800+10i+p, post 801+10i+p, status (p+i) mod 6
#   FHSSPX       2 elements, i = 0, 1: federate 900+i+p, status (p+i) mod 4
"""


def main():
    services = table("ServiceMethod.java", r'^  (\w+)\("(\(\[B\)[^"]*|\(\)[^"]*)"\)[,;]$')
    callbacks = table("CallbackMethod.java", r"^  (\w+_Native)[,;]$")
    if len(services) != 142 or len(callbacks) != 60:
        raise SystemExit("tables not found: %d services, %d callbacks" % (len(services), len(callbacks)))
    out = sys.stdout
    out.write(HEADER)
    out.write("\n# Single values\n")
    for name, data in CODE_ROWS:
        out.write("code %s %s\n" % (name, data.hex().upper()))
    out.write("\n# Labelled service arrays\n")
    for name, data in SERVICE_EXAMPLES:
        out.write("service %s %s\n" % (name, data.hex().upper()))
    out.write("\n# Service arrays of the sample values, in slot order\n")
    for name, signature in services:
        if signature.startswith("([B)"):
            data = b"".join(sample(c, p) for p, c in enumerate(codes_of(name)))
            out.write("service %s %s\n" % (name, data.hex().upper()))
    out.write("\n# Callback arrays of the sample values, in registration order\n")
    for name in callbacks:
        data = b"".join(sample(c, p) for p, c in enumerate(codes_of(name)))
        out.write("callback %s %s\n" % (name, (word(PRE_MAGIC) + word(HANDLE) + data + word(POST_MAGIC)).hex().upper()))


main()
