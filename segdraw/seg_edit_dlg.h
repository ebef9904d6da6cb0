#pragma once
// The segment list edited field by field: place and size, address and bit,
// the bitmap file, and New / Insert / Del / Sort. The view shows the segment
// being edited.
#include <QDialog>

class CSegdrawDoc;
class CSegdrawView;
class QLineEdit;
class QListWidget;
class QRadioButton;

class CSegEditDlg : public QDialog {
 public:
  enum {
    IDC_SEGLIST = 1001, IDC_X = 1003, IDC_WIDTH = 1004, IDC_Y = 1005, IDC_HEIGHT = 1006, IDC_NEW = 1007,
    IDC_EDITBITMAP = 1008, IDC_ADDRESS = 1009, IDC_FILENAME = 1011, IDC_DEL = 1013, IDC_BROWSE = 1014,
    IDC_BIT0 = 1020, IDC_INSERT = 1024, IDC_SORT = 1047,
  };

  CSegEditDlg(CSegdrawDoc& doc, CSegdrawView& view, int selection, QWidget* parent = nullptr);

  bool DoModal();
  int Selection() const { return selection_; }

 protected:
  void accept() override;  // Exit: stores the fields

 private:
  void fillList();
  void showSegment();
  void clearFields();
  void selectInView();
  void onListSelection(int row);
  void onRadio(int bit);
  void onAddress();
  void onNew();
  void onInsert();
  void showNew(int i);
  void onDelete();
  void onSort();
  void onBrowse();
  QLineEdit* field(int id) const;
  int selectedRow() const;  // -1: none

  CSegdrawDoc& doc_;
  CSegdrawView& view_;
  int selection_;
  QListWidget* list_;
  QRadioButton* radios_[4];
  bool filling_ = false;
};
