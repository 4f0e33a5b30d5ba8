// Measurements that need a fresh process: the benchmark program starts itself with --child=NAME, the child
// measures once and prints nanoseconds on standard output.
#pragma once

void SetSelfPath(const char* path);
// In the child: runs the named measurement; the process's exit code.
int RunChild(const char* name);
// In the parent: the nanoseconds a fresh child measured for name, or a negative number when it failed.
double MeasureInChild(const char* name);

// A measurement a child can run: prints its nanoseconds, returns 0 when it worked.
typedef int (*ChildMeasurement)();
struct ChildRegistrar {
    ChildRegistrar(const char* name, ChildMeasurement measurement);
};
