// time_tour: how a federate works with logical time.
#ifndef OSTRA_EXAMPLES_time_tour_h
#define OSTRA_EXAMPLES_time_tour_h

// Prints a short tour of logical time to standard output: a factory made by name, a
// time advanced by an interval, a comparison, and a round trip through the encoding.
void showLogicalTime();

#endif  // OSTRA_EXAMPLES_time_tour_h
