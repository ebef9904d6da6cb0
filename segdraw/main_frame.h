#pragma once
// The main frame of the segment editor: its menus, tool bar and status bar.
#include <platform/doc_frame.h>

class CSegdrawDoc;

// The editor's own commands.
enum SegdrawCommand : int {
  ID_PARAM_GENERAL = 32771,
  ID_PARAM_SEGMENTS = 32773,
  ID_VIEW_ZOOMIN = 32774,
  ID_VIEW_ZOOMOUT = 32775,
  ID_VIEW_ZOOM11 = 32776,
  ID_PARAM_ALLOCATION = 32777,
};

class CMainFrame : public platform::DocFrame {
 public:
  explicit CMainFrame(CSegdrawDoc& document);
};
