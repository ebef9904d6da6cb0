#pragma once
// The allocation of segments to multiplexer lines and common outputs, edited
// on a working copy: the counts, the default allocation, the table through
// the segment dialog, the address and index lists, and the report.
#include <QDialog>
#include <ctime>
#include <functional>

#include <lcddef/lcd_definition.h>

#include "allocation_report.h"

class CSegdrawDoc;
class CSegdrawView;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class CSegAllocDlg : public QDialog {
 public:
  enum {
    IDC_ALLOCLIST = 1025, IDC_INDEXLIST = 1027, IDC_ADDRESSLIST = 1028, IDC_SEGMENTS = 1030,
    IDC_MULTIPLEXER = 1031, IDC_DEFAULT = 1032, IDC_COM1 = 1034, IDC_REPORT = 1040,
  };
  static constexpr int kNoCom = 4;

  CSegAllocDlg(CSegdrawDoc& doc, CSegdrawView& view, QWidget* parent = nullptr);

  bool DoModal();
  // The report's clock (tests fix it).
  void SetClock(std::function<time_t()> clock) { clock_ = std::move(clock); }
  const lcddef::Allocation& Working() const { return work_; }

 protected:
  void accept() override;

 private:
  // Fills the list in `form`; with a count undefined, `tell` shows why instead.
  void fillList(segdraw::ListForm form, bool tell);
  void onCount(QLineEdit* field, int16_t& count, int min, int max);
  void onDefault(bool ticked);
  void onCom(int com);
  void selectCell();
  int cellSegment(int s) const;
  void onDoubleClick(int s);
  void onReport();

  CSegdrawDoc& doc_;
  CSegdrawView& view_;
  lcddef::Allocation work_;
  segdraw::ListForm form_ = segdraw::ListForm::Address;
  int com_ = kNoCom;
  std::function<time_t()> clock_;
  QListWidget* list_;
  QLineEdit* segments_;
  QLineEdit* multiplexer_;
  QCheckBox* default_;
  QPushButton* indexList_;
};
