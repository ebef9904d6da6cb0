// The programmer's frames byte for byte, the checks of the block parameters
// and the status block's reading, without a port.
#include "mtp/mtp_frames.h"

#include <gtest/gtest.h>

namespace {

using monitor::RomTexts;
using Bytes = std::vector<uint8_t>;

TEST(MtpFrames, CommandsParametersAndTheImageStream) {
  EXPECT_EQ(monitor::CommandFrame(0x02), (Bytes{0xA6, 0x00, 0x10, 0x00, 0x01, 0x02}));
  EXPECT_EQ(monitor::ClearFrame(), (Bytes{0xA6, 0x00, 0x26, 0x00, 0x04, 0, 0, 0, 0}));
  EXPECT_EQ(monitor::ReadRequest(0x0010, 1), (Bytes{0xA5, 0x00, 0x10, 0x00, 0x01}));
  EXPECT_EQ(*monitor::ParameterFrame({"16", "2", "1000", "16", true, false}),
            (Bytes{0xA6, 0x00, 0x00, 0x00, 0x07, 0x10, 0x00, 0x07, 0xD0, 0x02, 0x01, 0x00}));
  // 12 bits take two bytes a word, as 16 do; 4 bits one.
  EXPECT_EQ((*monitor::ParameterFrame({" 12 ", "4", "512", "", false, true}))[7], 0x04);
  EXPECT_EQ(*monitor::ImageCount({"4", "2", "512", "16"}), 1024);
  // Bytes that do not fit, or texts that are no numbers, send nothing.
  for (const RomTexts& bad : {RomTexts{"256", "2", "1", "16"}, RomTexts{"16", "300", "1", "16"},
                              RomTexts{"16", "2", "20000", "16"}, RomTexts{"16", "2x", "1", "16"},
                              RomTexts{"", "2", "1", "16"}, RomTexts{"16", "-2", "1", "16"}})
    EXPECT_FALSE(monitor::ParameterFrame(bad)) << bad.instrbits << "," << bad.nbblocks;
  EXPECT_FALSE(monitor::ImageCount({"16", "8", "2048", "16"}));  // 32768: past 16 bits
  // Counts past 64 bits, or past 32 in the bytes a word, do not wrap into range.
  const std::string most = "2147483647";
  EXPECT_EQ(monitor::InstructionBytes(2147483647), 268435456);
  for (const RomTexts& huge : {RomTexts{most, most, most, "16"}, RomTexts{most, "1", "1", "16"},
                               RomTexts{"16", most, most, "16"}})
    EXPECT_FALSE(monitor::ImageCount(huge)) << huge.instrbits << "," << huge.nbblocks;
  EXPECT_EQ(monitor::ImageHeader(16), (Bytes{0xA6, 0x01, 0x00, 0x00, 0x10}));

  // Four words: complemented, low byte first, then 0xFF up to the count.
  const Bytes file{0x12, 0x34, 0x00, 0x01, 0xAB, 0xCD, 0xFF, 0xFE};
  EXPECT_EQ(monitor::ImageStream(file, 16),
            (Bytes{0xCB, 0xED, 0xFE, 0xFF, 0x32, 0x54, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                   0xFF, 0xFF, 0xFF}));
  // An odd last byte is dropped; a count below the file's size ends the data
  // there (one-byte words announce one byte a word).
  EXPECT_EQ(monitor::ImageStream({0x12, 0x34, 0x56}, 4), (Bytes{0xCB, 0xED, 0xFF, 0xFF}));
  EXPECT_EQ(monitor::ImageStream(file, 3), (Bytes{0xCB, 0xED, 0xFE}));
  EXPECT_TRUE(monitor::ImageStream(file, 0).empty());
}

TEST(MtpFrames, TheStatusBlockReadsOnlyWhatWasAskedAndArrived) {
  Bytes block(48, 0);
  block[7] = 0x01, block[8] = 0x2A, block[9] = 0x00, block[10] = 0x0F;
  block[0x10] = 0x10;
  block[0x22] = 0x05, block[0x23] = 0xA0;
  block[0x26] = 0x4B, block[0x27] = 0x43;
  Bytes answer = block;
  answer.insert(answer.end(), {0xEE, 0xEE});  // more than was asked
  monitor::ProgrammerStatus status = monitor::DecodeStatus(answer, 48);
  EXPECT_EQ(*status.serial, "12A0F");
  EXPECT_TRUE(*status.standalone);
  EXPECT_EQ(*status.programmerSum, "A005");
  EXPECT_EQ(*status.deviceSum, "434B");
  block[0x10] = 0x02;
  EXPECT_FALSE(*monitor::DecodeStatus(block, 48).standalone);
  // A short answer, or a count below a field, leaves the field out.
  status = monitor::DecodeStatus(Bytes(block.begin(), block.begin() + 0x24), 48);
  EXPECT_TRUE(status.programmerSum && !status.deviceSum);
  status = monitor::DecodeStatus(block, 1);
  EXPECT_FALSE(status.serial || status.standalone || status.programmerSum);
}

}  // namespace
