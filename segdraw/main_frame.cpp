#include "main_frame.h"

#include "segdraw_doc.h"

using namespace platform;

CMainFrame::CMainFrame(CSegdrawDoc& document) : DocFrame("Segdraw", document, "Segdraw", 4) {
  setObjectName("CMainFrame");
  BuildMenus({
      {"&File", 0},
      {nullptr, kFileNew, "&New", "Ctrl+N", "Create a new document"},
      {nullptr, kFileOpen, "&Open...", "Ctrl+O", "Open an existing document"},
      {nullptr, kFileSave, "&Save", "Ctrl+S", "Save the active document"},
      {nullptr, kFileSaveAs, "Save &As...", "", "Save the active document with a new name"},
      {nullptr, kFileRecent},
      {nullptr, kAppExit, "E&xit", "", "Quit the application; prompts to save documents"},
      {"&Edit", 0},
      {nullptr, kEditUndo, "&Undo", "Ctrl+Z", "Undo the last action"},
      {nullptr, 0},
      {nullptr, kEditCut, "Cu&t", "Ctrl+X", "Cut the selection and put it on the Clipboard"},
      {nullptr, kEditCopy, "&Copy", "Ctrl+C", "Copy the selection and put it on the Clipboard"},
      {nullptr, kEditPaste, "&Paste", "Ctrl+V", "Insert Clipboard contents"},
      {"&View", 0},
      {nullptr, kViewToolBar, "&Toolbar", "", "Show or hide the toolbar"},
      {nullptr, kViewStatusBar, "&Status Bar", "", "Show or hide the status bar"},
      {nullptr, 0},
      {nullptr, ID_VIEW_ZOOMIN, "Zoom &In", "", "Zoom in"},
      {nullptr, ID_VIEW_ZOOMOUT, "Zoom &Out", "", "Zoom out"},
      {nullptr, ID_VIEW_ZOOM11, "&Zoom 1:1", "", "Scale 1:1"},
      {"&Parameters", 0},
      {nullptr, ID_PARAM_GENERAL, "&General", "", "Edit general Parameters"},
      {nullptr, ID_PARAM_SEGMENTS, "&Segments", "", "Edit segment data"},
      {nullptr, ID_PARAM_ALLOCATION, "&Allocation", "", "Segment allocation table"},
      {"&Help", 0},
      {nullptr, kAppAbout, "&About Segdraw...", "", "Display program information"},
  });
  BuildToolBar({kFileNew, kFileOpen, kFileSave, 0, kEditCut, kEditCopy, kEditPaste, 0, kFilePrint, kAppAbout});
  for (auto [id, text] : {std::pair{kFileNew, "New"}, {kFileOpen, "Open"}, {kFileSave, "Save"}, {kEditCut, "Cut"},
                          {kEditCopy, "Copy"}, {kEditPaste, "Paste"}, {kFilePrint, "Print"}, {kAppAbout, "About"}})
    if (Command(id)->text().isEmpty()) Command(id)->setText(text);
  // Without a source for the key states the indicators are plain labels.
  BuildStatusBar({"CAP", "NUM", "SCRL"});
  // Saving is offered only while there is something to save.
  SetEnabled(kFileSave, [&document] { return document.IsModified(); });
}
