// The serial links' settings: one reader and writer for both links' keys,
// each link's own texts kept, and the lists and box both windows show.
#include "core/link_settings_window.h"

#include <gtest/gtest.h>

#include "registry_folder.h"

namespace {

using monitor::LinkSettings;
using LinkSettingsTest = RegistryFolderTest;

constexpr int kRates[] = {2400, 9600, 19200};

TEST_F(LinkSettingsTest, BothKeysReadAsStoredAndTheWindowsShowOnlyListedEntries) {
  // Nothing stored reads 0, without making the key.
  const LinkSettings none = monitor::ReadLinkSettings("MTPCOMM");
  EXPECT_EQ(none.com | none.baud | none.buffered, 0);
  EXPECT_EQ(Hive("HKEY_LOCAL_MACHINE").find("MTPCOMM"), std::string::npos);
  // Plain and blanked texts read as the same numbers; the writes keep them.
  monitor::StoreLinkSettings("Communications", {"1", "9600", "2"});
  monitor::StoreLinkSettings("MTPCOMM", {" 1", "9600", " 2"});
  for (const char* key : {"Communications", "MTPCOMM"}) {
    const LinkSettings read = monitor::ReadLinkSettings(key);
    EXPECT_EQ(std::vector<int32_t>({read.com, read.baud, read.buffered}),
              std::vector<int32_t>({2, 9600, 1}))
        << key;
  }
  EXPECT_NE(Hive("HKEY_LOCAL_MACHINE")
                .find("[SOFTWARE\\Corvane\\Tavix\\MTPCOMM]\n\"Buffed\"=sz:\" 1\"\n"
                      "\"Baud Rate\"=sz:\"9600\"\n\"Com\"=sz:\" 2\"\n"),
            std::string::npos)
      << Hive("HKEY_LOCAL_MACHINE");

  QComboBox com, baud;
  QCheckBox buffered;
  monitor::ShowLinkSettings({2, 9600, 1}, kRates, com, baud, buffered);
  EXPECT_EQ(com.count() * 10 + baud.count(), 43);
  EXPECT_EQ(com.currentText() + baud.currentText(), "COM39600");
  EXPECT_TRUE(buffered.isChecked());
  // A port beyond COM4, a rate not listed and a mode other than 1 show none.
  QComboBox otherCom, otherBaud;
  QCheckBox otherBuffered;
  otherBuffered.setChecked(true);
  monitor::ShowLinkSettings({4, 38400, 2}, kRates, otherCom, otherBaud, otherBuffered);
  EXPECT_EQ(otherCom.currentIndex(), -1);
  EXPECT_EQ(otherBaud.currentIndex(), -1);
  EXPECT_FALSE(otherBuffered.isChecked());
  EXPECT_EQ(monitor::RateIndex(kRates, 19200), 2);
}

}  // namespace
