#include "seg_edit_dlg.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <cstdio>
#include <cstdlib>

#include <platform/filenames.h>
#include <platform/hooks.h>

#include "dialog_support.h"
#include "segdraw_view.h"

using segdraw::Named;

namespace {

QString ListLine(const CSegdrawDoc& doc, int i) {
  char line[32];
  std::snprintf(line, sizeof line, "%03d  %02u %02u", i, static_cast<unsigned>(doc.GetAddress(i)),
                static_cast<unsigned>(doc.GetBit(i)));
  return line;
}

// The folder the bitmap browser starts in: the document's, else the system folder.
std::string BrowseFolder(const CSegdrawDoc& doc) {
  if (!doc.PathName().empty()) return platform::FolderOf(doc.PathName());
  const char* system = std::getenv("TAVIX_SYSTEM_DIR");
  return system != nullptr && *system ? std::string(system) + "/" : platform::ProgramPath();
}

}  // namespace

CSegEditDlg::CSegEditDlg(CSegdrawDoc& doc, CSegdrawView& view, int selection, QWidget* parent)
    : QDialog(parent), doc_(doc), view_(view), selection_(selection) {
  setObjectName("CSegEditDlg");
  setWindowTitle("Segment definition");
  auto* grid = new QGridLayout(this);
  list_ = Named(new QListWidget(this), IDC_SEGLIST);
  grid->addWidget(list_, 0, 0, 4, 1);

  auto* position = new QGroupBox("Position Relative to Display", this);
  auto* pg = new QGridLayout(position);
  const std::pair<int, const char*> places[] = {{IDC_X, "X"}, {IDC_WIDTH, "Width"}, {IDC_Y, "Y"}, {IDC_HEIGHT, "Height"}};
  for (int k = 0; k < 4; ++k) {
    pg->addWidget(new QLabel(places[k].second, position), k / 2, (k % 2) * 2);
    pg->addWidget(Named(new QLineEdit(position), places[k].first), k / 2, (k % 2) * 2 + 1);
  }
  grid->addWidget(position, 0, 1);

  auto* allocation = new QGroupBox("Segment Allocation", this);
  auto* ag = new QHBoxLayout(allocation);
  ag->addWidget(new QLabel("Address", allocation));
  ag->addWidget(Named(new QLineEdit(allocation), IDC_ADDRESS));
  auto* bits = new QButtonGroup(this);
  for (int k = 0; k < 4; ++k) {
    radios_[k] = Named(new QRadioButton(QString::number(k), allocation), IDC_BIT0 + k);
    bits->addButton(radios_[k], k);
    ag->addWidget(radios_[k]);
  }
  grid->addWidget(allocation, 1, 1);

  auto* bitmap = new QGroupBox("Segment Bitmap File", this);
  auto* bg = new QHBoxLayout(bitmap);
  bg->addWidget(new QLabel("Reference :", bitmap));
  bg->addWidget(Named(new QLineEdit(bitmap), IDC_FILENAME));
  auto* browse = Named(new QPushButton("&Browse", bitmap), IDC_BROWSE);
  bg->addWidget(browse);
  grid->addWidget(bitmap, 2, 1);

  auto* buttons = new QHBoxLayout;
  const std::pair<int, const char*> commands[] = {{IDC_NEW, "&New"}, {IDC_INSERT, "&Insert"}, {IDC_DEL, "&Del"},
                                                  {IDC_SORT, "&Sort"}, {IDC_EDITBITMAP, "&Edit Bitmap"}};
  for (auto [id, text] : commands) buttons->addWidget(Named(new QPushButton(text, this), id));
  auto* exit = new QPushButton("E&xit", this);
  exit->setObjectName("IDOK");
  exit->setDefault(true);
  buttons->addWidget(exit);
  grid->addLayout(buttons, 3, 1);

  // The list's selection, not its current row: a list that gets the focus
  // makes its first row current without selecting it.
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] { onListSelection(selectedRow()); });
  connect(bits, &QButtonGroup::idClicked, this, [this](int k) { onRadio(k); });
  connect(field(IDC_ADDRESS), &QLineEdit::textEdited, this, [this] { onAddress(); });
  connect(field(IDC_ADDRESS), &QLineEdit::editingFinished, this, [this] { onAddress(); });
  connect(browse, &QPushButton::clicked, this, [this] { onBrowse(); });
  connect(segdraw::Control<QPushButton>(*this, IDC_NEW), &QPushButton::clicked, this, [this] { onNew(); });
  connect(segdraw::Control<QPushButton>(*this, IDC_INSERT), &QPushButton::clicked, this, [this] { onInsert(); });
  connect(segdraw::Control<QPushButton>(*this, IDC_DEL), &QPushButton::clicked, this, [this] { onDelete(); });
  connect(segdraw::Control<QPushButton>(*this, IDC_SORT), &QPushButton::clicked, this, [this] { onSort(); });
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
}

