// The disassembler's export on any image, every output file requested.
#include <dlfcn.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/tempfiles.h"

namespace {

using DisassembleFunction = int32_t (*)(const char*, const char*, const char*, const char*,
                                        const char*, const char*, int32_t);
DisassembleFunction g_disassemble = nullptr;
std::string g_folder;

}  // namespace

// The library's message boxes land here instead of on standard error.
extern "C" __attribute__((visibility("default"))) int TavixMessageBoxPresenter(const char*,
                                                                               const char*,
                                                                               unsigned) {
  return 1;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_folder = platform::MakeTempFolder("tavix-fuzz-dis-") + "/";
  void* library = dlopen(TAVIX_DIST_DIR "K42XXDIS.so", RTLD_NOW | RTLD_LOCAL);
  if (library)
    g_disassemble = reinterpret_cast<DisassembleFunction>(dlsym(library, "Disassemble_K42XX"));
  if (!g_disassemble) {
    std::fprintf(stderr, "cannot load K42XXDIS: %s\n", dlerror());
    return 1;
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string image = g_folder + "image.bin";
  std::ofstream(image, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  const std::string base = g_folder + "out.";
  const int32_t result =
      g_disassemble(image.c_str(), (base + "asm").c_str(), (base + "prt").c_str(),
                    (base + "sym").c_str(), (base + "sta").c_str(), (base + "xrf").c_str(), 0x3E);
  if (result != -1) __builtin_trap();
  return 0;
}
