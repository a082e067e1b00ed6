// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_file.h"

#include <utility>

#include <QDir>

#include "platform/exception.h"
#include "settings/ini_document.h"

namespace voxmere {
namespace {

// The whole-file routines read the file as a list of lines first; like the
// Windows program's read, that fails on a missing file.
IniDocument LoadExisting(const QString& path) {
  std::optional<QByteArray> bytes = ReadSettingsBytes(path);
  if (!bytes) {
    throw Exception(QStringLiteral("Cannot open file %1: the file does not exist.")
                        .arg(QDir::toNativeSeparators(path)));
  }
  return IniDocument::FromBytes(*bytes);
}

}  // namespace

std::optional<QString> IniFile::ReadValue(QStringView section, QStringView key) const {
  return Current().ReadValue(section, key);
}

QString IniFile::ReadString(QStringView section, QStringView key,
                            const QString& default_value) const {
  return Current().ReadString(section, key, default_value);
}

int IniFile::ReadInteger(QStringView section, QStringView key, int default_value) const {
  return Current().ReadInteger(section, key, default_value);
}

bool IniFile::ReadBool(QStringView section, QStringView key, bool default_value) const {
  return Current().ReadBool(section, key, default_value);
}

QStringList IniFile::KeyNames(QStringView section) const { return Current().KeyNames(section); }

bool IniFile::HasKeys(QStringView section) const { return Current().HasKeys(section); }

void IniFile::WriteString(QStringView section, QStringView key, QStringView value) const {
  Edit([&](IniDocument& document) { document.WriteString(section, key, value); });
}

void IniFile::WriteInteger(QStringView section, QStringView key, int value) const {
  Edit([&](IniDocument& document) { document.WriteInteger(section, key, value); });
}

void IniFile::WriteBool(QStringView section, QStringView key, bool value) const {
  Edit([&](IniDocument& document) { document.WriteBool(section, key, value); });
}

void IniFile::Edit(const std::function<void(IniDocument&)>& change) const {
  if (batch_) {
    change(*batch_);
    batch_changed_ = true;
    return;
  }
  IniDocument document = IniDocument::Load(path_);
  change(document);
  document.Save(path_);
}

IniDocument IniFile::Current() const { return batch_ ? *batch_ : IniDocument::Load(path_); }

void IniFile::DeleteKey(QStringView section, QStringView key) const {
  if (batch_) {
    if (batch_->DeleteKey(section, key)) batch_changed_ = true;
    return;
  }
  IniDocument document = IniDocument::Load(path_);
  if (document.DeleteKey(section, key)) document.Save(path_);
}

void IniFile::BeginBatch() const {
  batch_ = std::make_shared<IniDocument>(IniDocument::Load(path_));
  batch_changed_ = false;
}

void IniFile::TidyBatch() const {
  if (!batch_) throw Exception(QStringLiteral("No batch of changes is open"));
  batch_->Tidy();
  batch_changed_ = true;
}

void IniFile::CommitBatch() const {
  const std::shared_ptr<IniDocument> document = std::exchange(batch_, nullptr);
  if (document && batch_changed_) document->Save(path_);
}

void TidyIniFile(const QString& path) {
  IniDocument document = LoadExisting(path);
  document.Tidy();
  document.Save(path);
}

void EraseIniSection(const QString& path, const QString& section) {
  IniDocument document = LoadExisting(path);
  document.EraseSection(section);
  document.Save(path);
}

void RenameIniSection(const QString& path, const QString& old_name, const QString& new_name) {
  IniDocument document = LoadExisting(path);
  document.RenameSection(old_name, new_name);
  document.Save(path);
}

}  // namespace voxmere
