#include "app/ChangeWatch.h"

#include <QStringList>

ChangeWatch::ChangeWatch(QObject* parent) : QObject(parent) {}

void ChangeWatch::Start(const std::filesystem::path& folder, std::function<void()> changed) {
  Stop();
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) return;
  QStringList paths{QString::fromStdString(folder.string())};
  // An AVCHD tree holds about ten folders and a few files per recording.
  for (auto entry = std::filesystem::recursive_directory_iterator(
           folder, std::filesystem::directory_options::skip_permission_denied, error);
       !error && entry != std::filesystem::recursive_directory_iterator(); entry.increment(error)) {
    paths << QString::fromStdString(entry->path().string());
  }
  watcher_ = std::make_unique<QFileSystemWatcher>();
  watcher_->addPaths(paths);
  watched_ = paths.front();
  changed_ = std::move(changed);
  connect(watcher_.get(), &QFileSystemWatcher::directoryChanged, this, &ChangeWatch::OnChange);
  connect(watcher_.get(), &QFileSystemWatcher::fileChanged, this, &ChangeWatch::OnChange);
}

void ChangeWatch::Stop() {
  if (watcher_) {
    // The watcher may be the one calling: it goes when its signal has returned.
    watcher_->disconnect(this);
    watcher_.release()->deleteLater();
  }
  changed_ = nullptr;
}

void ChangeWatch::OnChange(const QString& path) {
  // Only what lies below the watched folder counts, whatever the letter case.
  if (!watcher_ || !path.startsWith(watched_, Qt::CaseInsensitive)) return;
  auto changed = std::move(changed_);
  Stop();
  if (changed) changed();
}
