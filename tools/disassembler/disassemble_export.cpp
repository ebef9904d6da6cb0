// The library's one export: decode a code image and write the requested files.
#include <cstdint>

#include "decoding_pass.h"
#include "writers.h"

namespace k42xxdis {
namespace {

LibraryState g_state;

enum : int32_t {
  kAssemblyFlag = 0x02,
  kPrintFlag = 0x04,
  kSymbolFlag = 0x08,
  kRomCharacteristicFlag = 0x10,
  kCrossReferenceFlag = 0x20,
};

std::string PathOrEmpty(const char* path) { return path ? path : ""; }

}  // namespace
}  // namespace k42xxdis

extern "C" __attribute__((visibility("default"))) int32_t Disassemble_K42XX(
    const char* binaryPath, const char* assemblyPath, const char* printPath, const char* symbolPath,
    const char* romPath, const char* xrefPath, int32_t flags) {
  using namespace k42xxdis;
  LibraryState& state = g_state;
  state = LibraryState{};
  state.binaryPath = PathOrEmpty(binaryPath);
  state.assemblyPath = PathOrEmpty(assemblyPath);
  state.printPath = PathOrEmpty(printPath);
  state.symbolPath = PathOrEmpty(symbolPath);
  state.romPath = PathOrEmpty(romPath);
  state.xrefPath = PathOrEmpty(xrefPath);

  // The writers run even after a failed pass, and report what they miss;
  // only an image that could not be read leaves the earlier files alone.
  if (!RunDecodingPass(state)) return -1;
  if (flags & kAssemblyFlag) WriteAssemblyFile(state);
  if (flags & kPrintFlag) WriteDisassemblyListing(state);
  if (flags & kSymbolFlag) WriteDisSymbolFile(state);
  if (flags & kRomCharacteristicFlag) WriteRomCharacteristicFile(state);
  if (flags & kCrossReferenceFlag) WriteCrossReference(state);
  RemoveScratchFiles(state);
  return -1;
}
