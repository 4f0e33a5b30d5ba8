// The toolkit's process-wide state back to how a fresh process starts: the one reset that tests,
// benchmarks and fuzz targets run between cases. The platform backend is reset by its own call.
#pragma once

// Releases the surfaces of every window record and clears the window table, the main window, the display
// values that InitDisplay sets, the composition counters and the caret blink counter.
void ResetToolkitState();
