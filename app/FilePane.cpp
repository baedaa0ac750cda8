#include "app/FilePane.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFrame>
#include <QHeaderView>
#include <QListView>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const char* const FilterText =
    "HTML Documents|*.htm;*.html|Images|*.gif;*.jpg;*.png;*.bmp|Text Documents|*.txt";
const char* const InitialMask = "*.htm*";

QString CleanDirectory(const std::string& directory)
{
  QString dir = directory.empty() ? QDir::currentPath() : QString::fromStdString(directory);
  return QDir::cleanPath(QDir(dir).absolutePath());
}

} // namespace

TFilePane::TFilePane(QWidget* parent) : QWidget(parent)
{
  setObjectName("Panel2");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  CreateSelectors();
  CreateLists();
  layout->addWidget(Bevel1);
  layout->addWidget(Splitter2, 1);
  SetDirectory({});
}

std::vector<TFileFilter> TFilePane::ParseFilter(const std::string& filter)
{
  std::vector<TFileFilter> result;
  QStringList parts = QString::fromStdString(filter).split('|');
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList masks = parts[i + 1].split(';', Qt::SkipEmptyParts);
    if (!masks.isEmpty())
      result.push_back({parts[i].toStdString(), masks});
  }
  return result;
}

void TFilePane::CreateSelectors()
{
  Bevel1 = new QFrame(this);
  Bevel1->setObjectName("Bevel1");
  Bevel1->setFrameShape(QFrame::Box);
  Bevel1->setFrameShadow(QFrame::Sunken);
  Bevel1->setFixedHeight(73);
  DriveComboBox1 = new QComboBox(Bevel1);
  DriveComboBox1->setObjectName("DriveComboBox1");
  DriveComboBox1->setGeometry(16, 8, 145, 24);
  FilterComboBox1 = new QComboBox(Bevel1);
  FilterComboBox1->setObjectName("FilterComboBox1");
  FilterComboBox1->setGeometry(16, 40, 145, 24);
  FillVolumes();
  FillFilters();
  connect(DriveComboBox1, &QComboBox::activated, this, [this](int i) { VolumeChosen(i); });
  connect(FilterComboBox1, &QComboBox::activated, this, [this](int i) { SetFilterIndex(i); });
}

void TFilePane::CreateLists()
{
  Splitter2 = new QSplitter(Qt::Vertical, this);
  Splitter2->setObjectName("Splitter2");
  Splitter2->setHandleWidth(5);
  Splitter2->setChildrenCollapsible(false);
  FDirModel = new QFileSystemModel(this);
  FDirModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  FDirModel->setRootPath(QDir::rootPath());
  DirectoryListBox1 = new QTreeView(Splitter2);
  DirectoryListBox1->setObjectName("DirectoryListBox1");
  DirectoryListBox1->setModel(FDirModel);
  DirectoryListBox1->setHeaderHidden(true);
  for (int column = 1; column < FDirModel->columnCount(); ++column)
    DirectoryListBox1->hideColumn(column);
  DirectoryListBox1->setIndentation(12);
  FFileModel = new QFileSystemModel(this);
  FFileModel->setFilter(QDir::Files);
  FFileModel->setNameFilterDisables(false);
  FFileModel->setNameFilters({InitialMask});
  files = new QListView(Splitter2);
  files->setObjectName("files");
  files->setModel(FFileModel);
  Splitter2->addWidget(DirectoryListBox1);
  Splitter2->addWidget(files);
  Splitter2->setSizes({168, 200});
  Splitter2->setStretchFactor(1, 1);
  // Directories arrive and are sorted in the background; keep the current one in sight.
  connect(FDirModel, &QAbstractItemModel::layoutChanged, this, [this] {
    DirectoryListBox1->scrollTo(DirectoryListBox1->currentIndex(),
                                QAbstractItemView::PositionAtCenter);
  });
  connect(DirectoryListBox1, &QTreeView::clicked, this,
          [this](const QModelIndex& i) { DirectoryChosen(i); });
  connect(files, &QListView::clicked, this, [this](const QModelIndex& i) { FileClicked(i); });
}

void TFilePane::FillVolumes()
{
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
    if (volume.isValid() && volume.isReady())
      DriveComboBox1->addItem(volume.rootPath(), volume.rootPath());
}

void TFilePane::FillFilters()
{
  FFilters = ParseFilter(FilterText);
  for (const TFileFilter& filter : FFilters)
    FilterComboBox1->addItem(QString::fromStdString(filter.Description));
}

std::string TFilePane::Directory() const
{
  return FFileModel->rootPath().toStdString();
}

void TFilePane::SetDirectory(const std::string& directory)
{
  QString dir = CleanDirectory(directory);
  FFileModel->setRootPath(dir);
  files->setRootIndex(FFileModel->index(dir));
  ShowVolumeOf(dir);
  ShowInDirectoryList(dir);
}

void TFilePane::ShowInDirectoryList(const QString& dir)
{
  QModelIndex dirIndex = FDirModel->index(dir);
  // The directory list shows the path down to the directory, opened at each step.
  for (QModelIndex i = dirIndex; i.isValid(); i = i.parent())
    DirectoryListBox1->expand(i);
  DirectoryListBox1->setCurrentIndex(dirIndex);
  DirectoryListBox1->scrollTo(dirIndex, QAbstractItemView::PositionAtCenter);
}

void TFilePane::ShowVolumeOf(const QString& directory)
{
  QString root = QStorageInfo(directory).rootPath();
  int item = DriveComboBox1->findData(root);
  if (item >= 0) {
    QSignalBlocker block(DriveComboBox1);
    DriveComboBox1->setCurrentIndex(item);
  }
  DirectoryListBox1->setRootIndex(FDirModel->index(root.isEmpty() ? QDir::rootPath() : root));
}

QStringList TFilePane::Mask() const
{
  return FFileModel->nameFilters();
}

void TFilePane::SetMask(const QStringList& masks)
{
  FFileModel->setNameFilters(masks);
}

void TFilePane::SetFilterIndex(int index)
{
  if (index < 0 || index >= int(FFilters.size()))
    return;
  if (FilterComboBox1->currentIndex() != index) {
    QSignalBlocker block(FilterComboBox1);
    FilterComboBox1->setCurrentIndex(index);
  }
  SetMask(FFilters[index].Masks);
}

void TFilePane::VolumeChosen(int index)
{
  SetDirectory(DriveComboBox1->itemData(index).toString().toStdString());
}

void TFilePane::DirectoryChosen(const QModelIndex& index)
{
  SetDirectory(FDirModel->filePath(index).toStdString());
}

void TFilePane::FileClicked(const QModelIndex& index)
{
  FFileName = FFileModel->filePath(index).toStdString();
  if (OnFileClick)
    OnFileClick();
}