QLineEdit* CSegEditDlg::field(int id) const { return segdraw::Control<QLineEdit>(*this, id); }

int CSegEditDlg::selectedRow() const {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  return selected.isEmpty() ? -1 : list_->row(selected.front());
}

bool CSegEditDlg::DoModal() {
  fillList();
  if (selection_ < 0 || selection_ >= list_->count()) {
    selection_ = -1;
    clearFields();
  } else {
    showSegment();
  }
  return segdraw::RunDialog(*this);
}

void CSegEditDlg::fillList() {
  filling_ = true;
  list_->clear();
  for (int i = 0; i < doc_.GetSegmentCount(); ++i) list_->addItem(ListLine(doc_, i));
  list_->setCurrentRow(selection_ < list_->count() ? selection_ : -1);
  filling_ = false;
}

void CSegEditDlg::clearFields() {
  for (int id : {IDC_X, IDC_WIDTH, IDC_Y, IDC_HEIGHT, IDC_ADDRESS, IDC_FILENAME}) field(id)->clear();
  for (QRadioButton* r : radios_) r->setAutoExclusive(false), r->setChecked(false), r->setAutoExclusive(true);
}

void CSegEditDlg::showSegment() {
  const int i = selection_;
  field(IDC_X)->setText(QString::number(doc_.GetLeft(i)));
  field(IDC_WIDTH)->setText(QString::number(doc_.GetWidth(i)));
  field(IDC_Y)->setText(QString::number(doc_.GetTop(i)));
  field(IDC_HEIGHT)->setText(QString::number(doc_.GetHeight(i)));
  field(IDC_ADDRESS)->setText(QString::number(doc_.GetAddress(i)));
  for (int k = 0; k < 4; ++k) {
    radios_[k]->setAutoExclusive(false);
    radios_[k]->setChecked(((doc_.GetBit(i) >> k) & 1) != 0);
    radios_[k]->setAutoExclusive(true);
  }
  std::string name;
  doc_.GetSegmentBitmapName(i, name);
  field(IDC_FILENAME)->setText(QString::fromStdString(name));
}

void CSegEditDlg::selectInView() { view_.SelectSegment(selection_); }

void CSegEditDlg::onListSelection(int row) {
  if (filling_ || row < 0 || row == selection_) return;
  selection_ = row;
  showSegment();
  selectInView();
}

void CSegEditDlg::onRadio(int k) {
  if (selection_ < 0) return;
  const auto bit = static_cast<uint16_t>(1 << k);
  if (doc_.GetBit(selection_) != bit) {
    doc_.SetBit(selection_, bit);
    doc_.SetModifiedFlag();
  }
  fillList();
  selectInView();
}

void CSegEditDlg::onAddress() {
  bool ok = false;
  const uint value = field(IDC_ADDRESS)->text().trimmed().toUInt(&ok);
  if (selection_ < 0 || !ok || value > 0xFFFF) return;  // not a number: nothing stored
  doc_.SetAddress(selection_, static_cast<uint16_t>(value));
  fillList();
}

