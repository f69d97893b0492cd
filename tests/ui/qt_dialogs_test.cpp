#include "ui/qt_dialogs.h"

#include "lang/strings.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// The overwrite question's buttons and their captions.
const QStringList kOverwriteCaptions{QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("Cancel"),
                                     QStringLiteral("Yes To All")};
constexpr TMsgDlgButtons kOverwriteButtons =
    TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo | TMsgDlgBtn::mbCancel | TMsgDlgBtn::mbYesToAll;

QList<QPushButton*> boxButtons(QMessageBox& box) {
    QList<QPushButton*> buttons;
    for (QAbstractButton* b : box.buttons())
        buttons << qobject_cast<QPushButton*>(b);
    return buttons;
}

// Runs act on the next modal window once it is shown.
void whenModalShown(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget())
            act(modal);
        else
            whenModalShown(std::move(act));
    });
}

// Presses the button with the given text of the next modal box.
void pressWhenShown(const QString& text) {
    whenModalShown([text](QWidget* modal) {
        for (QAbstractButton* b : qobject_cast<QMessageBox*>(modal)->buttons()) {
            if (b->text() == text)
                b->click();
        }
    });
}

// Presses Enter in the next modal box.
void enterWhenShown() {
    whenModalShown([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });
}

// What the next file or folder picker showed when it opened; it is then cancelled.
struct PickerSeen {
    QString folder;
    QString name;
};
void inspectPickerWhenShown(PickerSeen* seen) {
    whenModalShown([seen](QWidget* modal) {
        auto* picker = qobject_cast<QFileDialog*>(modal);
        seen->folder = picker->directory().absolutePath();
        seen->name = picker->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        picker->reject();
    });
}

void closeWhenShown() {
    whenModalShown([](QWidget* modal) { modal->close(); });
}

} // namespace

TEST(QtDialogs, CaptionBoxOrdersSizesAndMapsButtons) {
    const QStringList captions{QStringLiteral("Stop now"), QStringLiteral("When done"),
                               QStringLiteral("Cancel the whole thing, please")};
    std::unique_ptr<QMessageBox> box(TQtDialogs::BuildBox(
        nullptr, QStringLiteral("Stop?"), QStringLiteral("Question"), TMsgDlgType::mtConfirmation, captions,
        TMsgDlgBtn::mbCancel | TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo, true));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Question"));
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    const QList<QPushButton*> buttons = boxButtons(*box);
    ASSERT_EQ(buttons.size(), 3);
    // Yes, No, Cancel: the toolkit's order, whatever order the set was written in.
    const int results[] = {mrYes, mrNo, mrCancel};
    const QFontMetrics metrics(box->font());
    const int width = std::max(88, metrics.horizontalAdvance(captions[2]) + 16);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(buttons[i]->text(), captions[i]);
        EXPECT_EQ(buttons[i]->property("modalResult").toInt(), results[i]);
        EXPECT_EQ(buttons[i]->width(), width);
    }
    EXPECT_EQ(box->escapeButton(), buttons[2]);
    box->show();
    EXPECT_GE(box->width(), (width + 12) * 3 + 32);
}

// Buttons without a caption of the caller's read the language's texts: a box follows the language.
TEST(QtDialogs, ButtonsWithoutCaptionsReadTheLanguage) {
    SetStr(Ids::IDS_MESSAGE_BUTTON_Yes, QStringLiteral("Ja"));
    SetStr(Ids::IDS_MESSAGE_BUTTON_No, QStringLiteral("Nein"));
    SetStr(Ids::IDS_Cancel, QStringLiteral("Abbrechen"));
    SetStr(Ids::IDS_OK, QStringLiteral("Gut"));
    std::unique_ptr<QMessageBox> question(
        TQtDialogs::BuildBox(nullptr, QStringLiteral("Create?"), QString(), TMsgDlgType::mtConfirmation, {},
                             TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo | TMsgDlgBtn::mbCancel, false));
    QStringList texts;
    for (QPushButton* b : boxButtons(*question))
        texts << b->text();
    EXPECT_EQ(texts,
              (QStringList{QStringLiteral("Ja"), QStringLiteral("Nein"), QStringLiteral("Abbrechen")}));
    std::unique_ptr<QMessageBox> notice(TQtDialogs::BuildBox(nullptr, QStringLiteral("Done"), QString(),
                                                             TMsgDlgType::mtInformation, {}, 0, false));
    ASSERT_EQ(boxButtons(*notice).size(), 1);
    EXPECT_EQ(boxButtons(*notice).first()->text(), QStringLiteral("Gut"));
    ResetStringTable();
}

