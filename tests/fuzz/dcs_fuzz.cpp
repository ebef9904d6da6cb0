// The archive reader on any file: open, list, find and extract every entry.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "dcs/dcs.h"
#include "platform/tempfiles.h"

namespace {

std::string g_folder;

int Progress(int code, void*, intptr_t) {
  return code == DCS_CB_PROGRESS ? 1 : 0;
}

int ListEntry(const DcsEntryInfo* entry, intptr_t user, int) {
  reinterpret_cast<std::string*>(user)->assign(entry->longName);
  return 1;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_folder = platform::MakeTempFolder("tavix-fuzz-dcs-") + "/";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = g_folder + "input.dcs";
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  DcsArchive* a = DcsOpenArchiveEx(path.c_str(), DCS_MODE_READ_ONLY | DCS_MODE_NO_CREATE, &Progress,
                                   0, nullptr);
  if (!a) return 0;
  std::string last;
  DcsEnumFiles(a, "*", &ListEntry, reinterpret_cast<intptr_t>(&last));
  DcsArchiveInfo info;
  DcsGetArchiveInfo(a, &info);
  DcsFindEntry(a, "*.DLL");
  // Extract into a stream, so that no entry name reaches the file system.
  DcsStream* out = DcsOpenStream((g_folder + "out").c_str(), "w+b");
  DcsExtractFile(a, "*", nullptr, out);
  if (!last.empty()) DcsExtractFile(a, last.c_str(), nullptr, out);
  DcsCloseStream(out);
  DcsCloseArchive(a);
  return 0;
}
