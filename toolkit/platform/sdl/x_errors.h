// X errors the SDL backend lives with.
#pragma once

// On X, an error about a window that is already gone leaves the program running; losing the display ends
// it at once with one line on stderr and exit code 1.
void SdlTolerateGoneWindows();
