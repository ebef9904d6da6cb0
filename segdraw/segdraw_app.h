#pragma once
// The segment editor's application: one document, its frame and its view;
// it starts with a new document and does not read its command line.
#include <memory>

#include "main_frame.h"
#include "segdraw_doc.h"
#include "segdraw_view.h"

class CSegdrawApp {
 public:
  CSegdrawApp();
  ~CSegdrawApp();

  // Builds the frame and view, runs File New and shows the frame.
  bool InitInstance();
  void OnAppAbout();

  CSegdrawDoc& Document() { return *doc_; }
  CMainFrame& Frame() { return *frame_; }
  CSegdrawView& View() { return *view_; }

 private:
  std::unique_ptr<CSegdrawDoc> doc_;
  std::unique_ptr<CMainFrame> frame_;
  CSegdrawView* view_ = nullptr;  // owned by the frame
};
