#include "segdraw_app.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include <platform/hooks.h>

using namespace platform;

CSegdrawApp::CSegdrawApp() : doc_(std::make_unique<CSegdrawDoc>()) {}

CSegdrawApp::~CSegdrawApp() {
  frame_.reset();
  doc_.reset();
}

bool CSegdrawApp::InitInstance() {
  // An error that reaches the event loop is told under the editor's own name.
  SetErrorBoxTitle("Segdraw", "Segdraw ERROR");
  // Dialogs: light grey with black text.
  QPalette grey = QApplication::palette();
  grey.setColor(QPalette::Window, QColor(192, 192, 192));
  grey.setColor(QPalette::WindowText, Qt::black);
  QApplication::setPalette(grey, "QDialog");

  frame_ = std::make_unique<CMainFrame>(*doc_);
  view_ = new CSegdrawView(*doc_);
  frame_->SetView(view_);
  CSegdrawView& view = *view_;
  CMainFrame& frame = *frame_;
  view.SetHooks({[&frame] { frame.FileOpen(); }, [&frame] { frame.UpdateCommands(); }});
  frame.SetHandler(ID_PARAM_GENERAL, [&view] { view.OnParamGeneral(); });
  frame.SetHandler(ID_PARAM_SEGMENTS, [&view] { view.OnParamSegments(); });
  frame.SetHandler(ID_PARAM_ALLOCATION, [&view] { view.OnParamAllocation(); });
  frame.SetHandler(kFileOpen, [&view] { view.OnFileOpen(); });
  frame.SetHandler(ID_VIEW_ZOOMIN, [&view] { view.OnViewZoomIn(); });
  frame.SetHandler(ID_VIEW_ZOOMOUT, [&view] { view.OnViewZoomOut(); });
  frame.SetHandler(ID_VIEW_ZOOM11, [&view] { view.OnViewZoom11(); });
  frame.SetHandler(kEditCopy, [&view] { view.OnEditCopy(); }, [&view] { return view.CanCopy(); });
  frame.SetHandler(kEditCut, [&view] { view.OnEditCut(); }, [&view] { return view.CanCopy(); });
  frame.SetHandler(kEditPaste, [&view] { view.OnEditPaste(); }, [&view] { return view.CanPaste(); });
  frame.SetHandler(kAppAbout, [this] { OnAppAbout(); });
  QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, &frame,
                   [&frame] { frame.UpdateCommands(); });

  if (!frame.FileNew()) return false;
  frame.resize(640, 400);
  frame.show();
  view.setFocus();
  return true;
}

void CSegdrawApp::OnAppAbout() {
  QDialog about(frame_.get());
  about.setObjectName("AboutDialog");
  about.setWindowTitle("About Segdraw");
  auto* layout = new QVBoxLayout(&about);
  layout->addWidget(new QLabel("LCD simulation Editor V2.0", &about));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &about);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
  layout->addWidget(buttons);
  RunModalForm(about);
}
