// Process entry: run the application and end the process with the message loop's code.
#include <stdlib.h>

#include "app/application.h"

int main() {
    int32_t code = RunApplication(PlatformModuleInstance(), 0, PlatformCommandLine(), 10);
    exit(code);
}
