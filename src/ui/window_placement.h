#pragma once
// Where the input windows and the windows they open appear: centred on the window that opened
// them, whole on its screen, and kept above it while shown.

class QWidget;

namespace wirelark {

// Centres `window` on the top-level window of `anchor` (on the screen without one) and keeps it
// whole on that screen; while both are shown, `window` stays above the anchor's window. The
// anchor itself never moves.
void placeOver(QWidget& window, const QWidget* anchor);

}  // namespace wirelark
