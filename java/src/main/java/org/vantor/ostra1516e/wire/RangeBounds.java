package org.vantor.ostra1516e.wire;

/**
 * RangeBounds is a region's range on one dimension (code RB). The library sends each
 * bound as a 64-bit word whose high half is 0, since the bounds are unsigned 32-bit
 * numbers; the fields hold the words as read.
 */
public record RangeBounds(long lower, long upper) {}
