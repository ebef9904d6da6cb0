// The dialogs driven through the modal hook with real clicks and keys: the
// segment list, the allocation on its working copy, the general parameters,
// and the allocation report byte for byte with its Save.
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "allocation_report.h"
#include "segdraw_fixture.h"

namespace segdrawtest {
namespace {

template <class W = QLineEdit>
W* Item(QWidget& dialog, int id) {
  W* w = dialog.findChild<W*>(QString::number(id));
  EXPECT_NE(w, nullptr) << id;
  return w;
}
// Near the left edge: on a check box's or radio button's indicator too.
void Click(QWidget& dialog, int id) {
  QAbstractButton* button = Item<QAbstractButton>(dialog, id);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(std::min(8, button->width() / 2), button->height() / 2));
}
void Type(QWidget& dialog, int id, const char* text) {
  QLineEdit* field = Item(dialog, id);
  field->selectAll();
  QTest::keyClicks(field, text);
}
void Ok(QWidget& dialog) { static_cast<QDialog&>(dialog).accept(); }
QStringList Lines(QWidget& dialog, int id) {
  QStringList lines;
  QListWidget* list = Item<QListWidget>(dialog, id);
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}
void DoubleClick(QWidget& dialog, int row) {
  QListWidget* list = Item<QListWidget>(dialog, 1025);
  emit list->itemDoubleClicked(list->item(row));
}

TEST_F(SegdrawTest, SegmentDialogEditsTheListAndStoresOnExit) {
  folder.write("demo.cfg", "");
  folder.write("bar.bmp", BlackWhite(2, 2, [](int, int) { return true; }));
  chooseFile(folder.file("demo.cfg"));
  frame().FileSaveAs();
  modals.push_back([&](QWidget& d) {
    EXPECT_EQ(Item(d, 1003)->text(), "");  // no selection: empty fields
    Click(d, 1024);                        // Insert without a selection: at 0
    Click(d, 1007);                        // New
    Type(d, 1009, "12");                   // the address as it is typed
    Click(d, 1023);                        // bit 3
    EXPECT_EQ(Lines(d, 1001), (QStringList{"000  00 01", "001  12 08"}));
    EXPECT_EQ(view().Selection(), 1);
    Click(d, 1007);
    Click(d, 1021);
    Click(d, 1047);  // sorted by address, then bit; the selection keeps its number
    EXPECT_EQ(Lines(d, 1001), (QStringList{"000  00 01", "001  00 02", "002  12 08"}));
    EXPECT_EQ(Item(d, 1009)->text(), "12");
    Click(d, 1014);  // Browse
    EXPECT_EQ(Item(d, 1011)->text(), "bar.bmp");
    Type(d, 1003, "7");
    Type(d, 1004, "x");
    Ok(d);  // refused: not a number
    EXPECT_EQ(takeBoxes(), std::vector<std::string>{"Segdraw|Please enter an integer.|48"});
    EXPECT_EQ(Item(d, 1004)->selectedText(), "x");
    Type(d, 1004, "9");
    Click(d, 1013);  // Del of the last: the one before takes the place
    EXPECT_EQ(Lines(d, 1001), (QStringList{"000  00 01", "001  00 02"}));
    EXPECT_EQ(Item(d, 1009)->text(), "0");
    Item<QListWidget>(d, 1001)->setCurrentRow(0);
    EXPECT_EQ(view().Selection(), 0);
    Type(d, 1003, "7");
    Type(d, 1004, "9");
    Ok(d);
  });
  chooseFile(folder.file("bar.bmp"));
  view().OnParamSegments();
  EXPECT_EQ(dialogNames.back(), folder.path() + "*.bmp");
  EXPECT_EQ(doc().GetSegmentCount(), 2);
  EXPECT_EQ(doc().GetLeft(0), 7);
  EXPECT_EQ(doc().GetWidth(0), 9);
  EXPECT_EQ(doc().FindBitmap("bar.bmp"), 0);
  EXPECT_TRUE(doc().IsModified());

  // An Exit that changes nothing marks nothing; a radio click does.
  frame().FileSave();
  modals.push_back([](QWidget& d) { Ok(d); });
  view().OnParamSegments();
  EXPECT_FALSE(doc().IsModified());
  modals.push_back([](QWidget& d) {
    Click(d, 1022);
    static_cast<QDialog&>(d).reject();
  });
  view().OnParamSegments();
  EXPECT_EQ(doc().GetBit(0), 4);
  EXPECT_TRUE(doc().IsModified());
  platform::SetDialogHook({});  // Qt's own file dialog: in the document's folder, only bitmaps
  QStringList seen;
  platform::SetModalDialogHook([&](QDialog& box) {
    if (auto* f = qobject_cast<QFileDialog*>(&box)) seen << f->directory().absolutePath() + "/" << f->nameFilters();
  });
  modals.push_back([](QWidget& d) { Item<QListWidget>(d, 1001)->setCurrentRow(0), Click(d, 1014), Ok(d); });
  view().OnParamSegments();
  platform::SetModalDialogHook({});
  EXPECT_EQ(seen, (QStringList{QString::fromStdString(folder.path()), "*.bmp"}));
}

TEST_F(SegdrawTest, AllocationDialogWorksOnACopyAndWritesOnlyChanges) {
  doc().AddSegment();
  doc().AddSegment();
  doc().SetAddress(1, 5);
  doc().SetBit(1, 2);
  doc().SetModifiedFlag(false);
  modals.push_back([&](QWidget& d) {
    const QStringList lines = Lines(d, 1025);
    ASSERT_EQ(lines.size(), 40);
    EXPECT_EQ(lines[0], "Seg [ 1]\t[ 0:0] \t[ 0:1] \t[ 0:2] \t[ 0:3] \t");
    EXPECT_EQ(lines[39], "Seg [40]\t[39:0] \t[39:1] \t[39:2] \t[39:3] \t");
    EXPECT_FALSE(Item<QPushButton>(d, 1027)->isEnabled());
    QListWidget* list = Item<QListWidget>(d, 1025);  // its cells whole, as the dialog opens
    EXPECT_GE(list->viewport()->width(), list->sizeHintForColumn(0));
    DoubleClick(d, 0);
    Type(d, 1030, "-1");
    Click(d, 1028);
    Type(d, 1030, "41");
    Ok(d);
    EXPECT_EQ(takeBoxes(), (std::vector<std::string>{
                               "Segdraw|Check parameters: Segments/Multiplexer/Default Allocation/COM|0",
                               "Segdraw|Please define parameters: Segments/Multiplexer|0",
                               "Segdraw|Please enter an integer between -1 and 40.|48"}));
    Type(d, 1030, "2");
    Click(d, 1032);  // default off: the table's own entries
    EXPECT_TRUE(Item<QPushButton>(d, 1027)->isEnabled());
    EXPECT_EQ(Lines(d, 1025), (QStringList{"Seg [ 1]\t[ 0:0]*\t[ 0:1]*\t[ 0:2]*\t[ 0:3]*\t",
                                           "Seg [ 2]\t[ 1:0]*\t[ 1:1]*\t[ 1:2]*\t[ 1:3]*\t"}));
    static_cast<QDialog&>(d).reject();
  });
  view().OnParamAllocation();
  EXPECT_FALSE(doc().IsModified());  // Cancel writes nothing
  modals.push_back([](QWidget& d) { Ok(d); });
  view().OnParamAllocation();
  EXPECT_FALSE(doc().IsModified());  // nothing changed

  modals.push_back([&](QWidget& d) {
    Type(d, 1030, "6");
    Click(d, 1032);
    Click(d, 1035);  // COM [2]
    Item<QListWidget>(d, 1025)->setCurrentRow(5);
    EXPECT_EQ(view().Selection(), 1);  // address 5, bit 1
    modals.push_back([&](QWidget& s) {
      EXPECT_EQ(Item<QListWidget>(s, 1001)->currentRow(), 1);
      Item<QListWidget>(s, 1001)->setCurrentRow(0);
      Ok(s);
    });
    DoubleClick(d, 5);
    EXPECT_EQ(Lines(d, 1025)[5], "Seg [ 6]\t[ 5:0]*\t[ 0:0] \t[ 5:2]*\t[ 5:3]*\t");
    // No segment in the cell: none selected, also with the list focused; Exit keeps "no segment".
    Item<QListWidget>(d, 1025)->setCurrentRow(2);
    modals.push_back([&](QWidget& s) {
      Item<QListWidget>(s, 1001)->setFocus(Qt::TabFocusReason);
      QApplication::processEvents();
      EXPECT_EQ(Item(s, 1003)->text(), "");
      EXPECT_EQ(view().Selection(), -1);
      Ok(s);
    });
    DoubleClick(d, 2);
    EXPECT_EQ(Lines(d, 1025)[2], "Seg [ 3]\t[ 2:0]*\t[ 2:1]*\t[ 2:2]*\t[ 2:3]*\t");
    Click(d, 1027);
    EXPECT_EQ(Lines(d, 1025)[5], "Seg [ 6]\t[  -1]\t[   0]\t[  -1]\t[  -1]\t");
    Ok(d);
  });
  view().OnParamAllocation();
  EXPECT_TRUE(doc().IsModified());
  int16_t segments, multiplexer, byDefault;
  doc().GetAllocationParameters(segments, multiplexer, byDefault);
  EXPECT_EQ(std::vector<int>({segments, multiplexer, byDefault}), (std::vector<int>{6, 4, 0}));
  EXPECT_EQ(doc().GetAllocationTable()[21], 0);
}

TEST_F(SegdrawTest, GeneralParametersFromADoubleClickOnAnEmptySpot) {
  modals.push_back([](QWidget& d) {
    EXPECT_EQ(d.objectName(), "CGenParamDlg");
    EXPECT_EQ(Item(d, 1001)->text(), "500");
    Type(d, 1000, "70000");
    Ok(d);
    EXPECT_EQ(Item(d, 1000)->selectedText(), "70000");
    Type(d, 1000, "-4");
    Type(d, 1003, "60");
    Ok(d);
  });
  QTest::mouseDClick(view().viewport(), Qt::LeftButton, {}, at(QPoint(200, 50)));
  EXPECT_EQ(takeBoxes(), std::vector<std::string>{"Segdraw|Please enter an integer between -32768 and 32767.|48"});
  EXPECT_EQ(doc().GetDisplayRect(), QRect(QPoint(-4, 10), QPoint(496, 70)));
  EXPECT_TRUE(doc().IsModified());
  doc().SetModifiedFlag(false);
  modals.push_back([](QWidget& d) { Ok(d); });
  frame().Run(32771);
  EXPECT_FALSE(doc().IsModified());
}

TEST_F(SegdrawTest, ReportIsExactAndSavedBesideTheDocument) {
  folder.write("a.bmp", BlackWhite(1, 1, [](int, int) { return true; }));
  chooseFile(folder.file("demo.cfg"));
  frame().FileSaveAs();
  doc().SetDocumentFolder(folder.path());
  doc().SetBitmapIndex(doc().AddSegment(), static_cast<uint16_t>(doc().AddBitmap("a.bmp")));
  const int one = doc().AddSegment();
  doc().SetAddress(one, 1);
  doc().SetBit(one, 4);
  lcddef::Allocation a;
  a.segments = a.multiplexer = 2;
  a.defaultAllocation = 0;
  a.table[0] = 1;
  a.table[2] = 2;  // the segment count: invalid
  const std::string report = segdraw::BuildAllocationReport(doc(), a, [] { return time_t{1700000000}; });
  EXPECT_EQ(report,
            "\r\n\r\n\t22:13:20 11/14/23\r\n\tSegment allocation report for demo\r\n\r\n\t"
            "\r\n\tSegments:     2\r\n\tMultiplexer:  2\r\n\tFree segment allocation"
            "\r\n\r\n\tSegment allocation table (addresses)\r\n\r\n\t         \tCOM[0]\tCOM[1]"
            "\r\n\tSeg [ 1]\t[ 1:2] \t[ 0:1]*\t\r\n\tSeg [ 2]\t    2 *\t[ 1:1]*\t\r\n"
            "\r\n\r\n\tSegment allocation table (indexes)\r\n\r\n\t         \tCOM[0]\tCOM[1]"
            "\r\n\tSeg [ 1]\t[   1]\t[  -1]\t\r\n\tSeg [ 2]\t[   2]\t[  -1]\t\r\n"
            "\r\n\r\n\tSegment definition report\r\n\r\n\tSegments:  2\r\n\r\n\tSeg\tAdd:Bit  X / Y   W / H  Bitmap"
            "\r\n\t  0\t[ 0:0]\t  0/  0  40/ 40\ta.bmp\r\n\t  1\t[ 1:2]\t  0/  0  40/ 40\t"
            "\r\n\r\n\tConsistency chek\r\n"
            "\r\n\t[ 1:2] no segment defined\r\n\t[ 2:1] index to segment list invalid"
            "\r\n\t[ 2:2] no segment defined\r\n\r\n\tsegment index:   0 not used\r\n");

  // The default allocation: missing and doubled cells; undefined counts: headers only.
  doc().SetAddress(doc().AddSegment(), 1);
  doc().SetBit(2, 4);
  a.multiplexer = 80;  // outputs past the register's four bits have no segment
  EXPECT_NE(segdraw::BuildAllocationReport(doc(), a, [] { return time_t{0}; }).find("[ 2:80] no segment"),
            std::string::npos);
  a.defaultAllocation = -1;
  a.multiplexer = 4;
  std::string byDefault = segdraw::BuildAllocationReport(doc(), a, [] { return time_t{0}; });
  EXPECT_NE(byDefault.find("\r\n\t[ 2:3] multiple definitions\r\n\t\tat index:   1\r\n\t\tat index:   2\r\n\t[ 2:4] not defined"),
            std::string::npos);
  EXPECT_EQ(byDefault.find("(indexes)"), std::string::npos);
  a.segments = -1;
  byDefault = segdraw::BuildAllocationReport(doc(), a, [] { return time_t{0}; });
  EXPECT_NE(byDefault.find("COM[3]\r\n\r\n\r\n\tSegment definition report"), std::string::npos);

  // Save writes "<base>.txt" beside the document, wherever the current folder is.
  ASSERT_EQ(chdir("/"), 0);
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  modals.push_back([](QWidget& d) {
    Click(d, 1040);  // Report
    Ok(d);
  });
  modals.push_back([](QWidget& r) {
    EXPECT_TRUE(Item<QPushButton>(r, 1044)->isEnabled());
    Click(r, 1044);
    Ok(r);
  });
  view().OnParamAllocation();
  EXPECT_EQ(takeBoxes(), std::vector<std::string>{"Segdraw|Report file saved in demo.txt|0"});
  lcddef::Allocation fresh;
  EXPECT_EQ(folder.read("demo.txt"), segdraw::BuildAllocationReport(doc(), fresh, [] { return time_t{1700000000}; }));
  // A report file that cannot be replaced is told, not said saved.
  ASSERT_EQ(unlink(folder.file("demo.txt").c_str()), 0);
  ASSERT_EQ(mkdir(folder.file("demo.txt").c_str(), 0700), 0);
  modals.push_back([](QWidget& d) { Click(d, 1040); });
  modals.push_back([](QWidget& r) { Click(r, 1044); });
  view().OnParamAllocation();
  const std::vector<std::string> failed = takeBoxes();
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].rfind("Segdraw|Unable to save the report in " + folder.file("demo.txt"), 0), 0u) << failed[0];
}

}  // namespace
}  // namespace segdrawtest
