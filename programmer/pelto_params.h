#pragma once
// The control's parameters behind its properties, shared by its logic.
#include <string>

namespace pelto {

struct PeltoParams {
  std::string activeFile;
  short commPortNr = 1;
  int baudRate = 9600;
  short inBuffSize = 1024, outBuffSize = 1024;
  int instructionSize = 0;
  short nbOfBlocks = 2, blockSize = 1024;
  int romSize = 2048;
  short padBytes = 2, padBits = 16;
  bool chipIsPresent = true;
  int vppPosition = 0;  // the voltage slider
};

}  // namespace pelto
