#pragma once
// The output chooser: format, profile and output folder. The main window creates it at the first
// "Output Setting" and shows the same one again at every later one, so that it opens with the
// choice in use in this session; it shows without blocking while the main window is disabled, and
// OK or Cancel hides it again (it stays alive and keeps serving batches). Cancel puts back the
// choice it opened with.
#include "profiles/catalogue.h"

#include <QWidget>

#include <array>
#include <functional>

class QAction;
class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QToolButton;
class IProfileForms;
struct TProfileListChange;

class TfrmConvert : public QWidget {
    Q_OBJECT
  public:
    // Runs the opening steps: the format and folder in memory (Options.OutputFormat, AVI when it
    // is no format, and Options.LastOutputOpenDir), captions, profile folders and lists.
    explicit TfrmConvert(QWidget* owner);
    ~TfrmConvert() override;

    // The current format index (Options.OutputFormat) and the text of its profile list.
    int CurrentFormat() const;
    QString CurrentProfile() const;
    // The folder field as typed (users trim it, except the open-destination action).
    QString OutputFolderText() const;
    // The folder field trimmed: empty asks nothing and refuses; a missing folder is created on
    // request. Messages go through the dialogs interface.
    bool CheckOutputFolder();
    // The options text of the current format and profile, built from the profile on disk.
    QString GetProfileOptions() const;
    // Re-applies every caption from the string table.
    void ApplyCaptions();
    // After a language switch: the captions, and the profile lists refilled from the new
    // language's profile folders, each showing the new language's copy of the profile it showed
    // (same name, else same settings, else the first).
    void ApplyLanguage();

  signals:
    // A format was chosen: the main window shows formatCaption and profileText in its labels.
    void formatChosen(const QString& formatCaption, const QString& profileText);
    // OK: the main window shows the trimmed folder and enables itself.
    void accepted(const QString& folder);
    // Cancel: the choice the chooser opened with is back (formatChosen has told the main window);
    // the main window enables itself.
    void cancelled();

    // formatChosen also reaches the main window when the chooser first shows (the opening format),
    // with OK (the profile then current in the list) and with Cancel (the opening choice), so its
    // labels show what a batch uses.

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildFormats();
    void buildProfileRow(QGridLayout* fields);
    void buildFolderRow(QGridLayout* fields);
    void buildButtons();
    void buildActions();
    void buildTabOrder();
    void chooseFormat(int formatIndex);
    void fillProfileList(int formatIndex, const QString& select);
    void showProfileMenu();
    void browse();
    // Runs a profile action on the current format and refills its list as the action says.
    void runProfileAction(const std::function<TProfileListChange(IProfileForms&)>& action);
    void accept();
    void cancel();
    // Puts back the choice taken when the chooser was shown: format, each format's profile text
    // (a profile deleted or renamed meanwhile stays as its action left the list), folder field and
    // stored folder.
    void restoreOpeningChoice();
    void notifyFormat();
    QString formatCaption(int formatIndex) const;

    int m_format = 0;
    // The choice when the chooser was last shown.
    struct TOpeningChoice {
        int format = 0;
        std::array<QString, FormatCount> profiles{};
        std::array<bool, FormatCount> listed{}; // the profile was an entry of its list (not typed)
        QString folderText;
        QString storedFolder;
    };
    TOpeningChoice m_opening;
    // The profile folders the lists were filled from (the language's, when they were filled).
    std::array<QString, FormatCount> m_listFolders{};
    bool m_notifiedOnce = false;

    std::array<QAction*, FormatCount> m_formatActions{};
    std::array<QRadioButton*, FormatCount> m_radios{}; // nullptr for the formats of the Others menu
    std::array<QAction*, FormatCount> m_menuItems{};   // nullptr for the radio formats
    std::array<QComboBox*, FormatCount> m_lists{};
    QButtonGroup* m_radioGroup = nullptr;
    QToolButton* btnOther = nullptr;
    QMenu* mnuOthers = nullptr;
    QAction* actOthers = nullptr;
    QLabel* lblProfile = nullptr;
    QStackedWidget* m_listStack = nullptr;
    QToolButton* btnEdit = nullptr;
    QToolButton* btnProfile = nullptr;
    QMenu* mnuProfileAdditional = nullptr;
    QAction* miAddNewOne = nullptr;
    QAction* miDelete2 = nullptr;
    QAction* miRename = nullptr;
    QLabel* lblOutputDir = nullptr;
    QLineEdit* txtOutputDir = nullptr;
    QPushButton* btnOutputDir = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QAction* actBrowse = nullptr;
    QAction* actEditProfile = nullptr;
    QAction* actAddNewProfile = nullptr;
    QAction* actRenameProfile = nullptr;
    QAction* actDeleteProfile = nullptr;
    QAction* actCancel = nullptr;
};
