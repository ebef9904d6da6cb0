#pragma once
// The allocation report shown, and saved as "<base>.txt" beside the document.
#include <QDialog>
#include <string>

class CSegdrawDoc;

class CSegReportDlg : public QDialog {
 public:
  enum { IDC_REPORT_TEXT = 1042, IDC_SAVE = 1044 };

  CSegReportDlg(const CSegdrawDoc& doc, std::string report, QWidget* parent = nullptr);

  bool DoModal();
  // Writes the report; tells where, or that it could not.
  void OnSave();

 private:
  const CSegdrawDoc& doc_;
  std::string report_;
};
