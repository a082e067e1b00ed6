// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_file.h"

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
  return IniDocument::Load(path_).ReadValue(section, key);
}

QString IniFile::ReadString(QStringView section, QStringView key,
                            const QString& default_value) const {
  return IniDocument::Load(path_).ReadString(section, key, default_value);
}

int IniFile::ReadInteger(QStringView section, QStringView key, int default_value) const {
  return IniDocument::Load(path_).ReadInteger(section, key, default_value);
}

bool IniFile::ReadBool(QStringView section, QStringView key, bool default_value) const {
  return IniDocument::Load(path_).ReadBool(section, key, default_value);
}

QStringList IniFile::KeyNames(QStringView section) const {
  return IniDocument::Load(path_).KeyNames(section);
}

bool IniFile::HasKeys(QStringView section) const {
  return IniDocument::Load(path_).HasKeys(section);
}

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
  IniDocument document = IniDocument::Load(path_);
  change(document);
  document.Save(path_);
}

void IniFile::DeleteKey(QStringView section, QStringView key) const {
  IniDocument document = IniDocument::Load(path_);
  if (document.DeleteKey(section, key)) document.Save(path_);
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
