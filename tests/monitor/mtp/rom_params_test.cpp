// The panel's boxes read into the parameter block and the image count: the
// numbers the frames take, and the texts and sizes that send nothing.
#include "mtp/rom_params.h"

#include <gtest/gtest.h>

#include "protocol/frames.h"

namespace {

using Bytes = std::vector<uint8_t>;

monitor::RomParams Params(const std::string& bits, const std::string& blocks,
                          const std::string& words, bool ml = false, bool mh = false) {
  return monitor::ReadRomParams(bits, blocks, words, "16", ml, mh);
}

TEST(RomParams, TheBoxesGiveTheBlockAndTheCountOrNothing) {
  EXPECT_EQ(protocol::ParameterFrame(*monitor::ParameterBlock(Params("16", "2", "1000", true))),
            (Bytes{0xA6, 0x00, 0x00, 0x00, 0x07, 0x10, 0x00, 0x07, 0xD0, 0x02, 0x01, 0x00}));
  // 12 bits take two bytes a word, as 16 do; 4 bits one.
  EXPECT_EQ(protocol::ParameterFrame(
                *monitor::ParameterBlock(Params(" 12 ", "4", "512", false, true)))[7],
            0x04);
  EXPECT_EQ(*monitor::ImageCount(Params("4", "2", "512")), 1024);
  EXPECT_EQ(monitor::PaddingBytes(monitor::ReadRomParams("16", "2", "1", " 12", false, false)), 2);
  EXPECT_EQ(monitor::PaddingBytes(monitor::ReadRomParams("16", "2", "1", "x", false, false)), 0);
  // Bytes that do not fit, or texts that are no numbers, send nothing.
  for (const auto& [bits, blocks, words] : {std::tuple{"256", "2", "1"},
                                            {"16", "300", "1"},
                                            {"16", "2", "20000"},
                                            {"16", "2x", "1"},
                                            {"", "2", "1"},
                                            {"16", "-2", "1"},
                                            {"16", "2", "99999999999"}})
    EXPECT_FALSE(monitor::ParameterBlock(Params(bits, blocks, words))) << bits << "," << blocks;
  EXPECT_FALSE(monitor::ImageCount(Params("16", "8", "2048")));  // 32768: past 16 bits
  // Counts past 64 bits, or past 32 in the bytes a word, do not wrap into range.
  const std::string most = "2147483647";
  for (const auto& [bits, blocks, words] :
       {std::tuple{most, most, most}, {most, "1", "1"}, {"16", most, most}})
    EXPECT_FALSE(monitor::ImageCount(Params(bits, blocks, words))) << bits << "," << blocks;
}

}  // namespace
