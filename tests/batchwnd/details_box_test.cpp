// The Qt message box of the end report carries the failures as its unfoldable details.
#include "ui/qt_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(DetailsBox, ShowsTheDetailsAndReturnsTheButtonsResult) {
    TQtDialogs dialogs;
    QString details, text, title;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        details = box->detailedText();
        text = box->text();
        title = box->windowTitle();
        for (QAbstractButton* b : box->buttons()) {
            if (b->property("modalResult").toInt() == mrOk)
                b->click();
        }
    });
    poll.start();
    const int result = dialogs.MessageBoxDetails(
        QStringLiteral("At least one error occurred."), QStringLiteral("Oops"), TMsgDlgType::mtWarning,
        static_cast<unsigned>(TMsgDlgBtn::mbOK), QStringLiteral("/in/b.mkv\n    Could not open codec"));
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(text, QStringLiteral("At least one error occurred."));
    EXPECT_EQ(title, QStringLiteral("Oops"));
    EXPECT_EQ(details, QStringLiteral("/in/b.mkv\n    Could not open codec"));
}

} // namespace
