// SPDX-License-Identifier: GPL-3.0-or-later
// The Pronunciation page's buttons and the word editor, on a fake window.
#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <functional>
#include <utility>
#include <vector>

#include "fakes/fake_desktop_services.h"
#include "fakes/fake_message_boxes.h"
#include "pronunciation/pronunciation_page_actions.h"
#include "pronunciation/word_editor.h"
#include "pronunciation/words_file.h"

namespace voxmere {
namespace {

using Kind = MessageBoxes::Kind;

// The dialog: while "shown" it runs what the test's user does, then it is
// closed, whether the editor closed it or not (the close box).
class FakeWordEditorShell : public WordEditorShell {
 public:
  void ShowModal() override {
    ++shown;
    closed = false;
    if (user) user();
  }
  void Close() override { closed = true; }
  QObject* Window() override { return &window; }

  std::function<void()> user;
  int shown = 0;
  bool closed = false;
  QObject window;
};

class WordEditingTest : public ::testing::Test {
 protected:
  WordEditingTest() { editor_.AttachShell(&shell_); }

  QString Path() const { return dir_.filePath("words.ini"); }
  QByteArray FileBytes() const {
    QFile file(Path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
  }
  void Fill(PronunciationTable table) {
    page_.Table() = std::move(table);
    page_.WordsTable().Refresh();
  }
  // The user types into the editor and presses the action button.
  void Type(const QString& word, const QString& pronunciation, bool case_sensitive) {
    shell_.user = [=, this] {
      editor_.word_box.SetText(word);
      editor_.pronunciation_box.SetText(pronunciation);
      editor_.case_sensitive.SetChecked(case_sensitive);
      editor_.ActionClicked();
    };
  }
  QStringList Words() const {
    QStringList words;
    for (const PronunciationEntry& entry : page_.Table()) words << entry.word;
    return words;
  }
  int Selected() { return page_.WordsTable().SelectedRow(); }

  QTemporaryDir dir_;
  PronunciationPage page_;
  FakeMessageBoxes messages_;
  FakeHelpViewer help_;
  QStringList spoken_;
  DefaultVoiceSpeech speak_ = [this](const QString& text) { spoken_ << text; };
  WordEditor editor_{page_, Path(), messages_, help_, speak_};
  PronunciationPageActions actions_{page_, editor_, Path(), messages_, speak_};
  FakeWordEditorShell shell_;
};

TEST_F(WordEditingTest, AddChecksTheWordThenAppendsAndSaves) {
  struct Case {
    const char* word;
    const char* pronunciation;
    bool case_sensitive;
    const char* message;  // empty: added
  };
  const std::vector<Case> cases = {
      {"", "nothing", false, "Please, type some word for pronunciation correction."},
      {"apple", "apfel", false,
       "Sorry, but pronunciation correction for \"apple\"  already exists."},
      {"Apple", "company", true, ""},
      {"APPLE", "", false, ""},  // an empty pronunciation is allowed
      {"   ", "blank", false, ""},
      // A pronunciation holding its own word: the corrections pass ends on it.
      {"no", "no no", false, ""},
      {"a###***###b", "x", false, "cannot be stored"},
      {"c", "d###***", false, "cannot be stored"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    Fill({{"apple", "a pull", "No"}});
    QFile::remove(Path());
    messages_.Clear();
    Type(c.word, c.pronunciation, c.case_sensitive);
    actions_.AddClicked();
    EXPECT_EQ(editor_.CurrentMode(), WordEditor::Mode::kAdd);
    EXPECT_EQ(editor_.ActionCaption(), "Add word");
    if (QString(c.message).isEmpty()) {
      EXPECT_TRUE(messages_.Boxes().empty());
      EXPECT_TRUE(shell_.closed);
      ASSERT_EQ(page_.Table().size(), 2);
      const PronunciationEntry added{c.word, c.pronunciation, c.case_sensitive ? "Yes" : "No"};
      EXPECT_EQ(page_.Table().last(), added);
      EXPECT_EQ(FileBytes(), "apple###***###a pull###***###No\r\n" + QString(c.word).toUtf8() +
                                 "###***###" + c.pronunciation + "###***###" +
                                 added.case_sensitive.toUtf8() + "\r\n");
    } else {
      // Refused: the dialog stays open, nothing reaches table or file.
      ASSERT_EQ(messages_.Boxes().size(), 1u);
      EXPECT_EQ(messages_.Boxes()[0].kind, Kind::kInformation);
      EXPECT_TRUE(messages_.Boxes()[0].text.contains(c.message))
          << messages_.Boxes()[0].text.toStdString();
      EXPECT_EQ(messages_.Boxes()[0].parent, &shell_.window);
      EXPECT_FALSE(shell_.closed);
      EXPECT_EQ(Words(), QStringList{"apple"});
      EXPECT_EQ(FileBytes(), "(missing)");
    }
    // However the editor closed, the last row is selected.
    EXPECT_EQ(Selected(), page_.Table().size() - 1);
  }
}

TEST_F(WordEditingTest, AddOpensEmptyAndCancelSavesNothing) {
  Fill({{"a", "b", "Yes"}, {"c", "d", "No"}});
  page_.WordsTable().SelectRow(0);
  editor_.word_box.SetText("left over");
  editor_.case_sensitive.SetChecked(true);
  QSignalSpy focus(&page_.WordsTable(), &WordsTableModel::FocusRequested);
  shell_.user = [this] {
    EXPECT_EQ(editor_.word_box.Text(), "");
    EXPECT_EQ(editor_.pronunciation_box.Text(), "");
    EXPECT_FALSE(editor_.case_sensitive.Checked());
    editor_.word_box.SetText("typed");
    editor_.CancelClicked();
  };
  actions_.AddClicked();
  EXPECT_TRUE(shell_.closed);
  EXPECT_EQ(page_.Table().size(), 2);
  EXPECT_EQ(FileBytes(), "(missing)");
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(focus.size(), 1);

  // An empty table: nothing to select.
  Fill({});
  shell_.user = nullptr;
  actions_.AddClicked();
  EXPECT_EQ(Selected(), -1);
}

TEST_F(WordEditingTest, EditShowsTheRowAndReplacesItInPlace) {
  Fill({{"a", "b", "Yes"}, {"c", "d", "yes"}, {"e", "f", "No"}});
  struct Case {
    int selected;
    int edited;
    bool ticked;  // only exactly "Yes" ticks the box
  };
  for (const Case& c : {Case{-1, 0, true}, Case{1, 1, false}, Case{2, 2, false}}) {
    SCOPED_TRACE(c.selected);
    page_.WordsTable().SelectRow(c.selected);
    const PronunciationEntry before = page_.Table().at(c.edited);
    shell_.user = [&] {
      EXPECT_EQ(editor_.CurrentMode(), WordEditor::Mode::kEdit);
      EXPECT_EQ(editor_.ActionCaption(), "Save changes");
      EXPECT_EQ(editor_.EditedRow(), c.edited);
      EXPECT_EQ(editor_.word_box.Text(), before.word);
      EXPECT_EQ(editor_.pronunciation_box.Text(), before.pronunciation);
      EXPECT_EQ(editor_.case_sensitive.Checked(), c.ticked);
      editor_.CancelClicked();
    };
    actions_.EditClicked();
    EXPECT_EQ(Selected(), c.edited);
    EXPECT_EQ(page_.Table().at(c.edited), before);
  }

  // Another entry's word is accepted in edit mode; the row keeps its place.
  page_.WordsTable().SelectRow(2);
  Type("a", "z", true);
  actions_.TableDoubleClicked();
  EXPECT_TRUE(messages_.Boxes().empty());
  EXPECT_EQ(page_.Table().at(2), (PronunciationEntry{"a", "z", "Yes"}));
  EXPECT_EQ(FileBytes(),
            "a###***###b###***###Yes\r\nc###***###d###***###yes\r\na###***###z###***###Yes\r\n");
  EXPECT_EQ(Selected(), 2);

  // An empty word is refused in edit mode too.
  Type("", "z", true);
  actions_.EditClicked();
  ASSERT_EQ(messages_.Boxes().size(), 1u);
  EXPECT_EQ(page_.Table().at(2).word, "a");

  // An empty table only takes the focus.
  Fill({});
  shell_.shown = 0;
  QSignalSpy focus(&page_.WordsTable(), &WordsTableModel::FocusRequested);
  actions_.EditClicked();
  EXPECT_EQ(shell_.shown, 0);
  EXPECT_EQ(focus.size(), 1);
}

TEST_F(WordEditingTest, DeleteAsksThenMovesTheSelectionUp) {
  struct Case {
    int selected;
    MessageBoxes::Answer answer;
    QStringList left;
    int selected_after;
  };
  using Answer = MessageBoxes::Answer;
  const std::vector<Case> cases = {
      {2, Answer::kNo, {"one", "two", "three"}, 1},  // No still moves the selection
      {2, Answer::kYes, {"one", "two"}, 1},
      {0, Answer::kYes, {"two", "three"}, -1},
      {0, Answer::kNo, {"one", "two", "three"}, 0},
      {-1, Answer::kYes, {"one", "two", "three"}, -1},  // nothing selected: no question
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.selected);
    Fill({{"one", "1", "No"}, {"two", "2", "No"}, {"three", "3", "No"}});
    page_.SaveWords(Path());
    page_.WordsTable().SelectRow(c.selected);
    messages_.Clear();
    messages_.QueueAnswer(c.answer);
    actions_.DeleteClicked();
    if (c.selected >= 0) {
      ASSERT_EQ(messages_.Boxes().size(), 1u);
      EXPECT_EQ(messages_.Boxes()[0].kind, Kind::kConfirmation);
      EXPECT_EQ(messages_.Boxes()[0].text,
                "Are you sure to delete pronunciation correction for word \"" +
                    QStringList({"one", "two", "three"}).at(c.selected) + "\"?");
    } else {
      EXPECT_TRUE(messages_.Boxes().empty());
    }
    EXPECT_EQ(Words(), c.left);
    EXPECT_EQ(Selected(), c.selected_after);
    PronunciationTable saved;
    RestoreWords(Path(), saved);
    EXPECT_EQ(saved, page_.Table());
  }
}

TEST_F(WordEditingTest, DeletingTheLastEntryDeletesTheFile) {
  Fill({{"only", "once", "No"}});
  page_.SaveWords(Path());
  page_.WordsTable().SelectRow(0);
  actions_.DeleteClicked();
  EXPECT_TRUE(page_.Table().isEmpty());
  EXPECT_FALSE(QFile::exists(Path()));
}

TEST_F(WordEditingTest, TestSpeaksThePronunciationAsTypedOrSelected) {
  Fill({{"SQL", "sequel", "Yes"}, {"GUI", "gooey", "No"}});
  actions_.TestClicked();  // nothing selected
  EXPECT_TRUE(spoken_.isEmpty());
  page_.WordsTable().SelectRow(1);
  actions_.TestClicked();
  shell_.user = [this] {
    editor_.pronunciation_box.SetText("as typed");
    editor_.TestClicked();
    editor_.HelpRequested();
    editor_.CancelClicked();
  };
  actions_.AddClicked();
  EXPECT_EQ(spoken_, QStringList({"gooey", "as typed"}));
  ASSERT_EQ(help_.topics.size(), 1u);
  EXPECT_EQ(help_.topics[0], HelpTopic::kPronunciation);
  EXPECT_EQ(help_.parents[0], &shell_.window);
}

}  // namespace
}  // namespace voxmere
