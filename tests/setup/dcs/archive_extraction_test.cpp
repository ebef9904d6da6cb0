// Extracting entries: methods, progress, aborts, re-entry, volumes, CRCs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include "archive_files.h"
#include "dcs_records.h"
#include "temp_dir.h"

using namespace dcstest;
using testsupport::TempDir;

namespace {

// Records every progress call; answers from `answer`; may extract again.
struct Recorder {
  std::vector<DcsProgress> calls;
  int answer = 1;
  DcsArchive* nested = nullptr;
  int nestedResult = -1, nestedError = -1, closeError = -1;
  std::vector<std::string> volumes;  // paths handed out for the next volumes
  static int Callback(int code, void* record, intptr_t user) {
    auto* self = reinterpret_cast<Recorder*>(user);
    if (code == DCS_CB_NEXT_VOLUME) {
      if (self->volumes.empty()) return 0;
      static_cast<DcsVolumeRequest*>(record)->path = self->volumes.front();
      self->volumes.erase(self->volumes.begin());
      return 1;
    }
    self->calls.push_back(*static_cast<DcsProgress*>(record));
    if (self->nested && self->nestedResult < 0) {
      self->nestedResult = DcsExtractFile(self->nested, "*", "/nonexistent", nullptr);
      self->nestedError = DcsGetLastError();
      self->closeError = DcsCloseArchive(self->nested) ? 0 : DcsGetLastError();
    }
    return self->answer;
  }
};

DcsArchive* OpenWith(const std::string& path, Recorder& r) {
  return DcsOpenArchiveEx(path.c_str(), DCS_MODE_READ_ONLY | DCS_MODE_NO_CREATE,
                          &Recorder::Callback, reinterpret_cast<intptr_t>(&r), nullptr);
}

std::string Sample(size_t size) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i)
    s[i] = static_cast<char>("setup archive "[i % 14] + (i / 4096) % 7);
  return s;
}

std::string Zipped(const std::string& data) {
  std::string zipped(compressBound(data.size()), '\0');
  uLongf size = zipped.size();
  compress(reinterpret_cast<Bytef*>(zipped.data()), &size,
           reinterpret_cast<const Bytef*>(data.data()), data.size());
  zipped.resize(size);
  return zipped;
}

DcsEntryInfo Entry(const std::string& name, uint16_t method, const std::string& data,
                   size_t packed) {
  DcsEntryInfo e;
  e.shortName = e.longName = name;
  e.method = method;
  e.packedSize = static_cast<uint32_t>(packed);
  e.unpackedSize = static_cast<uint32_t>(data.size());
  e.dataCrc = dcs::StoredCrc(data.data(), data.size());
  return e;
}

}  // namespace

