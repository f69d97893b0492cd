#pragma once
// The main window, in the desktop's frame (resized, maximised, moved and closed by the window
// manager; its size and maximised state kept between starts): the source list with its buttons,
// the help button ("?") and context menus, the message of a batch's success where the desktop
// cannot show one, the media panel of the selected file, the output choice with the Output
// Setting and Convert buttons, and a status line.
#include "engine/batch_driver.h"
#include "sources/sourcelist.h"
#include "ui/chooser/convertwnd.h"
#include "ui/main/settingswnd.h"

#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QWidget>

#include <memory>

class QAction;
class QHBoxLayout;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;
class QVBoxLayout;
class TBatchDoneBar;
class TBatchWindow;
class TKelMultiLanguages;
class TMediaPanel;
class TSourceListView;
class TfrmFileInfo;

// The caption of a format as the chooser shows it ("To AVI", "To MP3"); "" for an unknown format.
QString FormatCaption(int formatIndex);
// A menu caption shown as given: "&" is no accelerator mark.
QString LiteralMenuText(const QString& text);

class TfrmMain : public QWidget {
    Q_OBJECT
  public:
    // Runs the creation steps: options, language menu, captions, title, file count.
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Sets every caption from the string table, in this window and in the windows it keeps open,
    // rebuilds the add dialog's filter and refreshes the list summary.
    void ApplyMainCaptions();
    // Shows the number of listed files in the status line.
    void UpdateSummary();
    int SourceCount() const { return m_list.Count(); }
    TSourceList& SourceList() { return m_list; }

    TKelMultiLanguages& Languages() { return *m_languages; }
    // The body above the status line; the windows' panels are added to its layout.
    QVBoxLayout* Body() const { return m_body; }
    // The add dialog's file types as last built from the language's input filters.
    const QString& OpenFilter() const { return m_openFilter; }
    // The chooser the batch reads: created at the first "Output Setting", none before.
    TfrmConvert* Chooser() const { return m_chooser; }
    // The settings the convert action hands to the batch.
    TBatchSettings ConvertSettings() const;

  public slots:
    // Adds files as a drop from the file manager does: folders skipped, each path taken whole,
    // the last row selected. Also used for files given on the command line.
    void AddDroppedFiles(const QStringList& paths);

  signals:
    // After ApplyMainCaptions (creation and every language switch), for panels that keep captions.
    void captionsApplied();

  protected:
    // The frame's close box (and the desktop's close key) is the window's close button: it saves
    // the options as Exit does. A close from inside the program (the tray's exit item) does not.
    // Either way the window's size and maximised state are kept for the next start.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildHelpButton(QHBoxLayout* row);
    void buildHelpMenu();
    void restorePlacement();
    void savePlacement() const;
    void buildLanguageMenu();
    void buildActions();
    void buildBody();
    void buildContextMenus();
    void applyListCaptions();
    void switchLanguage(QAction* item);
    void showHelpMenu();
    void showListMenu(const QPoint& pos);
    void refreshMediaPanel();
    void keepResponsive();
    void showStoredChoice();
    QAction* action(const char* name) const { return m_actions.value(QLatin1String(name)); }

    // The actions' work.
    void addFiles(bool clearFirst);
    void addPaths(const QStringList& paths, bool clearFirst);
    void playSource();
    void openDestinationFolder();
    void showSettings();
    void openOutputSetting();
    void showFileInfo();
    void convert();

    TSourceList m_list;
    std::unique_ptr<TKelMultiLanguages> m_languages;
    std::unique_ptr<TBatchWindow> m_batch;
    QToolButton* btnHelp = nullptr;
    QLabel* lblStatus = nullptr;
    QVBoxLayout* m_body = nullptr;
    QMenu* mnuHelp = nullptr;
    QMenu* mniLanguages = nullptr;
    QAction* miHelpContent = nullptr;
    QAction* miSettings2 = nullptr;
    QAction* miAbout = nullptr;
    QAction* actExit = nullptr;
    QAction* actHelpContent = nullptr;
    QList<QAction*> m_languageItems;

    TBatchDoneBar* pnlBatchDone = nullptr;
    TSourceListView* lsvFileName = nullptr;
    TMediaPanel* pnlMediaInfo = nullptr;
    QMenu* mnuListViewHaveFile = nullptr;
    QMenu* mnuListViewNoFile = nullptr;
    QLabel* lblOutput = nullptr;
    QLabel* lblOutputFormat = nullptr;
    QLabel* lblProFile = nullptr;
    QLabel* lblProfileText = nullptr;
    QLabel* lblOutputDir = nullptr;
    QLabel* lblOutputDirectory = nullptr;
    QHash<QString, QAction*> m_actions; // by object name
    QList<QAction*> m_menuItems;        // of both list menus
    QString m_openFilter;
    int m_adding = 0;     // adds in progress (an add lets other commands run between files)
    QElapsedTimer m_pump; // since events were last let through during an add
    QPointer<TfrmConvert> m_chooser;
    QPointer<TfrmSettings> m_settings;
    TfrmFileInfo* m_fileInfo = nullptr;
};
