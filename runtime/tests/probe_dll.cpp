// A tiny library for the DLL-command tests. Built twice under the same file name: beside the
// test program (place 1) and in its "searchdir" folder (place 2).
extern "C" {

__declspec(dllexport) int ProbePlace() { return PROBE_PLACE; }

// Exported by ordinal 7 as well (probe.def).
__declspec(dllexport) int ProbeAnswer() { return 42; }

__declspec(dllexport) int ProbeAdd(int a, int b) { return a + b; }

__declspec(dllexport) double ProbeHalf(double value) { return value / 2; }
}
