// The installing stand-in run as a program over a prefix: links planted in
// it, hostile names and a damaged package.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <filesystem>
#include <set>

#include "platform/process.h"
#include "temp_dir.h"

using testsupport::ReadFile;
using testsupport::TempDir;

namespace {

struct Outcome {
  int exitCode = -1;
  std::string errors;
};

// The stand-in beside its package block, as the loader leaves it.
struct StandIn {
  TempDir stage, inputs, outside;
  std::string prefix = stage.file("prefix");

  StandIn() {
    std::filesystem::copy_file(RVSETUP, stage.file("RVSETUP.EXE"));
    chmod(stage.file("RVSETUP.EXE").c_str(), 0700);
    stage.write("SETUP.PKG", "RVPL" + std::string(1020, '\0'));
  }

  // An archive of (name, content) entries, stored; `corrupt` names one whose data gets a flipped byte.
  std::string Package(const std::vector<std::pair<std::string, std::string>>& entries,
                      const std::string& corrupt = "") {
    std::vector<std::string> args{inputs.file("pkg.dcs")};
    int n = 0;
    for (const auto& [name, content] : entries) {
      const std::string file = "in" + std::to_string(n++);
      inputs.write(file, content);
      args.push_back(inputs.file(file) + "=" + name);
    }
    EXPECT_EQ(platform::StartProcess(DCSBUILD, args, true).exitCode, 0);
    std::string archive = inputs.read("pkg.dcs");
    for (const auto& [name, content] : entries) {
      if (name != corrupt) continue;
      const size_t at = archive.find(content);
      EXPECT_NE(at, std::string::npos);
      archive[at + content.size() / 2] ^= 0x10;
    }
    inputs.write("pkg.dcs", archive);
    return inputs.file("pkg.dcs");
  }

  Outcome Install(const std::string& archive) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TAVIX_INSTALL_DIR", QString::fromStdString(prefix));
    env.insert("TAVIX_UNATTENDED", "1");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(QString::fromStdString(stage.file("RVSETUP.EXE")),
                  {QString::fromStdString("/b" + archive)});
    Outcome run;
    if (!process.waitForFinished(60000)) return run;
    run.exitCode = process.exitCode();
    for (const QByteArray& line : process.readAllStandardError().split('\n'))
      if (line.startsWith("Setup:")) run.errors += line.toStdString() + "\n";
    return run;
  }

  std::set<std::string> Listing(const std::string& folder) const {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(prefix + "/" + folder))
      names.insert(e.path().filename().string());
    return names;
  }
};

bool IsLink(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

}  // namespace

TEST(RvSetup, InstallsEachEntrysOwnBytesNeverThroughAPlantedLinkAndAllOrNothing) {
  StandIn s;
  const std::string elf = std::string("\x7f") + "ELF" + std::string(3000, 's');
  const std::vector<std::pair<std::string, std::string>> v1 = {
      {"SETUP.LNG", "[Language]\n"},   {"START.ASM", "top-level start"},
      {"bin/Tavix", "#!/bin/sh\nv1\n"}, {"bin/*", "a star named file"},
      {"bin/SEGDRAW", elf},             {"bin/NOTES.TXT", "notes v1"},
      {"tavix/Start.asm", "the start template"}};
  // Links planted under the old partial name and the file's own name, pointing outside.
  s.outside.write("victim", "outside");
  std::filesystem::create_directories(s.prefix + "/bin");
  ASSERT_EQ(symlink(s.outside.file("victim").c_str(), (s.prefix + "/bin/SEGDRAW.partial").c_str()), 0);
  ASSERT_EQ(symlink(s.outside.file("victim").c_str(), (s.prefix + "/bin/SEGDRAW").c_str()), 0);

  Outcome run = s.Install(s.Package(v1));
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(s.outside.read("victim"), "outside");
  struct stat info;
  ASSERT_EQ(stat(s.outside.file("victim").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0111, 0u);  // not made executable through the link
  EXPECT_FALSE(IsLink(s.prefix + "/bin/SEGDRAW"));
  EXPECT_EQ(ReadFile(s.prefix + "/bin/SEGDRAW"), elf);
  EXPECT_EQ(ReadFile(s.prefix + "/bin/*"), "a star named file");
  EXPECT_EQ(ReadFile(s.prefix + "/tavix/Start.asm"), "the start template");
  ASSERT_EQ(stat((s.prefix + "/bin/Tavix").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0755u);
  ASSERT_EQ(stat((s.prefix + "/bin/NOTES.TXT").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
  EXPECT_FALSE(std::filesystem::exists(s.prefix + "/START.ASM"));
  const std::set<std::string> installed{"*", "NOTES.TXT", "SEGDRAW", "SEGDRAW.partial", "Tavix"};
  EXPECT_EQ(s.Listing("bin"), installed);

  // A damaged file in the middle of the next version: reported, exit 1, the
  // previous installation whole and no partial file left.
  std::vector<std::pair<std::string, std::string>> v2 = v1;
  for (auto& [name, content] : v2) content += " v2";
  run = s.Install(s.Package(v2, "bin/SEGDRAW"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errors, "Setup: Setup could not install Tavix: bin\\SEGDRAW: archive error 5\n");
  EXPECT_EQ(ReadFile(s.prefix + "/bin/Tavix"), "#!/bin/sh\nv1\n");
  EXPECT_EQ(ReadFile(s.prefix + "/bin/SEGDRAW"), elf);
  EXPECT_EQ(ReadFile(s.prefix + "/tavix/Start.asm"), "the start template");
  EXPECT_EQ(s.Listing("bin"), installed);
  EXPECT_EQ(s.Listing("tavix"), std::set<std::string>{"Start.asm"});

  // A name leaving the prefix is refused before anything is replaced.
  v2.push_back({"bin/../../escape", "x"});
  run = s.Install(s.Package(v2));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errors, "Setup: Setup could not install Tavix: refused name bin\\..\\..\\escape\n");
  EXPECT_EQ(ReadFile(s.prefix + "/bin/Tavix"), "#!/bin/sh\nv1\n");
  EXPECT_EQ(s.Listing("bin"), installed);
}