TEST(DcsExtract, MethodsRoundTripThroughTheBuilderWithBoundedProgressTimeAndAttributes) {
  TempDir in, out;
  const std::string data = Sample(300000);
  in.write("big.bin", data);
  in.write("empty.txt", "");
  ASSERT_TRUE(
      RunBuilder({"-t", "1234567", out.file("m.dcs"), "-m", "4", in.file("big.bin") + "=zlib.bin",
                  "-m", "5", in.file("big.bin") + "=sub/bzip.bin", "-m", "0",
                  in.file("big.bin") + "=stored.bin", in.file("empty.txt")}));
  Recorder r;
  DcsArchive* a = OpenWith(out.file("m.dcs"), r);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(DcsFindEntry(a, "BZIP.BIN")->longName, "sub\\bzip.bin");
  EXPECT_EQ(DcsFindEntry(a, "BZIP.BIN")->method, 5);
  for (const char* name : {"zlib.bin", "sub\\bzip.bin", "stored.bin"}) {
    r.calls.clear();
    ASSERT_TRUE(DcsExtractFile(a, name, out.path().c_str(), nullptr)) << name << DcsGetLastError();
    const std::string file = std::string(name).substr(std::string(name).find_last_of('\\') + 1);
    EXPECT_EQ(out.read(file), data) << name;
    ASSERT_FALSE(r.calls.empty());
    EXPECT_LE(r.calls.size(), (data.size() + 4095) / 4096 + 1) << name;
    EXPECT_EQ(r.calls.back().done, 1);
    EXPECT_EQ(r.calls.back().written, data.size());
    if (file == "stored.bin") {  // after the 1st and the 17th piece of 256 bytes
      EXPECT_EQ(r.calls[0].written, 256u);
      EXPECT_EQ(r.calls[1].written, 4352u);
    }
    struct stat info;
    ASSERT_EQ(stat(out.file(file).c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, 1234567);
  }
  // A zero-byte stored entry: one call, with the done flag.
  r.calls.clear();
  ASSERT_TRUE(DcsExtractFile(a, "EMPTY.TXT", out.path().c_str(), nullptr));
  ASSERT_EQ(r.calls.size(), 1u);
  EXPECT_EQ(r.calls[0].done, 1);
  EXPECT_EQ(r.calls[0].size, 0u);
  DcsCloseArchive(a);

  // Into an open stream; a read-only entry loses its write bits.
  DcsEntryInfo ro = Entry("RO.TXT", 0, "keep", 4);
  ro.attributes = DCS_ATTR_READONLY;
  out.write("ro.dcs", Archive("R.DCS", EntryRecord(ro, "keep")));
  a = OpenForReading(out.file("ro.dcs"));
  DcsStream* stream = DcsOpenStream(out.file("copy.txt").c_str(), "w+b");
  ASSERT_TRUE(DcsExtractFile(a, "RO.TXT", nullptr, stream));
  ASSERT_TRUE(DcsCloseStream(stream));
  EXPECT_EQ(out.read("copy.txt"), "keep");
  ASSERT_TRUE(DcsExtractFile(a, "RO.TXT", out.path().c_str(), nullptr));
  struct stat info;
  ASSERT_EQ(stat(out.file("RO.TXT").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0222, 0u);
  DcsCloseArchive(a);
}

TEST(DcsExtract, FailuresGiveTheirCodesAndLeaveTheHandleUsable) {
  TempDir dir;
  const std::string data = Sample(10000);
  const std::string zipped = Zipped(data);
  std::string badZip = zipped;
  badZip[badZip.size() / 2] ^= 0x55;
  std::string badStored = data;
  badStored[5000] ^= 1;
  dir.write("f.dcs",
            Archive("F.DCS", EntryRecord(Entry("M3.BIN", 3, data, 4), "abcd") +
                                 EntryRecord(Entry("CRC.BIN", 0, data, data.size()), badStored) +
                                 EntryRecord(Entry("ZIP.BIN", 4, data, badZip.size()), badZip) +
                                 EntryRecord(Entry("OK.BIN", 0, data, data.size()), data) +
                                 EntryRecord(Entry("BOMB.BIN", 4, "tiny", zipped.size()), zipped)));
  Recorder r;
  DcsArchive* a = OpenWith(dir.file("f.dcs"), r);
  ASSERT_NE(a, nullptr);
  EXPECT_FALSE(DcsExtractFile(a, "M3.BIN", dir.path().c_str(), nullptr));
  EXPECT_EQ(DcsGetLastError(), DCS_ERR_METHOD);
  EXPECT_EQ(testsupport::ReadFile(dir.file("M3.BIN")), "");  // created, empty
  EXPECT_EQ(access(dir.file("M3.BIN").c_str(), F_OK), 0);
  EXPECT_FALSE(DcsExtractFile(a, "CRC.BIN", dir.path().c_str(), nullptr));
  EXPECT_EQ(DcsGetLastError(), DCS_ERR_DATA_CRC);
  EXPECT_FALSE(DcsExtractFile(a, "ZIP.BIN", dir.path().c_str(), nullptr));
  EXPECT_TRUE(DcsGetLastError() == DCS_ERR_ABORTED || DcsGetLastError() == DCS_ERR_DATA_CRC);
  // More output than the entry declares stops at the declared size.
  EXPECT_FALSE(DcsExtractFile(a, "BOMB.BIN", dir.path().c_str(), nullptr));
  EXPECT_EQ(DcsGetLastError(), DCS_ERR_ABORTED);
  EXPECT_LE(dir.read("BOMB.BIN").size(), 4u);
  EXPECT_FALSE(DcsExtractFile(a, "NONE", dir.path().c_str(), nullptr));
  EXPECT_EQ(DcsGetLastError(), DCS_ERR_NO_MATCH);
  EXPECT_FALSE(DcsExtractFile(a, "OK.BIN", (dir.path() + "no/such/folder").c_str(), nullptr));
  EXPECT_EQ(DcsGetLastError(), DCS_ERR_WRITE);

  // The callback aborts; then it tries a second extraction from inside.
  r.answer = DCS_CB_ABORT;
  r.calls.clear();
  EXPECT_FALSE(DcsExtractFile(a, "OK.BIN", dir.path().c_str(), nullptr));
  EXPECT_EQ(DcsGetLastError(), DCS_ERR_ABORTED);
  EXPECT_EQ(r.calls.size(), 1u);
  r.answer = 1;
  r.nested = a;
  ASSERT_TRUE(DcsExtractFile(a, "OK.BIN", dir.path().c_str(), nullptr));
  EXPECT_EQ(r.nestedResult, 0);
  EXPECT_EQ(r.nestedError, DCS_ERR_BUSY);
  EXPECT_EQ(r.closeError, DCS_ERR_BUSY);  // the handle stays under the running extraction
  EXPECT_EQ(dir.read("OK.BIN"), data);
  ASSERT_TRUE(DcsExtractFile(a, "OK.BIN", dir.path().c_str(), nullptr));  // twice in a row
  EXPECT_TRUE(DcsCloseArchive(a));
}

TEST(DcsExtract, AnEntrySplitOverVolumesContinuesInTheNextOne) {
  TempDir dir;
  const std::string data = Sample(50000);
  const std::string zipped = Zipped(data);
  for (uint16_t method : {uint16_t{0}, uint16_t{4}}) {
    const std::string packed = method == 0 ? data : zipped;
    const size_t half = packed.size() / 2;
    dir.write("v1.dcs", Archive("V1.DCS", EntryRecord(Entry("S.BIN", method, data, half),
                                                      packed.substr(0, half))));
    dir.write("v2.dcs",
              Archive("V2.DCS", EntryRecord(Entry("S.BIN", method, data, packed.size() - half),
                                            packed.substr(half))));
    Recorder r;
    r.volumes = {dir.file("v2.dcs")};
    DcsArchive* a = OpenWith(dir.file("v1.dcs"), r);
    ASSERT_NE(a, nullptr);
    ASSERT_TRUE(DcsExtractFile(a, "S.BIN", dir.path().c_str(), nullptr)) << DcsGetLastError();
    EXPECT_EQ(dir.read("S.BIN"), data);
    EXPECT_EQ(r.calls.back().written, data.size());
    DcsArchiveInfo info;
    DcsGetArchiveInfo(a, &info);
    EXPECT_EQ(info.name, "V2.DCS");
    DcsCloseArchive(a);

    // A refused or missing volume ends the extraction; the handle keeps its volume.
    a = OpenWith(dir.file("v1.dcs"), r);
    EXPECT_FALSE(DcsExtractFile(a, "S.BIN", dir.path().c_str(), nullptr));
    EXPECT_EQ(DcsGetLastError(), DCS_ERR_ABORTED);
    EXPECT_FALSE(DcsExtractFile(a, "S.BIN", dir.path().c_str(), nullptr));
    EXPECT_EQ(DcsGetLastError(), DCS_ERR_ABORTED);
    EXPECT_TRUE(DcsCloseArchive(a));
    r.volumes = {dir.file("missing.dcs")};
    a = OpenWith(dir.file("v1.dcs"), r);
    EXPECT_FALSE(DcsExtractFile(a, "S.BIN", dir.path().c_str(), nullptr));
    EXPECT_EQ(DcsGetLastError(), DCS_ERR_OPEN);
    EXPECT_TRUE(DcsCloseArchive(a));
  }
}

TEST(DcsExtract, BuiltNamesAreUniqueAndNoEntryMayEndShortOfItsSize) {
  TempDir dir;
  const std::string data = Sample(20000), d = dir.file("d.bin");
  dir.write("d.bin", data);
  ASSERT_TRUE(RunBuilder({dir.file("built.dcs"), d + "=SETUP0407.DLL", d + "=SETUP0409.DLL",
                          d + "=S.BIN", "-m", "4", d + "=Z.BIN", "-m", "5", d + "=B.BIN"}));
  DcsArchive* a = OpenForReading(dir.file("built.dcs"));
  EXPECT_EQ(DcsFindEntry(a, "SETUP0407.DLL")->shortName, "SETUP0~1.DLL");
  EXPECT_EQ(DcsFindEntry(a, "SETUP0409.DLL")->shortName, "SETUP0~2.DLL");
  // Declaring 1 GiB, each method's entry ends short of its size and fails,
  // also without a callback to refuse the next volume; the handle goes on.
  std::string bytes = dir.read("built.dcs");
  for (const char* name : {"S.BIN", "Z.BIN", "B.BIN"}) {
    DcsEntryInfo e = *DcsFindEntry(a, name);
    const std::string honest = dcs::EncodeEntryHeader(e);
    e.unpackedSize = 1u << 30;
    bytes.replace(bytes.find(honest), honest.size(), dcs::EncodeEntryHeader(e));
  }
  DcsCloseArchive(a);
  dir.write("lying.dcs", bytes);
  a = OpenForReading(dir.file("lying.dcs"));
  for (const char* name : {"S.BIN", "Z.BIN", "B.BIN"})
    EXPECT_EQ(DcsExtractFile(a, name, dir.path().c_str(), nullptr) ? 0 : DcsGetLastError(), 2);
  ASSERT_TRUE(DcsExtractEntry(a, 1, dir.path().c_str(), nullptr));
  EXPECT_EQ(dir.read("SETUP0409.DLL"), data);
  DcsCloseArchive(a);
}

TEST(DcsExtract, NamesAndPatternsNeverLeadOutsideTheFolder) {
  TempDir dir;
  std::string records;
  for (const std::string name : {"bin\\../../ESCAPE3.TXT", "../FWD.TXT", "x\\..", "k\\../IDX.TXT"})
    records += EntryRecord(Entry(name, 0, name, name.size()), name);
  dir.write("e.dcs", Archive("E.DCS", records));
  const std::string folder = dir.file("a/b/");
  ASSERT_EQ(mkdir(dir.file("a").c_str(), 0700) + mkdir(folder.c_str(), 0700), 0);
  DcsArchive* a = OpenForReading(dir.file("e.dcs"));
  // Each entry's own name as the pattern, as a caller that lists and extracts does.
  EXPECT_TRUE(DcsExtractFile(a, "bin\\../../ESCAPE3.TXT", folder.c_str(), nullptr) &&
              DcsExtractFile(a, "../FWD.TXT", folder.c_str(), nullptr) &&
              DcsExtractEntry(a, 3, folder.c_str(), nullptr));
  // A last component naming no file is refused in a folder, and read into a stream.
  EXPECT_EQ(DcsExtractFile(a, "x\\..", folder.c_str(), nullptr) ? 0 : DcsGetLastError(), 8);
  DcsStream* stream = DcsOpenStream(dir.file("dots").c_str(), "w+b");
  EXPECT_TRUE(DcsExtractFile(a, "x\\..", nullptr, stream) && DcsCloseStream(stream));
  DcsCloseArchive(a);
  for (const std::string name : {"a/b/ESCAPE3.TXT", "a/b/FWD.TXT", "a/b/IDX.TXT", "!ESCAPE3.TXT",
                                 "!a/FWD.TXT", "!a/IDX.TXT"})
    EXPECT_EQ(access(dir.file(name.substr(name[0] == '!')).c_str(), F_OK) == 0, name[0] != '!');
}
