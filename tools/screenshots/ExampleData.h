#pragma once

// A few plausible BLs with their containers, export documents and NCM codes, stored through the data module as the
// windows store them.
namespace ExampleData {

// Stores the examples in the open store.
void store();

// The booking number of that BL, by which the search window finds it.
extern const char *const ShownBooking;

} // namespace ExampleData
