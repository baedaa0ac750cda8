#pragma once
// The file pane: volume selector, file-type filter, directory list and file list, linked so
// that each drives the next. The main window reads the file last clicked and sets the
// directory shown.
#include <QStringList>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QFileSystemModel;
class QFrame;
class QListView;
class QModelIndex;
class QSplitter;
class QTreeView;

// One choice of the filter selector: a description and its name masks.
struct TFileFilter {
  std::string Description;
  QStringList Masks;
};

class TFilePane : public QWidget {
public:
  explicit TFilePane(QWidget* parent = nullptr);

  // "Description|*.a;*.b|..." into its choices; a description without masks is dropped.
  static std::vector<TFileFilter> ParseFilter(const std::string& filter);

  // Full path of the file last clicked in the file list.
  const std::string& FileName() const { return FFileName; }
  // Selects a file as a click would, without raising OnFileClick.
  void SetFileName(const std::string& fileName) { FFileName = fileName; }
  // The directory the file list shows, without trailing separator.
  std::string Directory() const;
  // Shows a directory in the file list, moving the directory list and volume selector along.
  // An empty name means the process's current directory.
  void SetDirectory(const std::string& directory);
  // Name masks the file list uses now.
  QStringList Mask() const;
  void SetMask(const QStringList& masks);
  // Switches the filter selector, which sets the file list's mask.
  void SetFilterIndex(int index);

  std::function<void()> OnFileClick;

  QFrame* Bevel1 = nullptr;
  QComboBox* DriveComboBox1 = nullptr;
  QComboBox* FilterComboBox1 = nullptr;
  QTreeView* DirectoryListBox1 = nullptr;
  QSplitter* Splitter2 = nullptr;
  QListView* files = nullptr;

private:
  void CreateSelectors();
  void CreateLists();
  void FillVolumes();
  void FillFilters();
  void VolumeChosen(int index);
  void DirectoryChosen(const QModelIndex& index);
  void FileClicked(const QModelIndex& index);
  void ShowVolumeOf(const QString& directory);
  void ShowInDirectoryList(const QString& directory);

  QFileSystemModel* FDirModel = nullptr;
  QFileSystemModel* FFileModel = nullptr;
  std::vector<TFileFilter> FFilters;
  std::string FFileName;
};
