#pragma once
// The main window: a frameless window with its own title bar (title, help, minimise and close
// buttons), a body that the source list and the output panel fill, and a status line.
#include <QWidget>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QToolButton;
class QVBoxLayout;
class TKelMultiLanguages;

class TfrmMain : public QWidget {
    Q_OBJECT
  public:
    // Runs the creation steps: options, language menu, captions, title, file count.
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Sets every caption from the string table and refreshes the list summary.
    void ApplyMainCaptions();
    // Shows the number of listed files in the status line.
    void UpdateSummary();
    // Number of files in the source list.
    virtual int SourceCount() const { return 0; }

    TKelMultiLanguages& Languages() { return *m_languages; }
    // The body below the title bar; the windows' panels are added to its layout.
    QVBoxLayout* Body() const { return m_body; }

  signals:
    // After ApplyMainCaptions (creation and every language switch), for panels that keep captions.
    void captionsApplied();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildTitleBar(QVBoxLayout* root);
    void buildHelpMenu();
    void buildLanguageMenu();
    void switchLanguage(QAction* item);
    void showHelpMenu();

    std::unique_ptr<TKelMultiLanguages> m_languages;
    QWidget* m_titleBar = nullptr;
    QLabel* lblTitle = nullptr;
    QToolButton* btnHelp = nullptr;
    QToolButton* btnMin = nullptr;
    QToolButton* btnClose = nullptr;
    QLabel* lblSummary = nullptr;
    QVBoxLayout* m_body = nullptr;
    QMenu* mnuHelp = nullptr;
    QMenu* mniLanguages = nullptr;
    QAction* miHelpContent = nullptr;
    QAction* miAbout = nullptr;
    QAction* actExit = nullptr;
    QAction* actMin = nullptr;
    QAction* actHelpContent = nullptr;
    QList<QAction*> m_languageItems;
};
