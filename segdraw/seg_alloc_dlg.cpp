#include "seg_alloc_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

#include <platform/messagebox.h>
#include <platform/wallclock.h>

#include "dialog_support.h"
#include "seg_edit_dlg.h"
#include "seg_report_dlg.h"
#include "segdraw_view.h"

using segdraw::ListForm;
using segdraw::Named;

namespace {
const std::string kDefineCounts = "Please define parameters: Segments/Multiplexer";
const std::string kCheckCell = "Check parameters: Segments/Multiplexer/Default Allocation/COM";
}  // namespace

CSegAllocDlg::CSegAllocDlg(CSegdrawDoc& doc, CSegdrawView& view, QWidget* parent)
    : QDialog(parent), doc_(doc), view_(view), clock_([] { return static_cast<time_t>(platform::WallClockSeconds()); }) {
  setObjectName("CSegAllocDlg");
  setWindowTitle("Segment Allocation");
  auto* grid = new QGridLayout(this);
  list_ = Named(new QListWidget(this), IDC_ALLOCLIST);
  segdraw::UseTabStops(list_);
  grid->addWidget(list_, 0, 0, 6, 1);
  grid->addWidget(new QLabel("Segments", this), 0, 1);
  grid->addWidget(segments_ = Named(new QLineEdit(this), IDC_SEGMENTS), 0, 2);
  grid->addWidget(new QLabel("Multiplexer", this), 1, 1);
  grid->addWidget(multiplexer_ = Named(new QLineEdit(this), IDC_MULTIPLEXER), 1, 2);
  grid->addWidget(default_ = Named(new QCheckBox("Default Allocation", this), IDC_DEFAULT), 2, 1, 1, 2);
  indexList_ = Named(new QPushButton("&Index List", this), IDC_INDEXLIST);
  auto* addressList = Named(new QPushButton("&Address List", this), IDC_ADDRESSLIST);
  grid->addWidget(indexList_, 3, 1);
  grid->addWidget(addressList, 3, 2);
  auto* coms = new QGroupBox("COMs", this);
  auto* comRow = new QHBoxLayout(coms);
  for (int c = 0; c < 4; ++c) {
    auto* button = Named(new QPushButton(QString("[&%1]").arg(c + 1), coms), IDC_COM1 + c);
    comRow->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, c] { onCom(c); });
  }
  grid->addWidget(coms, 4, 1, 1, 2);
  auto* report = Named(new QPushButton("&Report", this), IDC_REPORT);
  grid->addWidget(report, 5, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  grid->addWidget(buttons, 6, 0, 1, 3);

  connect(segments_, &QLineEdit::textEdited, this, [this] { onCount(segments_, work_.segments, -1, 40); });
  connect(multiplexer_, &QLineEdit::textEdited, this, [this] { onCount(multiplexer_, work_.multiplexer, -1, 4); });
  connect(default_, &QCheckBox::clicked, this, [this](bool ticked) { onDefault(ticked); });
  connect(indexList_, &QPushButton::clicked, this, [this] { fillList(ListForm::Index, true); });
  connect(addressList, &QPushButton::clicked, this, [this] { fillList(ListForm::Address, true); });
  connect(list_, &QListWidget::currentRowChanged, this, [this] { selectCell(); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { onDoubleClick(list_->row(item)); });
  connect(report, &QPushButton::clicked, this, [this] { onReport(); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  resize(560, 380);
}

bool CSegAllocDlg::DoModal() {
  doc_.GetAllocationParameters(work_.segments, work_.multiplexer, work_.defaultAllocation);
  work_.table = doc_.GetAllocationTable();
  segments_->setText(QString::number(work_.segments));
  multiplexer_->setText(QString::number(work_.multiplexer));
  default_->setChecked(work_.defaultAllocation == -1);
  indexList_->setEnabled(work_.defaultAllocation != -1);
  com_ = kNoCom;
  if (work_.segments != -1 && work_.multiplexer != -1) fillList(form_, false);
  return segdraw::RunDialog(*this);
}

void CSegAllocDlg::fillList(ListForm form, bool tell) {
  if (work_.segments == -1 || work_.multiplexer == -1) {
    if (tell) {
      platform::MessageBox(kDefineCounts, "Segdraw", platform::MB_OK);
    } else {
      list_->clear();
    }
    return;
  }
  form_ = form;
  const int top = list_->verticalScrollBar()->value();
  const int row = list_->currentRow();
  const QSignalBlocker quiet(list_);
  list_->clear();
  for (const std::string& line : segdraw::AllocationLines(doc_, work_, form)) list_->addItem(QString::fromStdString(line));
  if (row < list_->count()) list_->setCurrentRow(row);
  list_->verticalScrollBar()->setValue(top);
  // Wide enough for every cell of its lines without widening the dialog.
  const int content = list_->sizeHintForColumn(0) + 2 * list_->frameWidth() +
                      list_->verticalScrollBar()->sizeHint().width();
  list_->setMinimumWidth(content);
}

void CSegAllocDlg::onCount(QLineEdit* field, int16_t& count, int min, int max) {
  bool ok = false;
  const int value = field->text().trimmed().toInt(&ok);
  if (!ok || value < min || value > max) return;  // told at OK
  count = static_cast<int16_t>(value);
  fillList(form_, false);
}

void CSegAllocDlg::onDefault(bool ticked) {
  work_.defaultAllocation = ticked ? -1 : 0;
  if (ticked) form_ = ListForm::Address;
  indexList_->setEnabled(!ticked);
  fillList(form_, false);
}

void CSegAllocDlg::onCom(int com) {
  com_ = com;
  selectCell();
}

int CSegAllocDlg::cellSegment(int s) const {
  const int position = s * work_.multiplexer + com_;
  if (work_.defaultAllocation == -1) return position < doc_.GetSegmentCount() ? position : -1;
  const uint16_t entry = segdraw::TableEntry(work_, position);
  if (entry != lcddef::kDefaultEntry) return entry < doc_.GetSegmentCount() ? entry : -1;
  return segdraw::FindSegment(doc_, s, static_cast<uint16_t>(1 << com_));
}

void CSegAllocDlg::selectCell() {
  const int s = list_->currentRow();
  if (s < 0 || com_ == kNoCom) return;
  view_.SelectSegment(cellSegment(s));
}

void CSegAllocDlg::onDoubleClick(int s) {
  if (work_.defaultAllocation == -1 || work_.segments == -1 || work_.multiplexer == -1 || com_ == kNoCom ||
      com_ >= work_.multiplexer) {
    platform::MessageBox(kCheckCell, "Segdraw", platform::MB_OK);
    return;
  }
  const int position = s * work_.multiplexer + com_;
  const uint16_t entry = segdraw::TableEntry(work_, position);
  const int preset = entry != lcddef::kDefaultEntry ? entry : segdraw::FindSegment(doc_, s, static_cast<uint16_t>(1 << com_));
  CSegEditDlg segments(doc_, view_, preset, this);
  if (!segments.DoModal() || position >= lcddef::kTableEntries) return;
  work_.table[static_cast<size_t>(position)] = static_cast<uint16_t>(segments.Selection());
  fillList(form_, false);
}

void CSegAllocDlg::onReport() {
  CSegReportDlg report(doc_, segdraw::BuildAllocationReport(doc_, work_, clock_), this);
  report.DoModal();
}

void CSegAllocDlg::accept() {
  int segments = 0, multiplexer = 0;
  if (!segdraw::FetchInteger(segments_, -1, 40, segments) || !segdraw::FetchInteger(multiplexer_, -1, 4, multiplexer))
    return;
  work_.segments = static_cast<int16_t>(segments);
  work_.multiplexer = static_cast<int16_t>(multiplexer);
  int16_t docSegments = 0, docMultiplexer = 0, docDefault = 0;
  doc_.GetAllocationParameters(docSegments, docMultiplexer, docDefault);
  bool changed = docSegments != work_.segments || docMultiplexer != work_.multiplexer || docDefault != work_.defaultAllocation;
  const int used = std::max(0, work_.segments * work_.multiplexer);
  for (int i = 0; i < std::min(used, lcddef::kTableEntries) && !changed; ++i)
    changed = doc_.GetAllocationTable()[static_cast<size_t>(i)] != work_.table[static_cast<size_t>(i)];
  if (changed) {
    doc_.SetAllocationParameters(work_.segments, work_.multiplexer, work_.defaultAllocation);
    doc_.SetAllocationTable(work_.table);
  }
  QDialog::accept();
}
