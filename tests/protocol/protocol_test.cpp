// The device programmer's wire format byte for byte: frames, the image's
// count and data for each width, and the status block's reading.
#include <gtest/gtest.h>

#include "protocol/frames.h"
#include "protocol/image.h"
#include "protocol/status.h"

namespace {

using protocol::Bytes;

TEST(ProgrammerProtocol, FramesAndTheImageForEachWidth) {
  EXPECT_EQ(protocol::CommandFrame(protocol::kCommandProgram),
            (Bytes{0xA6, 0x00, 0x10, 0x00, 0x01, 0x02}));
  EXPECT_EQ(protocol::ClearFrame(), (Bytes{0xA6, 0x00, 0x26, 0x00, 0x04, 0, 0, 0, 0}));
  EXPECT_EQ(protocol::ReadRequest(0x0010, 300), (Bytes{0xA5, 0x00, 0x10, 0x01, 0x2C}));
  EXPECT_EQ(protocol::ParameterFrame({18, -2, 4, false, true}),
            (Bytes{0xA6, 0x00, 0x00, 0x00, 0x07, 0x12, 0x00, 0xFF, 0xFE, 0x04, 0x00, 0x01}));
  // Counts: a zero factor gives 0, negatives and sizes past 32767 nothing.
  EXPECT_EQ(protocol::ImageCount(1024, 4, 2), 8192);
  EXPECT_EQ(protocol::ImageCount(INT32_MAX, INT32_MAX, 0), 0);
  EXPECT_EQ(protocol::ImageCount(-1, -1, 2), 2);
  EXPECT_FALSE(protocol::ImageCount(-1, 1, 2) || protocol::ImageCount(16384, 1, 2) ||
               protocol::ImageCount(INT32_MAX, INT32_MAX, INT32_MAX) ||
               protocol::ImageCount(int64_t{1} << 40, 1, 1));
  EXPECT_TRUE(protocol::BlockBytes(-16384, 2) == -32768 && !protocol::BlockBytes(16384, 2));

  // 16 bits: complemented, last byte first, cut at the count, then 0xFF.
  const Bytes file{0x12, 0x34, 0x00, 0x01, 0xAB, 0xCD, 0xFF, 0xFE, 0x77};
  EXPECT_EQ(protocol::ImageFrame(file, {16, 2, 12, true}),
            (Bytes{0xA6, 0x01, 0x00, 0x00, 0x0C, 0xCB, 0xED, 0xFE, 0xFF, 0x32, 0x54, 0x01, 0x00,
                   0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(protocol::ImageData(file, {16, 2, 3, true}), (Bytes{0xCB, 0xED, 0xFE}));
  // 18 and 22 bits in 3 and 4 bytes: the erased word restarts at each word.
  EXPECT_EQ(
      protocol::ImageFrame({0x01, 0x02, 0x03}, {22, 3, 9, false}),
      (Bytes{0xA7, 0x00, 0x00, 0x00, 0x09, 0x03, 0x02, 0x01, 0xFF, 0xFF, 0x3F, 0xFF, 0xFF, 0x3F}));
  EXPECT_EQ(protocol::ImageData({0x01, 0x02, 0x03}, {18, 4, 8, true}),
            (Bytes{0xFF, 0x9F, 0x02, 0x00, 0xFF, 0x9F, 0x02, 0x00}));
  EXPECT_EQ(protocol::ImageData({}, {12, 2, 3, true}), (Bytes{0, 0, 0}));
}

TEST(ProgrammerProtocol, TheStatusBlockReadsOnlyWhatWasAskedAndArrived) {
  Bytes block(60, 0);
  block[7] = 0x01, block[8] = 0x2A, block[9] = 0x00, block[10] = 0x0F;
  block[0x10] = 0x10;
  block[0x22] = 0x05, block[0x23] = 0xA0;
  block[0x26] = 0x4B, block[0x27] = 0x43, block[0x28] = 0x07, block[0x29] = 0x99;
  Bytes answer = block;
  answer.insert(answer.end(), {0xEE, 0xEE});  // more than was asked
  protocol::ProgrammerStatus status = protocol::DecodeStatus(answer, 48);
  EXPECT_EQ(*status.serial, "12A0F");
  EXPECT_TRUE(*status.standalone);
  EXPECT_EQ(*status.programmerSum, "A005");
  EXPECT_EQ(*status.deviceSum, "434B");
  block[0x10] = 0x02;
  EXPECT_FALSE(*protocol::DecodeStatus(block, 48).standalone);
  // A short answer, or a count below a field, leaves the field out.
  status = protocol::DecodeStatus(Bytes(block.begin(), block.begin() + 0x24), 48);
  EXPECT_TRUE(status.programmerSum && !status.deviceSum);
  status = protocol::DecodeStatus(block, 1);
  EXPECT_FALSE(status.serial || status.standalone || status.programmerSum);
  // The control's texts by bytes per word: the third byte of an 18-bit word
  // has no leading zero, of a 22-bit word it has.
  const uint8_t* sum = &block[protocol::kDeviceSumOffset];
  EXPECT_EQ(protocol::SumText(sum, 2, 16), "4B43");
  EXPECT_EQ(protocol::SumText(sum, 3, 18), "4B437");
  EXPECT_EQ(protocol::SumText(sum, 3, 22), "4B4307");
  EXPECT_EQ(protocol::SumText(sum, 4, 22), "4B4399");
}

}  // namespace
