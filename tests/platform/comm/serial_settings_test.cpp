// Settings texts in both forms the callers write, the ranges that make them
// invalid, and the port number range.
#include <gtest/gtest.h>

#include "platform/tty.h"
#include "port_fixture.h"

namespace {

using commtest::ErrorOf;

TEST(SerialSettings, AcceptsBothFormsAndRejectsTheRest) {
  struct Case {
    const char* text;
    int baud;
    char parity;
    int data, stop;
  } valid[] = {
      {"baud=9600 parity=N data=8 stop=1", 9600, 'N', 8, 1},
      {" 9600,N,8,1", 9600, 'N', 8, 1},
      {"14400,n,8,1", 14400, 'N', 8, 1},
      {"  BAUD=38400   Parity=e  stop=2 data=7 ", 38400, 'E', 7, 2},
      {"115200 , o , 5 , 2", 115200, 'O', 5, 2},
      {"110,N,6,1", 110, 'N', 6, 1},
  };
  for (const Case& c : valid) {
    platform::SerialFormat f;
    ASSERT_TRUE(platform::ParseSerialSettings(c.text, f)) << c.text;
    EXPECT_EQ(f.baud, c.baud) << c.text;
    EXPECT_EQ(f.parity, c.parity) << c.text;
    EXPECT_EQ(f.dataBits, c.data) << c.text;
    EXPECT_EQ(f.stopBits, c.stop) << c.text;
  }

  const char* invalid[] = {"",
                           "9600",
                           "9601,N,8,1",
                           "0,N,8,1",
                           "-9600,N,8,1",
                           "9600,X,8,1",
                           "9600,NN,8,1",
                           "9600,N,9,1",
                           "9600,N,4,1",
                           "9600,N,8,3",
                           "9600,N,8,0",
                           "9600,N,8,1,1",
                           "9600,,8,1",
                           "baud=9600 parity=N data=8",
                           "baud=9600 parity=N data=8 stop=1 baud=9600",
                           "baud = 9600 parity=N data=8 stop=1",
                           "baud=9600 parity=N data=8 stop=1 speed=2",
                           "baud=2400x parity=N data=8 stop=1",
                           "baud=99999999999 parity=N data=8 stop=1"};
  platform::SerialPort port;
  port.SetSettings("2400,N,8,1");
  for (const char* text : invalid) {
    platform::SerialFormat f;
    EXPECT_FALSE(platform::ParseSerialSettings(text, f)) << text;
    EXPECT_EQ(ErrorOf([&] { port.SetSettings(text); }), 31989) << text;
  }
  EXPECT_EQ(port.Settings(), "2400,N,8,1");  // a rejected text changes nothing

  EXPECT_EQ(ErrorOf([&] { port.SetCommPort(0); }), 31988);
  EXPECT_EQ(ErrorOf([&] { port.SetCommPort(100); }), 31988);
  port.SetCommPort(99);
  EXPECT_EQ(port.CommPort(), 99);
}

}  // namespace