void CSegEditDlg::onNew() { showNew(doc_.AddSegment()); }

// Without a selection Insert puts the new segment first.
void CSegEditDlg::onInsert() { showNew(doc_.InsertSegment(selection_ < 0 ? 0 : selection_)); }

void CSegEditDlg::showNew(int i) {
  if (i < 0) return;  // 160 segments
  selection_ = i;
  fillList();
  showSegment();
  selectInView();
  doc_.SetModifiedFlag();
}

void CSegEditDlg::onDelete() {
  if (selection_ < 0) return;
  selection_ = doc_.DeleteSegment(selection_);
  fillList();
  if (selection_ >= 0)
    showSegment();
  else
    clearFields();
  selectInView();
  doc_.SetModifiedFlag();
}

void CSegEditDlg::onSort() {
  const std::vector<lcddef::SegmentRecord> before = doc_.Definition().segments;
  doc_.SortSegments();
  if (doc_.Definition().segments != before) doc_.SetModifiedFlag();
  fillList();
  if (selection_ >= 0) showSegment();
}

void CSegEditDlg::onBrowse() {
  if (selection_ < 0) return;
  platform::CommonDialog dialog("browse", this);
  dialog.FileName = BrowseFolder(doc_) + "*.bmp";
  dialog.Flags = platform::CommonDialog::kFileMustExist;
  if (!dialog.ShowOpen()) return;
  const uint16_t old = doc_.GetBitmapIndex(selection_);
  if (old < doc_.GetBitmapCount() && doc_.CountSegmentsUsingBitmap(old) == 1) doc_.RemoveBitmap(old);
  if (doc_.GetDocumentFolder().empty()) doc_.SetDocumentFolder(platform::FolderOf(dialog.FileName));
  const std::string name = platform::FileName(dialog.FileName);
  int bitmap = doc_.FindBitmap(name);
  if (bitmap == lcddef::kNoBitmap) bitmap = doc_.AddBitmap(name);
  if (bitmap < 0) return;  // all bitmap slots in use
  doc_.SetBitmapIndex(selection_, static_cast<uint16_t>(bitmap));
  doc_.SetSegmentBitmapName(selection_, name);
  field(IDC_FILENAME)->setText(QString::fromStdString(name));
  doc_.SetModifiedFlag();
}

void CSegEditDlg::accept() {
  if (selection_ >= 0 && selectedRow() >= 0) {
    const int i = selection_ = selectedRow();
    int x = 0, width = 0, y = 0, height = 0, address = 0;
    if (!segdraw::FetchInteger(field(IDC_X), 0, 0xFFFF, x) || !segdraw::FetchInteger(field(IDC_WIDTH), 0, 0xFFFF, width) ||
        !segdraw::FetchInteger(field(IDC_Y), 0, 0xFFFF, y) ||
        !segdraw::FetchInteger(field(IDC_HEIGHT), 0, 0xFFFF, height) ||
        !segdraw::FetchInteger(field(IDC_ADDRESS), 0, 0xFFFF, address))
      return;
    uint16_t bit = 0;
    for (int k = 0; k < 4; ++k) bit |= radios_[k]->isChecked() ? static_cast<uint16_t>(1 << k) : 0;
    std::string before;
    doc_.GetSegmentBitmapName(i, before);
    lcddef::SegmentRecord old;
    doc_.GetSegmentRecord(i, old);
    doc_.SetLeft(i, x);
    doc_.SetWidth(i, width);
    doc_.SetTop(i, y);
    doc_.SetHeight(i, height);
    doc_.SetAddress(i, static_cast<uint16_t>(address));
    doc_.SetBit(i, bit);
    doc_.SetSegmentBitmapName(i, field(IDC_FILENAME)->text().toStdString());
    lcddef::SegmentRecord now;
    doc_.GetSegmentRecord(i, now);
    std::string after;
    doc_.GetSegmentBitmapName(i, after);
    if (now != old || after != before) doc_.SetModifiedFlag();
  }
  QDialog::accept();
}
