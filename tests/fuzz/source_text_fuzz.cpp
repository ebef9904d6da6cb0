// The source decoder and encoder: a file opened and saved again changes in
// nothing but its line ends (each CR LF, CR or LF becomes CR LF, and one
// ends the file).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "workbench/source_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace monitor;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string expected;
  for (size_t i = 0; i < size; ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      expected += "\r\n";
      if (bytes[i] == '\r' && i + 1 < size && bytes[i + 1] == '\n') ++i;
    } else {
      expected += bytes[i];
    }
  }
  if (expected.size() < 2 || expected.compare(expected.size() - 2, 2, "\r\n") != 0)
    expected += "\r\n";
  const DecodedSource source = DecodeSource(bytes);
  if (EncodeSource(source.text, source.encoding) != expected) std::abort();
  if (MakeStorable(source.text, source.encoding) != source.text) std::abort();
  return 0;
}
