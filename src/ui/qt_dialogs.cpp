#include "ui/qt_dialogs.h"

#include "app/utils.h"
#include "lang/strings.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include <algorithm>
#include <array>
#include <memory>

namespace {

struct ButtonKind {
    TMsgDlgBtn button;
    const char* text; // caption when the caller gives none
    int result;
};

// The toolkit's fixed button order.
constexpr std::array<ButtonKind, 11> kButtons = {{
    {TMsgDlgBtn::mbYes, "&Yes", mrYes},
    {TMsgDlgBtn::mbNo, "&No", mrNo},
    {TMsgDlgBtn::mbOK, "OK", mrOk},
    {TMsgDlgBtn::mbCancel, "Cancel", mrCancel},
    {TMsgDlgBtn::mbAbort, "&Abort", mrAbort},
    {TMsgDlgBtn::mbRetry, "&Retry", mrRetry},
    {TMsgDlgBtn::mbIgnore, "&Ignore", mrIgnore},
    {TMsgDlgBtn::mbAll, "&All", mrAll},
    {TMsgDlgBtn::mbNoToAll, "N&o to All", mrNoToAll},
    {TMsgDlgBtn::mbYesToAll, "Yes to &All", mrYesToAll},
    {TMsgDlgBtn::mbHelp, "&Help", mrNone},
}};

// A button's caption when the caller gives none: the language's text where the string table has
// one, so that a box follows the language switch.
QString defaultCaption(const ButtonKind& kind) {
    switch (kind.button) {
    case TMsgDlgBtn::mbYes:
        return Str(Ids::IDS_MESSAGE_BUTTON_Yes);
    case TMsgDlgBtn::mbNo:
        return Str(Ids::IDS_MESSAGE_BUTTON_No);
    case TMsgDlgBtn::mbOK:
        return Str(Ids::IDS_OK);
    case TMsgDlgBtn::mbCancel:
        return Str(Ids::IDS_Cancel);
    case TMsgDlgBtn::mbYesToAll:
        return Str(Ids::IDS_MESSAGE_BUTTON_YesToAll);
    default:
        return QString::fromUtf8(kind.text);
    }
}

QMessageBox::Icon iconOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning:
        return QMessageBox::Warning;
    case TMsgDlgType::mtError:
        return QMessageBox::Critical;
    case TMsgDlgType::mtInformation:
        return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation:
        return QMessageBox::Question;
    case TMsgDlgType::mtCustom:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

TQtDialogs::TQtDialogs() {
    SetDialogs(this);
}

TQtDialogs::~TQtDialogs() {
    if (m_busy)
        QApplication::restoreOverrideCursor();
    SetDialogs(nullptr);
}

QWidget* TQtDialogs::owner() const {
    return m_owner ? m_owner.data() : QApplication::activeWindow();
}

QMessageBox* TQtDialogs::BuildBox(QWidget* owner, const QString& message, const QString& title,
                                  TMsgDlgType type, const QStringList& captions, TMsgDlgButtons buttons,
                                  bool sizeButtons, TMsgDlgBtn defaultButton) {
    auto* box = new QMessageBox(owner);
    box->setIcon(iconOf(type));
    box->setWindowTitle(title);
    box->setText(message);
    box->setTextFormat(Qt::PlainText);

    QList<QPushButton*> made;
    QPushButton* byDefault = nullptr;
    for (const ButtonKind& kind : kButtons) {
        if (!HasButton(buttons, kind.button))
            continue;
        const QString caption =
            made.size() < captions.size() ? captions.at(made.size()) : defaultCaption(kind);
        // One role for all keeps the buttons in the toolkit's order on every desktop.
        QPushButton* button = box->addButton(caption, QMessageBox::ActionRole);
        button->setProperty("modalResult", kind.result);
        if (kind.button == TMsgDlgBtn::mbCancel)
            box->setEscapeButton(button);
        if (kind.button == defaultButton)
            byDefault = button;
        made << button;
    }
    if (made.isEmpty()) {
        QPushButton* ok = box->addButton(Str(Ids::IDS_OK), QMessageBox::ActionRole);
        ok->setProperty("modalResult", int(mrOk));
        made << ok;
    }
    box->setDefaultButton(byDefault ? byDefault : made.first());

    if (sizeButtons) {
        const QFontMetrics metrics(box->font());
        int width = 88;
        for (QPushButton* b : made)
            width = std::max(width, metrics.horizontalAdvance(b->text().remove(QLatin1Char('&'))) + 16);
        for (QPushButton* b : made)
            b->setFixedWidth(width);
        const int boxWidth = (width + 12) * int(made.size()) + 32;
        if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
            grid->addItem(new QSpacerItem(boxWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                          grid->rowCount(), 0, 1, grid->columnCount());
        if (auto* row = box->findChild<QDialogButtonBox*>())
            row->setCenterButtons(true);
    }
    return box;
}

int TQtDialogs::run(const QString& message, const QString& title, TMsgDlgType type,
                    const QStringList& captions, TMsgDlgButtons buttons, bool sizeButtons,
                    TMsgDlgBtn defaultButton, const QString& details) {
    try {
        std::unique_ptr<QMessageBox> box(
            BuildBox(owner(), message, title, type, captions, buttons, sizeButtons, defaultButton));
        if (!details.isEmpty()) {
            box->setDetailedText(details);
            // Wide enough for a path and an engine line side by side with the text.
            if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
                grid->addItem(new QSpacerItem(520, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                              grid->rowCount(), 0, 1, grid->columnCount());
        }
        QApplication::beep();
        box->exec();
        // The close box (or Escape without a Cancel button) gives Cancel's result.
        const QAbstractButton* clicked = box->clickedButton();
        if (!clicked || !clicked->property("modalResult").isValid())
            return mrCancel;
        return clicked->property("modalResult").toInt();
    } catch (...) {
        return mrNone;
    }
}

int TQtDialogs::MessageBox(const QString& text, const QString& caption, TMsgDlgType type,
                           TMsgDlgButtons buttons) {
    return run(text, caption, type, {}, buttons, false);
}

int TQtDialogs::MessageBoxDetails(const QString& text, const QString& caption, TMsgDlgType type,
                                  TMsgDlgButtons buttons, const QString& details) {
    return run(text, caption, type, {}, buttons, false, TMsgDlgBtn::mbYes, details);
}

int TQtDialogs::MessageDlgCaptions(const QString& message, const QString& title, TMsgDlgType type,
                                   const QStringList& captions, TMsgDlgButtons buttons,
                                   TMsgDlgBtn defaultButton) {
    return run(message, title, type, captions, buttons, true, defaultButton);
}

// Every picker opens in an existing folder: given a missing one, Qt's dialog would open in its
// parent with the missing name typed in the name field.
bool TQtDialogs::BrowseForFolder(QString& folder, const QString& title, const QString& root) {
    const QString start = NearestExistingFolder(TrimControls(folder).isEmpty() ? root : folder);
    const QString chosen =
        QFileDialog::getExistingDirectory(owner(), title, start, QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return false;
    folder = chosen;
    return true;
}

QStringList TQtDialogs::GetOpenFileNames(const QString& title, const QString& dir, const QString& filter) {
    return QFileDialog::getOpenFileNames(owner(), title, NearestExistingFolder(dir), filter);
}

QString TQtDialogs::GetSaveFileName(const QString& title, const QString& fileName, const QString& filter) {
    const QFileInfo start(fileName);
    return QFileDialog::getSaveFileName(
        owner(), title, QDir(NearestExistingFolder(start.path())).filePath(start.fileName()), filter);
}

bool TQtDialogs::ShellOpen(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void TQtDialogs::SetBusyCursor(bool busy) {
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}
