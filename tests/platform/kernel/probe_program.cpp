// Started as a process in the process tests: writes its arguments, one per
// line, to the file named by the first argument, and exits with the number
// of arguments that followed it.
#include <fstream>

int main(int argc, char** argv) {
  if (argc < 2) return 100;
  std::ofstream out(argv[1]);
  for (int i = 2; i < argc; ++i) out << argv[i] << "\n";
  return argc - 2;
}
