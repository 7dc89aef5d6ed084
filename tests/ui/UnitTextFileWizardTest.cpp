// The "Textfile Import" wizard, offscreen, driven through its pages: a CSV file
// chosen and its layout guessed, the fields re-read as the settings change,
// the matches and new names previewed, the script it makes; files that are
// missing, empty or not text; joining a script that already has steps.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "engine/UnitScriptActions.h"
#include "support/UnitRenameRunFixture.h"
#include "ui/UnitFileListModel.h"
#include "ui/UnitFrmMain.h"
#include "ui/UnitQtText.h"
#include "ui/UnitTextFileWizard.h"
#include "ui/UnitWindowTestBase.h"
#include "ui/UnitWindowTestSupport.h"

namespace {

QStringList Headers(const QTableWidget& grid) {
  QStringList headers;
  for (int c = 0; c < grid.columnCount(); ++c) headers << grid.horizontalHeaderItem(c)->text();
  return headers;
}

QStringList Column(const QTableWidget& grid, int column) {
  QStringList cells;
  for (int r = 0; r < grid.rowCount(); ++r) cells << grid.item(r, column)->text();
  return cells;
}

template <typename T>
T& Child(QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) throw std::runtime_error(name);
  return *child;
}

// Runs `drive` on the wizard once it shows; a wizard still open afterwards
// (a failed check) is cancelled, so the test cannot hang.
void DriveNextWizard(std::function<void(TFrmWizardTextfile&)> drive) {
  WithNextDialog([drive](QWidget& dialog) {
    auto* wizard = qobject_cast<TFrmWizardTextfile*>(&dialog);
    ASSERT_NE(wizard, nullptr);
    drive(*wizard);
    if (wizard->isVisible()) wizard->reject();
  });
}

class TTextFileWizardTest : public TWindowTestBase {
 protected:
  TTextFileWizardTest() {
    Populate(*fs, root + u"/f", {{u"a.jpg", u""}, {u"b.jpg", u""}, {u"c.jpg", u""}});
    // A header line, then the files out of list order.
    (void)fs->WriteWholeFile(root + u"/names.csv",
                             "file,title,year\r\na.jpg,Harbour,2001\r\nc.jpg,\"Sun, set\",2003\r\n"
                             "b.jpg,Square,2002\r\n");
  }

  void Open() {
    int code = 0;
    ASSERT_TRUE(window.Start({root + u"/f"}, code));
    window.show();
    ASSERT_EQ(window.ListModel().rowCount(), 3);
  }

  void OpenWizard() {
    QAction* item = FindMenuItem(window, QStringLiteral("Textfile Import..."));
    ASSERT_NE(item, nullptr);
    item->trigger();
  }

  TFrmMain window{services};
};

