#include "cable_marking.h"

#include <string_view>

#include "circuit_rules.h"
#include "number_text.h"

namespace wirelark {

namespace {

// A positive number, or nothing for an empty text, a placeholder or anything else.
std::optional<double> positive(std::string_view text) {
    const auto n = readNumber(text);
    if (!n || !(*n > 0.0))
        return std::nullopt;
    return *n;
}

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// Cores named by a multi-core size ("1.6-2C", "2゜-3C", the flat "2ﾟx3"); nothing for a size
// of a single-core cable or of a group whose core count follows the system.
std::optional<int> coresInSize(std::string_view size) {
    for (int cores : {2, 3, 4}) {
        const std::string n = std::to_string(cores);
        if (endsWith(size, "-" + n + "C") || endsWith(size, "x" + n))
            return cores;
    }
    return std::nullopt;
}

// Conductors the circuit of a system needs in one cable.
std::optional<int> conductorsOf(std::string_view system) {
    if (system == systemName::singlePhaseTwoWire || system == systemName::directCurrentTwoWire)
        return 2;
    if (system == systemName::singlePhaseThreeWire || system == systemName::threePhaseThreeWire)
        return 3;
    if (system == systemName::threePhaseFourWire)
        return 4;
    return std::nullopt;
}

// The drop of the run as the dialog computes it: Z shown with three decimals, the drop from
// that Z, shown with two.
std::optional<std::string> dropText(const CableChoice& cable, double current, double length,
                                    double powerFactor, std::string_view system) {
    const auto r = readNumber(cable.resistance);
    const auto x = readNumber(cable.reactance);
    if (!r || !x)
        return std::nullopt;
    const auto z = impedance(*r, *x, powerFactor);
    if (!z)
        return std::nullopt;
    const double shownZ = readNumber(formatThreeDecimals(*z)).valueOr(*z);
    return formatTwoDecimals(voltageDrop(system, current, length, shownZ));
}

}  // namespace

SizeMarks markSizes(const CableSelection& selection, const CableRequest& request) {
    SizeMarks marks;
    const auto current = positive(request.designCurrent);
    const auto length = positive(request.length);
    if (!current || !length)
        return marks;
    marks.active = true;

    const std::string& system = request.context.electricSystem;
    const bool knownSystem = findElectricSystem(system) != nullptr;
    const auto powerFactor = readNumber(request.powerFactor);
    const auto allowableDrop = readNumber(request.allowableDrop);
    const auto conductors = conductorsOf(system);

    // The proposal is the thinnest conductor that passes: the highest resistance, the first
    // of equal ones. Table order is not size order (the IV wires by diameter come first).
    double proposedResistance = 0.0;
    std::size_t proposed = 0;
    bool anyProposed = false;

    const auto& grid = selection.impedanceGrid();
    for (int r = kImpedanceHeaderRows; r < kImpedanceGridRows; ++r) {
        const ImpedanceGridRow& cells = grid[static_cast<std::size_t>(r)];
        if (cells[0].empty())
            continue;
        SizeMark mark;
        mark.gridRow = r;
        const auto cable = selection.handBackOf(r);
        if (!cable) {
            marks.rows.push_back(mark);
            continue;
        }
        mark.allowableCurrent = cable->allowableCurrent;
        const auto allowable = readNumber(mark.allowableCurrent);
        if (allowable)
            mark.belowDesignCurrent = cableBelowDesignCurrent(*current, *allowable);

        std::optional<double> drop;
        if (powerFactor && knownSystem)
            if (const auto text = dropText(*cable, *current, *length, *powerFactor, system)) {
                mark.drop = *text;
                drop = readNumber(*text).valueOr(0.0);
            }
        if (drop && allowableDrop)
            mark.dropTooLarge = dropTooLarge(*drop, *allowableDrop);

        const auto cores = coresInSize(cells[0]);
        const bool fitsCircuit = !cores || (conductors && *cores == *conductors);
        const auto resistance = readNumber(cable->resistance);
        if (allowable && !mark.belowDesignCurrent && !mark.dropTooLarge && fitsCircuit &&
            resistance && (!anyProposed || *resistance > proposedResistance)) {
            anyProposed = true;
            proposedResistance = *resistance;
            proposed = marks.rows.size();
        }
        marks.rows.push_back(mark);
    }
    if (anyProposed) {
        marks.rows[proposed].recommended = true;
        marks.recommendedRow = marks.rows[proposed].gridRow;
    }
    return marks;
}

}  // namespace wirelark
