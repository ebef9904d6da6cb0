#pragma once
// The document of a single-document program: its path and title, the
// modified flag with the save prompt, and the views that show it.
#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace platform {

class ScrollView;

class Document : public QObject {
  Q_OBJECT

 public:
  Document() = default;
  ~Document() override = default;

  // A new, empty document: no path, not modified.
  virtual bool OnNewDocument();
  // Reads `path`; false when it could not (the document has said why).
  virtual bool OnOpenDocument(const std::string& path) = 0;
  // Writes `path`; false when it could not (the document has said why).
  virtual bool OnSaveDocument(const std::string& path) = 0;

  bool IsModified() const { return modified_; }
  void SetModifiedFlag(bool modified = true);

  const std::string& PathName() const { return path_; }
  void SetPathName(const std::string& path);
  // The file name of the path, or "Untitled".
  QString Title() const;

  // Asks "Save changes to <title>?" when modified: Yes saves (a failed save
  // answers false), No goes on, Cancel answers false.
  bool SaveModified();
  // Set by the frame: the prompt's caption (the program's title), and how a
  // save of a document without a path asks for one.
  void SetSaveRoute(std::string caption, std::function<bool()> saveAs) {
    caption_ = std::move(caption);
    saveAs_ = std::move(saveAs);
  }

  void AddView(ScrollView* view);
  void RemoveView(ScrollView* view);
  const std::vector<ScrollView*>& Views() const { return views_; }
  // Every view but `sender` takes the change (OnUpdate).
  void UpdateAllViews(ScrollView* sender = nullptr);

 signals:
  void modifiedChanged(bool modified);
  void titleChanged();

 private:
  bool modified_ = false;
  std::string path_;
  std::vector<ScrollView*> views_;
  std::string caption_;
  std::function<bool()> saveAs_;
};

}  // namespace platform
