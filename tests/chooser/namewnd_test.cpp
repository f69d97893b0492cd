// The profile name dialog: its captions, and OK that accepts only a usable profile name.
#include "chooser_fixture.h"

#include "ui/chooser/namewnd.h"

#include <QLabel>
#include <QTest>

namespace {

class NameDialogTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetStringTable(); }
    void TearDown() override { ResetStringTable(); }

    TScriptedDialogs dialogs;
};

} // namespace

TEST_F(NameDialogTest, ShowsItsCaptionsAndTheStartingName) {
    QWidget owner;
    owner.setGeometry(100, 100, 601, 401);
    TfrmName dialog(&owner, QStringLiteral("Current"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Profile Name"));
    auto* label = child<QLabel>(dialog, "lblName");
    auto* field = child<QLineEdit>(dialog, "txtFileName");
    EXPECT_EQ(label->text(), QStringLiteral("Enter the profile name:"));
    EXPECT_EQ(label->buddy(), field);
    EXPECT_EQ(field->text(), QStringLiteral("Current"));
    EXPECT_EQ(field->selectedText(), QStringLiteral("Current"));
    EXPECT_EQ(child<QPushButton>(dialog, "btnOK")->text(), QStringLiteral("OK"));
    EXPECT_TRUE(child<QPushButton>(dialog, "btnOK")->isDefault());
    EXPECT_EQ(child<QPushButton>(dialog, "btnCancel")->text(), QStringLiteral("Cancel"));
    EXPECT_FALSE(dialog.Confirmed());
    // Centred over the owner, the half difference rounded toward zero.
    EXPECT_EQ(dialog.x(), 100 + (601 - dialog.width()) / 2);
    EXPECT_EQ(dialog.y(), 100 + (401 - dialog.height()) / 2);
}

TEST_F(NameDialogTest, OkRefusesInvalidNamesAndKeepsTheDialogOpen) {
    TfrmName dialog(nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* field = child<QLineEdit>(dialog, "txtFileName");
    auto* ok = child<QPushButton>(dialog, "btnOK");
    for (const char* bad : {"", "   ", "a/b", "x|y", ".", ".."}) {
        SCOPED_TRACE(bad);
        dialogs.shown.clear();
        dialogs.results.enqueue(mrCancel); // whichever button: the dialog stays
        field->setText(QString::fromUtf8(bad));
        field->deselect();
        QTest::mouseClick(ok, Qt::LeftButton);
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Invalid File Name"));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(dialog.Confirmed());
        EXPECT_EQ(dialog.result(), 0);
        EXPECT_TRUE(field->hasFocus());
        EXPECT_EQ(field->selectedText(), field->text());
    }
    // Valid: confirmed and closed; the name as typed, outer blanks included.
    field->setText(QStringLiteral(" Good name "));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(dialog.Confirmed());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.FileName(), QStringLiteral(" Good name "));
}

TEST_F(NameDialogTest, CancelNeverConfirms) {
    TfrmName dialog(nullptr, QStringLiteral("Valid"));
    dialog.show();
    QTest::mouseClick(child<QPushButton>(dialog, "btnCancel"), Qt::LeftButton);
    EXPECT_FALSE(dialog.Confirmed());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialogs.shown.isEmpty());
}
