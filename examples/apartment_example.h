#pragma once
// The bundled example: a five-storey apartment building entered the way an engineer enters it,
// through the feeder and branch dialogs' entries, with cables chosen from the catalogue.

#include "sheet.h"

namespace wirelark::examples {

// The example sheet, recalculated and checked. `copies` repeats its feeders that many times
// (the benchmarks use it to build large sheets of realistic rows).
Sheet buildApartmentSheet(int copies = 1);

// A large sheet of realistic rows for the benchmarks and the checks of whole-sheet work: the
// example's feeders repeated until the sheet has about `rows` used rows, renumbered, with the
// lengths of every copy but the first stretched by 1 to 6 m, so that recalculating it changes
// the copies' drops, sums and verdicts.
Sheet buildLargeSheet(int rows);

}  // namespace wirelark::examples
