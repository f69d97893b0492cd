#pragma once
// The toolkit-free model of a profile editor window: named controls with their state, and the
// rules that act on that state. A view renders the controls and reports what the user does
// (clicks, choices, typing, focus); the model runs the rules and the view shows the new state.
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <vector>

enum class TControlKind {
    Label,
    Line,       // a rule line under a page heading
    Edit,       // one-line text field
    Spin,       // integer spin field (Position within Min..Max, Step)
    Check,      // check box
    Radio,      // radio button, exclusive within its RadioGroup
    RadioGroup, // a captioned set of radio buttons (Items) with one ItemIndex
    List,       // drop-down list (Items, ItemIndex)
    TrackBar,   // Position within Min..Max
    Button,
    Group,       // captioned group box
    PageControl, // pages as children; TabsHidden: pages switch only through ActivePage
    Page,
};

struct TControl {
    QString Name;
    TControlKind Kind = TControlKind::Label;
    QString Parent;        // containing group, page or page control; "" for the window
    int Row = 0;           // layout hint: controls with the same row in one parent sit side by side
    bool Grid = false;     // layout hint on a container: its rows align in columns
    bool Emphasis = false; // layout hint on a label: a heading
    QString Text;          // caption, label text or edit text
    QString AccessibleName;
    QString Buddy; // on a label: the control it names
    QStringList Items;
    int ItemIndex = -1;
    bool Checked = false;
    int Position = 0;
    int Min = 0;
    int Max = 0;
    int Step = 1;
    bool Enabled = true;
    bool Visible = true; // on a page: whether its tab is shown
    QString RadioGroup;  // radio buttons sharing this are exclusive
    QString Stack;       // controls sharing one place: only the one in front is seen
    bool Front = true;
    bool TabsHidden = false; // on a page control
    QString ActivePage;      // on a page control: the page shown ("" none)
};

// What the "Configure" buttons ask for: a whole number within Minimum..Maximum. The answer is the
// typed number, or Current when the user cancels.
struct TValueRequest {
    QString Title;
    QString Prompt;
    int Current = 0;
    int Maximum = 0;
    int Minimum = 0;
};
using TValueInput = std::function<int(const TValueRequest&)>;

enum class TControlEvent { Click, Change, Enter, Exit };

class TEditorModel {
  public:
    using THandler = std::function<void()>;

    QString Caption;        // the window caption
    QString DefaultButton;  // the button that closes with OK
    QString CancelButton;   // the button that closes with Cancel
    TValueInput InputValue; // the value-entry dialog; without one the value stays unchanged

    // ---- Building ---------------------------------------------------------------------------
    TControl& Add(TControl control);
    void On(const QString& name, TControlEvent event, THandler handler);
    // Load and store steps of ProfileToControls and ControlsToProfile, run in the order added.
    void Bind(THandler load, THandler store);
    // A rule applied when the window is shown, in the order added.
    void OnShow(THandler rule);

    // ---- Controls ---------------------------------------------------------------------------
    bool Has(const QString& name) const;
    TControl& C(const QString& name);
    const TControl& C(const QString& name) const;
    const std::vector<TControl>& Controls() const { return m_controls; }
    // The controls whose Parent is the given name, in the order added.
    std::vector<const TControl*> Children(const QString& parent) const;

    // ---- State changes as the program makes them (no handlers run, except that a moved track
    // bar or spin field reports its change, as the rules rely on) ----------------------------
    void SetChecked(const QString& name, bool checked);
    void SetItemIndex(const QString& name, int index);
    void SetPosition(const QString& name, int position);
    void SetRange(const QString& name, int min, int max);
    void SetText(const QString& name, const QString& text);
    void SetEnabled(const QString& name, bool enabled);
    void SetVisible(const QString& name, bool visible);
    void BringToFront(const QString& name);
    void SetActivePage(const QString& pageControl, const QString& page);

    // ---- What the user does (handlers run) --------------------------------------------------
    void UserClick(const QString& name); // toggles a check box, checks a radio, presses a button
    void UserSelect(const QString& name, int index);
    void UserSetPosition(const QString& name, int position);
    void UserType(const QString& name, const QString& text);
    void UserEnter(const QString& name);
    void UserExit(const QString& name);
    // The default button: leaves the focused field first, so its rule runs before the window
    // closes with OK.
    void UserSave();
    const QString& Focused() const { return m_focused; }

    // ---- Life cycle ---------------------------------------------------------------------------
    void ProfileToControls();
    void ControlsToProfile();
    void Show();

    // Counts state changes; a view compares it to know when to refresh.
    unsigned Revision() const { return m_revision; }

  private:
    void Fire(const QString& name, TControlEvent event);
    void Touch() { ++m_revision; }

    std::vector<TControl> m_controls;
    std::map<QString, std::size_t> m_index;
    std::map<std::pair<QString, TControlEvent>, std::vector<THandler>> m_handlers;
    std::vector<THandler> m_loads, m_stores, m_showRules;
    QString m_focused;
    unsigned m_revision = 0;
};
