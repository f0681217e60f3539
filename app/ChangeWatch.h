#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>

// Watches an AVCHD tree while a page waits for the user: a file or folder
// created, deleted, renamed or changed anywhere below the watched folder
// calls the handler once.
class ChangeWatch : public QObject {
  Q_OBJECT

 public:
  explicit ChangeWatch(QObject* parent = nullptr);

  // Watches `folder`, every folder below it and their files. A folder that
  // does not exist (yet) is not watched.
  void Start(const std::filesystem::path& folder, std::function<void()> changed);
  // Deregisters; later changes are ignored.
  void Stop();

 private:
  void OnChange(const QString& path);

  std::unique_ptr<QFileSystemWatcher> watcher_;
  QString watched_;
  std::function<void()> changed_;
};
