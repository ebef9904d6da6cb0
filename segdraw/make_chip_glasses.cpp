// Writes the LCD chips' own definitions into a folder (the program's data/
// in the source tree), drawn with the editor's document.
#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "digit_glass.h"
#include "segdraw_doc.h"

int main(int argc, char** argv) {
  QCoreApplication qt(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  for (const segdraw::ChipGlass& glass : segdraw::ShippedChipGlasses()) {
    CSegdrawDoc doc;
    segdraw::DrawDigitGlass(doc, glass.nibbles);
    if (!doc.OnSaveDocument(std::string(argv[1]) + "/" + glass.file)) return 1;
  }
  return 0;
}
