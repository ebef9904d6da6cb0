#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/library.h"
#include "temp_dir.h"

using namespace platform;

namespace {

// A program folder holding the probe library under a given file name.
struct ProbeFolder {
  testsupport::TempDir dir;
  explicit ProbeFolder(const std::string& fileName) {
    std::filesystem::copy_file(std::string(PROBE_DIR) + "ProbeLib.so", dir.file(fileName));
  }
};

}  // namespace

TEST(Library, ResolvesNamesWithoutCaseAndMapsDllToSo) {
  ProbeFolder folder("ProbeLib.so");
  for (const char* name : {"ProbeLib", "PROBELIB.DLL", "probelib.so", "ProbeLib.dll"}) {
    LibraryHandle h = LoadLibrary(name, folder.dir.path());
    ASSERT_NE(h, nullptr) << name;
    auto answer = reinterpret_cast<int (*)()>(GetProcAddress(h, "ProbeAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(GetProcAddress(h, "NoSuchSymbol"), nullptr);
    EXPECT_TRUE(FreeLibrary(h));
  }
  EXPECT_EQ(LoadLibrary("Missing.DLL", folder.dir.path()), nullptr);
  EXPECT_EQ(LoadLibrary("", folder.dir.path()), nullptr);
  EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(Library, FreeLibraryReallyUnloads) {
  ProbeFolder folder("Unload.so");
  LibraryHandle h = LoadLibrary("UNLOAD.DLL", folder.dir.path());
  ASSERT_NE(h, nullptr);
  std::string path = ResolveLibraryPath("UNLOAD.DLL", folder.dir.path());
  EXPECT_EQ(path, folder.dir.file("Unload.so"));
  void* again = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(again, nullptr);
  dlclose(again);
  ASSERT_TRUE(FreeLibrary(h));
  EXPECT_EQ(dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
}

TEST(Library, SymbolsStayLocalToTheirLibrary) {
  ProbeFolder folder("Local.so");
  LibraryHandle h = LoadLibrary("Local", folder.dir.path());
  ASSERT_NE(h, nullptr);
  // RTLD_LOCAL: the symbol is not visible through the global scope.
  EXPECT_EQ(dlsym(RTLD_DEFAULT, "ProbeAnswer"), nullptr);
  FreeLibrary(h);
}
