// Process entry: run the gallery and end the process with the message loop's code.
#include <stdlib.h>

#include "gallery/gallery.h"

int main() {
    exit(RunGallery());
}
