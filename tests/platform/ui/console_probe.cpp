// A console program: shows a box (directly, or through a module it loads)
// and prints the answer on standard output.
//   ui_console_probe <text> <title> <style> [module]
#include <cstdio>
#include <cstdlib>

#include "platform/library.h"
#include "platform/messagebox.h"

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  unsigned style = static_cast<unsigned>(std::strtoul(argv[3], nullptr, 0));
  int answer = 0;
  if (argc > 4) {
    platform::LibraryHandle module = platform::LoadLibrary(argv[4]);
    if (module == nullptr) return 3;
    auto probe = reinterpret_cast<int (*)(const char*, const char*, unsigned)>(
        platform::GetProcAddress(module, "ProbeMessageBox"));
    if (probe == nullptr) return 4;
    answer = probe(argv[1], argv[2], style);
  } else {
    answer = platform::MessageBox(argv[1], argv[2], style);
  }
  std::printf("answer=%d\n", answer);
  return 0;
}
