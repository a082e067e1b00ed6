// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace voxmere {

class IniDocument;

// An INI file by its path. Like the Windows program, every call opens the
// file, reads or writes and closes it again; nothing is cached, so edits made
// by hand between two calls are seen. A write reads the whole file, changes
// the one value and replaces the file atomically; every line it did not
// change keeps its bytes. Failures raise an Exception naming the file.
class IniFile {
 public:
  explicit IniFile(QString path) : path_(std::move(path)) {}

  const QString& Path() const { return path_; }

  // A missing file reads as empty: every read gives its default.
  std::optional<QString> ReadValue(QStringView section, QStringView key) const;
  QString ReadString(QStringView section, QStringView key, const QString& default_value) const;
  int ReadInteger(QStringView section, QStringView key, int default_value) const;
  bool ReadBool(QStringView section, QStringView key, bool default_value) const;
  QStringList KeyNames(QStringView section) const;
  bool HasKeys(QStringView section) const;

  // A write to a missing file creates it (and its folder).
  void WriteString(QStringView section, QStringView key, QStringView value) const;
  void WriteInteger(QStringView section, QStringView key, int value) const;
  void WriteBool(QStringView section, QStringView key, bool value) const;
  // Leaves the file untouched when there is no such key.
  void DeleteKey(QStringView section, QStringView key) const;

  // Gathers the writes from here to CommitBatch into one atomic save, so that
  // a change of many values is never found half made after a crash or a kill.
  // Reads in between see the pending values. A missing file starts empty; one
  // that cannot be read raises an Exception.
  void BeginBatch() const;
  // TidyIniFile on the pending text (the batch's own file may not exist yet).
  void TidyBatch() const;
  // Writes the gathered changes at once (nothing when there were none) and
  // ends the batch. A failure raises an Exception and leaves the file whole.
  void CommitBatch() const;

 private:
  // Load, change, atomic save; within a batch only the change.
  void Edit(const std::function<void(IniDocument&)>& change) const;
  // The pending document within a batch, else the file as it is now.
  IniDocument Current() const;

  QString path_;
  // The settings are changed from the UI thread only, and a batch lives for
  // one save: no locking needed.
  mutable std::shared_ptr<IniDocument> batch_;
  mutable bool batch_changed_ = false;
};

// Rewrites an INI file's lines: drops empty lines and lines of one blank, and
// puts a line holding a single CR before section headers (looking at every
// second line only, as the Windows program does), every line ended by CR LF.
// A file that cannot be read (or is missing) or written raises an Exception.
void TidyIniFile(const QString& path);

// Deletes every key of the first section of that name, then its header line;
// every line is written back with CR LF. A missing file raises an Exception.
void EraseIniSection(const QString& path, const QString& section);

// Renames the first section of that name to exactly "[new_name]"; every line is
// written back with CR LF. A missing file raises an Exception.
void RenameIniSection(const QString& path, const QString& old_name, const QString& new_name);

}  // namespace voxmere
