// X errors the SDL backend lives with.
#pragma once

// On X, an error about a window that is already gone leaves the program running.
void SdlTolerateGoneWindows();
