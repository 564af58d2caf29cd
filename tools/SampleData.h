#pragma once
// Parameter sets built through the data sets' own operations: the sample
// installation that the sample data file holds, and the largest set the
// device takes (every list at its capacity), for benchmarks and round trips.

class CChronoset;

// A small office installation: lighting and heating group addresses, a
// working-day and a weekend routine with switching times, a week routine,
// holidays, daylight-saving periods, two quantities with triggers and
// members, and the clock as a slave of the bus time.
void BuildSampleParameterSet(CChronoset& set);

// 15 routines with 800 switching times, 250 valid and 250 invalid-list group
// addresses, 30 quantities with 300 members, 100 special days and 10
// daylight-saving periods, every value one the editors offer, at the
// simulated device's address 1.1.1. What `make-sample-data --largest`
// writes and the benchmarks time.
void BuildMaximalParameterSet(CChronoset& set);