TEST_F(TTextFileWizardTest, ACsvFileChosenAColumnPickedMakesTheScript) {
  Open();
  const QString csv = ToQt(root + u"/names.csv");
  DriveNextWizard([&](TFrmWizardTextfile& w) {
    QAbstractButton& next = *w.button(QWizard::NextButton);
    QAbstractButton& finish = *w.button(QWizard::FinishButton);
    EXPECT_FALSE(w.button(QWizard::BackButton)->isEnabled());
    EXPECT_FALSE(finish.isEnabled());
    w.next();
    EXPECT_FALSE(next.isEnabled()) << "no file named yet";
    w.ChooseFile(csv);
    EXPECT_TRUE(next.isEnabled());
    EXPECT_TRUE(Child<QLineEdit>(w, "txtTName").text() == csv);
    // Commas on lines 2 and 3, and every listed name occurs in the file.
    EXPECT_TRUE(Child<QCheckBox>(w, "cbTDelim").isChecked());
    EXPECT_EQ(Child<QLineEdit>(w, "txtTDelim").text(), QStringLiteral(","));
    EXPECT_TRUE(Child<QRadioButton>(w, "rbTFind").isChecked());

    w.next();
    auto& fields = Child<QTableWidget>(w, "gridFields");
    EXPECT_EQ(Headers(fields), QStringList({"?text1?", "?text2?", "?text3?"}));
    EXPECT_EQ(Column(fields, 0), QStringList({"file", "a.jpg", "c.jpg"}));
    Child<QSpinBox>(w, "txtTSkip").setValue(1);
    EXPECT_EQ(Column(fields, 1), QStringList({"Harbour", "Sun, set", "Square"}));
    Child<QLineEdit>(w, "txtTDelim").setText(QStringLiteral(";"));
    EXPECT_EQ(Headers(fields), QStringList({"?text1?"})) << "re-read under the new delimiter";
    Child<QLineEdit>(w, "txtTDelim").setText(QStringLiteral(","));
    Child<QCheckBox>(w, "cbTDelim").setChecked(false);
    EXPECT_EQ(Headers(fields), QStringList({"?text1?"}));
    EXPECT_EQ(Column(fields, 0), QStringList({"a.jpg,Harbour,2001", "c.jpg,\"Sun, set\",2003"}));
    Child<QCheckBox>(w, "cbTDelim").setChecked(true);

    w.next();
    auto& matches = Child<QTableWidget>(w, "gridMatches");
    EXPECT_EQ(Headers(matches), QStringList({"Filname", "Line Number", "Line"}));
    EXPECT_EQ(Column(matches, 1), QStringList({"1", "3", "2"}));
    EXPECT_EQ(matches.item(0, 2)->text(), QStringLiteral("\"a.jpg Harbour 2001\""));
    Child<QComboBox>(w, "cbxSearchWith").setCurrentIndex(2);
    auto& find = Child<QLineEdit>(w, "txtTFind");
    EXPECT_TRUE(find.isVisibleTo(&w));
    find.setText(QStringLiteral("?cfo?-none"));
    emit find.textEdited(find.text());
    EXPECT_EQ(Column(matches, 1), QStringList({"--", "--", "--"}));
    Child<QRadioButton>(w, "rbTMatch").setChecked(true);
    EXPECT_EQ(Column(matches, 1), QStringList({"1", "2", "3"}));
    Child<QRadioButton>(w, "rbTFind").setChecked(true);
    Child<QComboBox>(w, "cbxSearchWith").setCurrentIndex(0);

    w.next();
    EXPECT_TRUE(finish.isEnabled());
    EXPECT_FALSE(next.isEnabled());
    Child<QComboBox>(w, "cbxColumn").setCurrentIndex(1);
    auto& names = Child<QTableWidget>(w, "gridNames");
    EXPECT_EQ(Headers(names), QStringList({"Filename", "New Name"}));
    EXPECT_EQ(Column(names, 1), QStringList({"Harboura.jpg", "Squareb.jpg", "Sun, setc.jpg"}));
    finish.click();
  });
  OpenWizard();

  TSession& session = window.App().session;
  EXPECT_EQ(session.model.textFileName, root + u"/names.csv");
  EXPECT_EQ(session.model.textSkip, u"1");
  EXPECT_EQ(session.model.textMatch, TTextMatch::BySearch);
  ASSERT_EQ(session.script.Count(), 1) << "a script of disabled steps is replaced unasked";
  const TScriptStep& step = session.script.Step(0);
  EXPECT_EQ(step.ScriptType(), TScriptType::stAddBeginningEnding);
  EXPECT_EQ(step.Text(step.FindParameter(u"txtAdd")), u"?text2?");
  EXPECT_EQ(window.ListModel().index(2, TFileListModel::kNewName).data().toString(),
            QStringLiteral("Sun, setc.jpg"));
}

TEST_F(TTextFileWizardTest, FilesThatAreMissingEmptyOrNotTextGiveAMessageNotACrash) {
  Open();
  (void)fs->WriteWholeFile(root + u"/empty.txt", "");
  (void)fs->WriteWholeFile(root + u"/binary.dat", std::string("\x00\xff\xfe\x80,\x00\n\x01\x02", 9));
  struct TCase {
    std::u16string file;
    bool next;          // "Next >" enabled on the file page
    const char* shown;  // a part of the message the file page shows
  } const cases[] = {
      {u"/missing.csv", false, "missing.csv: No such file"},
      {u"/f", false, "f: Is a directory"},
      {u"/empty.txt", true, "holds no lines"},
      {u"/binary.dat", true, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(ToQt(c.file).toStdString());
    TFrmWizardTextfile wizard(window.App().session, &window);
    wizard.show();
    wizard.next();
    wizard.ChooseFile(ToQt(root + c.file));
    EXPECT_EQ(wizard.button(QWizard::NextButton)->isEnabled(), c.next);
    const QString shown = Child<QLabel>(wizard, "fileStatus").text();
    EXPECT_TRUE(shown.contains(QString::fromLatin1(c.shown))) << shown.toStdString();
    if (!c.next) continue;
    wizard.next();
    wizard.next();
    wizard.next();
    EXPECT_TRUE(wizard.button(QWizard::FinishButton)->isEnabled());
  }
}

TEST_F(TTextFileWizardTest, FinishAsksBeforeTouchingAScriptWithStepsAndCanJoinIt) {
  Open();
  TSession& session = window.App().session;
  session.script.NewScriptControl(TScriptType::stAddBeginningEnding);
  const int before = session.script.Count();
  DriveNextWizard([&](TFrmWizardTextfile& w) {
    w.next();
    w.ChooseFile(ToQt(root + u"/names.csv"));
    w.next();
    w.next();
    w.next();
    Child<QRadioButton>(w, "rbReplaceScript").click();
    ASSERT_EQ(w.ScriptKind(), TImportScript::ReplaceName);
    AnswerNextDialog("btnAddStep");
    w.button(QWizard::FinishButton)->click();
  });
  OpenWizard();
  ASSERT_EQ(session.script.Count(), before + 1) << "the step is added after the ones there";
  const TScriptStep& step = session.script.Step(before);
  EXPECT_EQ(step.ScriptType(), TScriptType::stReplaceNameExtension);
  EXPECT_EQ(step.Text(step.FindParameter(u"txtReplaceWith")), u"?text1?");
  EXPECT_EQ(step.Choice(step.FindParameter(u"cbxReplacePart")), 0);
}

}  // namespace
