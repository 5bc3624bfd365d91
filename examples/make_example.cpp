// make-example: writes the bundled example sheet (examples/apartment.ksk) from its builder, so
// the file always matches what the dialogs' entries and the recalculation produce.

#include <iostream>

#include "apartment_example.h"
#include "sheet_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "使い方: make-example 出力ファイル.ksk\n";
        return 2;
    }
    wirelark::Sheet sheet = wirelark::examples::buildApartmentSheet();
    const wirelark::Status saved = wirelark::saveSheetFile(sheet, argv[1]);
    if (!saved) {
        std::cerr << saved.error().message << "\n";
        return 2;
    }
    return 0;
}
