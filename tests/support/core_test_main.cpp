// Shared main of the test binaries that link Qt Core only: one
// QCoreApplication for the whole binary, so that port notifiers and timers
// have an event loop to run in, and no widget can be made.
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
