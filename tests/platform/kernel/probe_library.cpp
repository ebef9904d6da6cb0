// Loaded by name in the library tests.
extern "C" __attribute__((visibility("default"))) int ProbeAnswer() { return 42; }
