#include "mtp_fixture.h"

#include <unistd.h>

#include <QTest>
#include <cstdlib>

#include "core/settings/mdl_registry.h"
#include "core/settings/registry_layout.h"
#include "mtp/mtpcomm.h"
#include "platform/messagebox.h"
#include "platform/profile.h"
#include "wait_until.h"

namespace mtptest {

MtpTest::MtpTest() {
  setenv("TAVIX_COM3", programmer.Endpoint().c_str(), 1);
  state.ProgramPath = program.path();
  const std::string dist = TAVIX_DIST_DIR;
  EXPECT_EQ(symlink((dist + "STDK42XX.so").c_str(), program.file("STDK42XX.so").c_str()), 0);
  program.write("TAVIX.INI", testsupport::ReadFile(dist + "TAVIX.INI"));
  for (const auto& [name, value] : {std::pair{"QV4128", "16,2,8,"},
                                    {"QV4234", "12,4,512,"},
                                    {"QV4111", "16,300,8,"},
                                    {"QV4112", "8,"}})
    EXPECT_TRUE(
        platform::WritePrivateProfileString("MTP PARAMS", name, value, program.file("TAVIX.INI")));
  // Waits that end on an answer get bounds no loaded machine reaches; the
  // steps that expect a time-out shorten them.
  comm.Timings = {5000, 5000, 2, 0};
  monitor::BindProgramming(state, programming);
  platform::SetBeepHook([this] { ++beeps; });
}

MtpTest::~MtpTest() {
  platform::SetBeepHook(nullptr);
  unsetenv("TAVIX_COM3");
  unsetenv("TAVIX_REGISTRY_DIR");
}

void MtpTest::StoreSettings(const std::string& com, const std::string& baud,
                            const std::string& buffed) {
  const std::string key = monitor::FindLayoutKey("MTPCOMM")->path;
  monitor::RegCreateKeyPath(platform::HKEY_LOCAL_MACHINE, key);
  for (const auto& [name, text] :
       {std::pair{"Com", com}, {"Baud Rate", baud}, {"Buffed", buffed}}) {
    if (!text.empty())
      monitor::RegSetSetting(platform::HKEY_LOCAL_MACHINE, key, name, text, platform::REG_SZ);
  }
}

monitor::Mtp& MtpTest::LoadPanel() {
  return *static_cast<monitor::Mtp*>(state.Forms.Show("MTP"));
}

monitor::MtpCommForm& MtpTest::Settings() {
  return *static_cast<monitor::MtpCommForm*>(state.Forms.Get("MTPCOMM_FORM"));
}

void MtpTest::ClickOn(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton);
}

Lines MtpTest::NewFrames(size_t count) {
  // Writes have no answer: their frames are complete only on the rig's thread.
  testsupport::WaitUntil([&] { return programmer.FrameText().size() >= framesSeen_ + count; });
  const Lines frames = programmer.FrameText();
  const Lines fresh(frames.begin() + static_cast<long>(std::min(framesSeen_, frames.size())),
                    frames.end());
  framesSeen_ = frames.size();
  return fresh;
}

bool MtpTest::FramesEndWith(const std::string& frame) {
  const bool found = testsupport::WaitUntil([&] {
    const Lines frames = programmer.FrameText();
    return frames.size() > framesSeen_ && frames.back() == frame;
  });
  framesSeen_ = programmer.FrameText().size();
  return found;
}

}  // namespace mtptest
