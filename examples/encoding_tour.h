// encoding_tour: how a federate builds an attribute value with the encoding helpers and
// reads it back.
#ifndef OSTRA1516E_EXAMPLES_ENCODING_TOUR_H
#define OSTRA1516E_EXAMPLES_ENCODING_TOUR_H

// showAttributeEncoding encodes a record with a position and a name into the bytes an
// update would carry, decodes them into the federate's own variables, and prints both.
void showAttributeEncoding();

#endif  // OSTRA1516E_EXAMPLES_ENCODING_TOUR_H
