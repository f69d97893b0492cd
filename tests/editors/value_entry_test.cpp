// The value-entry dialog: its integer check, its messages, and InputValue.
#include "app/scripted_dialogs.h"
#include "lang/strings.h"
#include "profiles/editor/valueentry.h"
#include "ui/editors/entervaluewnd.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Entered {
    const char* Text;
    int Value;           // when valid
    const char* Message; // "" when valid
};

const char* const Range =
    "The value you entered is not valid. Please make sure the value is between 64 and 9600!";

// The range 64..9600, as the video Configure buttons ask.
const Entered EnteredValues[] = {
    {"9600", 9600, ""},
    {"64", 64, ""},
    {"$40", 64, ""},
    {"0x40", 64, ""},
    {"  1080", 1080, ""},
    {"+128", 128, ""},
    {"12", 0, Range},
    {"9601", 0, Range},
    {"-$40", 0, Range},
    {"", 0, "The value you entered is not valid. Error in position 1."},
    {"abc", 0, "The value you entered is not valid. Error in position 1."},
    {"12 ", 0, "The value you entered is not valid. Error in position 3."},
    {"1.5", 0, "The value you entered is not valid. Error in position 2."},
    {"$", 0, "The value you entered is not valid. Error in position 2."},
    {"-", 0, "The value you entered is not valid. Error in position 2."},
    {"$4G", 0, "The value you entered is not valid. Error in position 3."},
    {"99999999999", 0, "The value you entered is not valid. Error in position 10."},
};

TEST(ValueEntry, ChecksNumberAndRange) {
    ResetStringTable();
    for (const Entered& e : EnteredValues) {
        SCOPED_TRACE(e.Text);
        const TValueCheck check = CheckEnteredValue(QString::fromLatin1(e.Text), 64, 9600);
        if (*e.Message == '\0') {
            ASSERT_TRUE(check.Value.has_value());
            EXPECT_EQ(*check.Value, e.Value);
        } else {
            EXPECT_FALSE(check.Value.has_value());
            EXPECT_EQ(check.Message, QString::fromLatin1(e.Message));
            EXPECT_EQ(check.Caption, QStringLiteral("Invalid Value"));
        }
    }
}

TEST(ValueEntry, ReadsThe32BitLimits) {
    EXPECT_EQ(ReadIntegerText(QStringLiteral("2147483647")).Value, 2147483647);
    EXPECT_EQ(ReadIntegerText(QStringLiteral("-2147483648")).Value, std::numeric_limits<int>::min());
    EXPECT_EQ(ReadIntegerText(QStringLiteral("2147483648")).ErrorPosition, 10);
    EXPECT_EQ(ReadIntegerText(QStringLiteral("$FFFFFFFF")).Value, -1);
}

TEST(ValueEntry, DialogStaysOpenOnABadValueAndConfirmsAGoodOne) {
    ResetStringTable();
    TScriptedDialogs dialogs;
    TfrmEnterValue dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Enter Vaule"));
    EXPECT_EQ(dialog.lblDisplayMessage->text(), QStringLiteral("LabelDisplayMessage"));
    EXPECT_TRUE(dialog.txtValue->text().isEmpty());
    EXPECT_FALSE(dialog.Confirmed);
    dialog.Minimum = 64;
    dialog.Maximum = 9600;
    dialog.show();

    dialog.txtValue->setText(QStringLiteral("12"));
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QString::fromLatin1(Range));
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtWarning);
    EXPECT_FALSE(dialog.Confirmed);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.txtValue->selectedText(), QStringLiteral("12"));

    dialog.txtValue->setText(QStringLiteral("$40"));
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialog.Confirmed);
    EXPECT_EQ(dialog.Value(), 64);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// Answers the next value-entry dialog that opens by typing a text and pressing a button.
void AnswerDialog(const QString& text, bool ok) {
    QTimer::singleShot(0, [text, ok] {
        auto* dialog = qobject_cast<TfrmEnterValue*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->txtValue->setText(text);
        QTest::mouseClick(ok ? dialog->btnOK : dialog->btnCancel, Qt::LeftButton);
    });
}

TEST(ValueEntry, InputValueGivesTheNumberOrTheCurrentValue) {
    ResetStringTable();
    TScriptedDialogs dialogs;
    AnswerDialog(QStringLiteral("2000"), true);
    EXPECT_EQ(InputValue(nullptr, QStringLiteral("Enter value"), QStringLiteral("Please enter video bitrate"),
                         1080, 9600, 64),
              2000);
    AnswerDialog(QStringLiteral("2000"), false);
    EXPECT_EQ(InputValue(nullptr, QStringLiteral("Enter value"), QStringLiteral("Prompt"), 1080, 9600, 64),
              1080);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

} // namespace