TEST(QtDialogs, ResultsAreThoseOfTheButtonKinds) {
    TQtDialogs dialogs;
    const QStringList& captions = kOverwriteCaptions;
    const TMsgDlgButtons set = kOverwriteButtons;
    pressWhenShown(QStringLiteral("Yes To All"));
    EXPECT_EQ(dialogs.MessageDlgCaptions(QStringLiteral("Overwrite?"), QStringLiteral("Overwrite file?"),
                                         TMsgDlgType::mtConfirmation, captions, set, TMsgDlgBtn::mbNo),
              mrYesToAll);
    pressWhenShown(QStringLiteral("No"));
    EXPECT_EQ(dialogs.MessageDlgCaptions(QStringLiteral("Overwrite?"), QString(), TMsgDlgType::mtWarning,
                                         captions, set, TMsgDlgBtn::mbNo),
              mrNo);
    closeWhenShown();
    EXPECT_EQ(dialogs.MessageDlgCaptions(QStringLiteral("Overwrite?"), QString(), TMsgDlgType::mtWarning,
                                         captions, set, TMsgDlgBtn::mbNo),
              mrCancel);
    pressWhenShown(QStringLiteral("OK"));
    EXPECT_EQ(dialogs.MessageBox(QStringLiteral("Done"), QStringLiteral("Info"), TMsgDlgType::mtInformation,
                                 static_cast<unsigned>(TMsgDlgBtn::mbOK)),
              mrOk);
}

// Enter presses the default button the caller named: an overwrite question answers No to it. A
// default the set lacks falls back to the first button.
TEST(QtDialogs, EnterPressesTheNamedDefaultButton) {
    TQtDialogs dialogs;
    const TMsgDlgButtons overwrite = kOverwriteButtons;
    struct Case {
        TMsgDlgButtons set;
        TMsgDlgBtn defaultButton;
        int result;
    };
    const Case cases[] = {
        {overwrite, TMsgDlgBtn::mbNo, mrNo},
        {TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo | TMsgDlgBtn::mbCancel, TMsgDlgBtn::mbNo, mrNo},
        {overwrite, TMsgDlgBtn::mbYes, mrYes},
        {TMsgDlgBtn::mbOK | TMsgDlgBtn::mbCancel, TMsgDlgBtn::mbNo, mrOk},
    };
    for (const Case& c : cases) {
        enterWhenShown();
        EXPECT_EQ(dialogs.MessageDlgCaptions(QStringLiteral("File exists."),
                                             QStringLiteral("Overwrite file?"), TMsgDlgType::mtConfirmation,
                                             kOverwriteCaptions, c.set, c.defaultButton),
                  c.result);
    }
}

// Each picker given a folder that is gone opens in the nearest folder that exists, with nothing but
// the save dialog's file name in its name field.
TEST(QtDialogs, PickersOpenInTheNearestExistingFolder) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("gone/Documents"));
    TQtDialogs dialogs;
    PickerSeen open, browse, save;
    inspectPickerWhenShown(&open);
    EXPECT_TRUE(dialogs.GetOpenFileNames(QStringLiteral("Add Files"), missing, QString()).isEmpty());
    QString folder = missing;
    inspectPickerWhenShown(&browse);
    EXPECT_FALSE(dialogs.BrowseForFolder(folder, QStringLiteral("Pick"), QString()));
    EXPECT_EQ(folder, missing);
    inspectPickerWhenShown(&save);
    EXPECT_TRUE(
        dialogs.GetSaveFileName(QStringLiteral("Save"), missing + QStringLiteral("/info.txt"), QString())
            .isEmpty());
    for (const PickerSeen* seen : {&open, &browse, &save})
        EXPECT_EQ(seen->folder, QDir(dir.path()).absolutePath());
    EXPECT_EQ(open.name, QString());
    EXPECT_EQ(browse.name, QString());
    EXPECT_EQ(save.name, QStringLiteral("info.txt"));
}

TEST(QtDialogs, BusyCursorIsOneOverride) {
    TQtDialogs dialogs;
    dialogs.SetBusyCursor(true);
    dialogs.SetBusyCursor(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    dialogs.SetBusyCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
