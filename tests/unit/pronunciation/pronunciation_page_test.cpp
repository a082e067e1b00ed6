// SPDX-License-Identifier: GPL-3.0-or-later
#include "pronunciation/pronunciation_page.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace voxmere {
namespace {

int Alignment(const QVariant& value) { return value.toInt() & Qt::AlignHorizontal_Mask; }

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

TEST(PronunciationPageTest, ControlsStartAsDesigned) {
  PronunciationPage page;
  EXPECT_EQ(PronunciationPage::DefaultIgnoredCharacters(), QString::fromUtf8("*\\/\"`_~"));
  EXPECT_EQ(PronunciationPage::DefaultIgnoredCharacters().size(), 7);
  EXPECT_EQ(page.ignored_characters.Text(), PronunciationPage::DefaultIgnoredCharacters());
  EXPECT_EQ(page.ignored_characters.Hint(), "This characters will be ignored when reading");
  EXPECT_EQ(page.ignored_characters.objectName(), "Ignored_Characters");
  EXPECT_FALSE(page.ignore_characters.Checked());
  EXPECT_FALSE(page.use_corrections.Checked());
  EXPECT_TRUE(page.Table().isEmpty());
  EXPECT_EQ(page.WordsTable().rowCount(), 0);
}

TEST(PronunciationPageTest, TableShowsTheEntriesUnchanged) {
  PronunciationPage page;
  WordsTableModel& model = page.WordsTable();
  EXPECT_EQ(model.columnCount(), 3);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "         Word");
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Pronunciation");
  EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "Case sensitive");
  EXPECT_FALSE(model.headerData(3, Qt::Horizontal).isValid());
  EXPECT_FALSE(model.headerData(0, Qt::Vertical).isValid());

  QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
  page.Table() = {{" Dr. ", "doctor", "Yes"}, {"lol", "", "maybe"}};
  model.Refresh();
  EXPECT_EQ(resets.size(), 1);
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.data(model.index(0, 0)).toString(), " Dr. ");
  EXPECT_EQ(model.data(model.index(0, 1)).toString(), "doctor");
  EXPECT_EQ(model.data(model.index(0, 2)).toString(), "Yes");
  EXPECT_EQ(model.data(model.index(1, 1)).toString(), "");
  EXPECT_EQ(model.data(model.index(1, 2)).toString(), "maybe");
  EXPECT_FALSE(model.data(model.index(2, 0)).isValid());
  EXPECT_FALSE(model.data(model.index(0, 0), Qt::EditRole).isValid());

  // Words on the left, the rest centred.
  EXPECT_EQ(Alignment(model.data(model.index(1, 0), Qt::TextAlignmentRole)), Qt::AlignLeft);
  EXPECT_EQ(Alignment(model.data(model.index(1, 1), Qt::TextAlignmentRole)), Qt::AlignHCenter);
  EXPECT_EQ(Alignment(model.data(model.index(1, 2), Qt::TextAlignmentRole)), Qt::AlignHCenter);
}

TEST(PronunciationPageTest, RestoreAndSaveKeepTheFilesEncoding) {
  QTemporaryDir dir;
  const QString path = dir.filePath("words.ini");
  PronunciationPage page;
  QSignalSpy resets(&page.WordsTable(), &QAbstractItemModel::modelReset);

  // A missing file leaves the table as it is.
  page.Table() = {{"a", "b", "No"}};
  page.RestoreWords(path);
  EXPECT_EQ(page.Table().size(), 1);

  // A file of the Windows program, in Windows-1252.
  WriteFile(path, "caf\xE9###***###kafe###***###No\r\n");
  resets.clear();
  page.RestoreWords(path);
  ASSERT_EQ(page.Table().size(), 1);
  EXPECT_EQ(page.Table()[0].word, QString::fromUtf8("caf\u00e9"));
  EXPECT_EQ(resets.size(), 1);
  EXPECT_EQ(page.WordsTable().rowCount(), 1);
  EXPECT_EQ(page.WordsTable().data(page.WordsTable().index(0, 0)).toString(),
            QString::fromUtf8("caf\u00e9"));

  // Saved back in Windows-1252, with the new entry.
  page.Table().append({QString::fromUtf8("na\u00efve"), "nigh eve", "Yes"});
  page.SaveWords(path);
  EXPECT_EQ(
      FileBytes(path),
      QByteArray("caf\xE9###***###kafe###***###No\r\nna\xEFve###***###nigh eve###***###Yes\r\n"));

  // A UTF-8 file stays UTF-8.
  WriteFile(path, "\xC3\xA9t\xC3\xA9###***###summer###***###Yes\r\n");
  page.RestoreWords(path);
  page.SaveWords(path);
  EXPECT_EQ(FileBytes(path), QByteArray("\xC3\xA9t\xC3\xA9###***###summer###***###Yes\r\n"));
}

}  // namespace
}  // namespace voxmere
