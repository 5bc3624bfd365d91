#pragma once
// The bundled example: a five-storey apartment building entered the way an engineer enters it,
// through the feeder and branch dialogs' entries, with cables chosen from the catalogue.

#include "sheet.h"

namespace wirelark::examples {

// The example sheet, recalculated and checked. `copies` repeats its feeders that many times
// (the benchmarks use it to build large sheets of realistic rows).
Sheet buildApartmentSheet(int copies = 1);

}  // namespace wirelark::examples
