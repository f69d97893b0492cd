#include "ui/editors/profileeditorwnd.h"

#include "profiles/catalogue.h"
#include "profiles/editor/editorbuilder.h"
#include "ui/centre.h"
#include "ui/editors/entervaluewnd.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

TfrmProfileEditor::TfrmProfileEditor(int formatIndex, QWidget* owner)
    : QDialog(owner), m_model(BuildEditorModel(formatIndex)) {
    // The window is named after the format's editor class ("TfrmAVIProfile" gives "frmAVIProfile").
    setObjectName(FormatInfo(formatIndex)->Editor.mid(1));
    setWindowTitle(m_model->Caption);
    m_model->InputValue = [this](const TValueRequest& request) {
        return InputValue(this, request.Title, request.Prompt, request.Current, request.Maximum,
                          request.Minimum);
    };
    BuildChildren(QString(), this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // Labels name their controls for screen readers and keyboard users.
    for (const TControl& control : m_model->Controls()) {
        if (!control.Buddy.isEmpty())
            static_cast<QLabel*>(m_widgets[control.Name])->setBuddy(m_widgets[control.Buddy]);
    }
    Refresh();
    adjustSize();
    CentreOverOwner(this, owner);
}

template <class F> void TfrmProfileEditor::Act(F action) {
    if (m_refreshing)
        return;
    action();
    Refresh();
}

namespace {

bool Stretches(TControlKind kind) {
    return kind == TControlKind::Group || kind == TControlKind::TrackBar || kind == TControlKind::Edit ||
           kind == TControlKind::Line || kind == TControlKind::PageControl ||
           kind == TControlKind::RadioGroup;
}

} // namespace

void TfrmProfileEditor::BuildChildren(const QString& parent, QWidget* container) {
    std::vector<const TControl*> children = m_model->Children(parent);
    std::stable_sort(children.begin(), children.end(),
                     [](const TControl* a, const TControl* b) { return a->Row < b->Row; });
    // Rows in order, each with its controls.
    std::vector<std::vector<const TControl*>> rows;
    for (const TControl* child : children) {
        if (rows.empty() || rows.back().front()->Row != child->Row)
            rows.emplace_back();
        rows.back().push_back(child);
    }
    if (m_model->Has(parent) && m_model->C(parent).Grid) {
        auto* grid = new QGridLayout(container);
        for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
            for (int c = 0; c < static_cast<int>(rows[r].size()); ++c) {
                // A single control spans the row.
                grid->addWidget(Build(*rows[r][c], container), r, c, 1, rows[r].size() == 1 ? -1 : 1);
            }
        }
        grid->setColumnStretch(1, 1);
        return;
    }
    auto* column = new QVBoxLayout(container);
    for (const auto& controls : rows) {
        auto* row = new QHBoxLayout;
        column->addLayout(row);
        const bool buttons = std::all_of(controls.begin(), controls.end(),
                                         [](const TControl* c) { return c->Kind == TControlKind::Button; });
        // A row of buttons alone sits at the right, as dialog buttons do.
        if (buttons && parent.isEmpty())
            row->addStretch();
        bool stretches = false;
        for (const TControl* child : controls) {
            QWidget* widget = Build(*child, container);
            stretches = stretches || Stretches(child->Kind);
            row->addWidget(widget, Stretches(child->Kind) ? 1 : 0,
                           child->Kind == TControlKind::Group ? Qt::Alignment() : Qt::AlignVCenter);
        }
        if (!stretches && !(buttons && parent.isEmpty()))
            row->addStretch();
    }
    if (m_model->Has(parent) && m_model->C(parent).Kind == TControlKind::Page)
        column->addStretch();
}

QWidget* TfrmProfileEditor::Build(const TControl& c, QWidget* parent) {
    TEditorModel* m = m_model.get();
    const QString name = c.Name;
    QWidget* widget = nullptr;
    switch (c.Kind) {
    case TControlKind::Label: {
        auto* label = new QLabel(c.Text, parent);
        if (c.Emphasis) {
            QFont font = label->font();
            font.setBold(true);
            label->setFont(font);
        }
        widget = label;
        break;
    }
    case TControlKind::Line: {
        auto* line = new QFrame(parent);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        widget = line;
        break;
    }
    case TControlKind::Edit: {
        auto* edit = new QLineEdit(parent);
        edit->installEventFilter(this);
        // Any change but the window's own refresh (signals blocked there) is the user's: typed, or
        // set by an assistive tool through the accessibility interface.
        connect(edit, &QLineEdit::textChanged, this,
                [this, m, name](const QString& text) { Act([&] { m->UserType(name, text); }); });
        widget = edit;
        break;
    }
    case TControlKind::Spin: {
        auto* spin = new QSpinBox(parent);
        spin->setRange(c.Min, c.Max);
        spin->setSingleStep(c.Step);
        spin->installEventFilter(this);
        connect(spin, &QSpinBox::valueChanged, this,
                [this, m, name](int value) { Act([&] { m->UserSetPosition(name, value); }); });
        widget = spin;
        break;
    }
    case TControlKind::Check: {
        auto* check = new QCheckBox(c.Text, parent);
        FollowToggles(check, name);
        widget = check;
        break;
    }
    case TControlKind::Radio: {
        auto* radio = new QRadioButton(c.Text, parent);
        // The model keeps radio buttons exclusive within their group, which need not be their
        // parent widget: a non-exclusive button group per parent stops Qt's own exclusivity while
        // the buttons stay auto-exclusive, which screen readers need to call them radio buttons.
        auto* siblings =
            parent->findChild<QButtonGroup*>(QStringLiteral("radios"), Qt::FindDirectChildrenOnly);
        if (!siblings) {
            siblings = new QButtonGroup(parent);
            siblings->setObjectName(QStringLiteral("radios"));
            siblings->setExclusive(false);
        }
        siblings->addButton(radio);
        FollowToggles(radio, name);
        widget = radio;
        break;
    }
    case TControlKind::RadioGroup: {
        auto* box = new QGroupBox(c.Text, parent);
        auto* layout = new QVBoxLayout(box);
        auto* buttons = new QButtonGroup(box);
        for (int i = 0; i < c.Items.size(); ++i) {
            auto* radio = new QRadioButton(c.Items[i], box);
            radio->setObjectName(name + QStringLiteral("Item%1").arg(i));
            buttons->addButton(radio, i);
            layout->addWidget(radio);
        }
        // Toggles, not clicks: an assistive tool's toggle action checks a button without a click.
        connect(buttons, &QButtonGroup::idToggled, this, [this, m, name](int index, bool on) {
            if (on && index != m->C(name).ItemIndex)
                Act([&] { m->UserSelect(name, index); });
        });
        widget = box;
        break;
    }
    case TControlKind::List: {
        auto* list = new QComboBox(parent);
        list->addItems(c.Items);
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        connect(list, &QComboBox::activated, this,
                [this, m, name](int index) { Act([&] { m->UserSelect(name, index); }); });
        widget = list;
        break;
    }
    case TControlKind::TrackBar: {
        auto* slider = new QSlider(Qt::Horizontal, parent);
        slider->setRange(c.Min, c.Max);
        slider->setPageStep(1);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setMinimumWidth(160);
        connect(slider, &QSlider::valueChanged, this,
                [this, m, name](int value) { Act([&] { m->UserSetPosition(name, value); }); });
        widget = slider;
        break;
    }
    case TControlKind::Button: {
        auto* button = new QPushButton(c.Text, parent);
        if (name == m->DefaultButton) {
            button->setDefault(true);
            connect(button, &QPushButton::clicked, this, &TfrmProfileEditor::Save);
        } else if (name == m->CancelButton) {
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, &QDialog::reject);
        } else {
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this,
                    [this, m, name] { Act([&] { m->UserClick(name); }); });
        }
        widget = button;
        break;
    }
    case TControlKind::Group: {
        auto* box = new QGroupBox(c.Text, parent);
        BuildChildren(name, box);
        widget = box;
        break;
    }
    case TControlKind::PageControl: {
        if (c.TabsHidden) {
            auto* stack = new QStackedWidget(parent);
            auto* empty = new QWidget(stack);
            empty->setObjectName(name + QStringLiteral("Empty"));
            stack->addWidget(empty);
            m_emptyPages[name] = empty;
            widget = stack;
        } else {
            widget = new QTabWidget(parent);
        }
        m_widgets[name] = widget;
        for (const TControl* page : m->Children(name)) {
            QWidget* pageWidget = Build(*page, widget);
            if (auto* tabs = qobject_cast<QTabWidget*>(widget))
                tabs->addTab(pageWidget, page->Text);
            else
                static_cast<QStackedWidget*>(widget)->addWidget(pageWidget);
        }
        break;
    }
    case TControlKind::Page: {
        widget = new QWidget(parent);
        BuildChildren(name, widget);
        break;
    }
    }
    widget->setObjectName(name);
    widget->setAccessibleName(c.AccessibleName);
    m_widgets[name] = widget;
    return widget;
}

void TfrmProfileEditor::FollowToggles(QAbstractButton* button, const QString& name) {
    // A click toggles the button; so does an assistive tool's toggle action, which clicks nothing.
    // Either way the model decides (a radio button clicked again stays checked) and the refresh
    // shows its state.
    connect(button, &QAbstractButton::toggled, this, [this, name](bool on) {
        if (on != m_model->C(name).Checked)
            Act([&] { m_model->UserClick(name); });
        else
            Refresh();
    });
}

void TfrmProfileEditor::Refresh() {
    m_refreshing = true;
    for (const TControl& c : m_model->Controls()) {
        QWidget* widget = m_widgets[c.Name];
        const QSignalBlocker blocker(widget);
        widget->setEnabled(c.Enabled);
        if (c.Kind != TControlKind::Page)
            widget->setVisible(c.Visible && c.Front);
        switch (c.Kind) {
        case TControlKind::Label:
            static_cast<QLabel*>(widget)->setText(c.Text);
            break;
        case TControlKind::Edit: {
            auto* edit = static_cast<QLineEdit*>(widget);
            if (edit->text() != c.Text)
                edit->setText(c.Text);
            break;
        }
        case TControlKind::Spin: {
            // Only changes are applied, so text being typed into the field is left alone.
            auto* spin = static_cast<QSpinBox*>(widget);
            if (spin->minimum() != c.Min || spin->maximum() != c.Max)
                spin->setRange(c.Min, c.Max);
            if (spin->value() != c.Position)
                spin->setValue(c.Position);
            break;
        }
        case TControlKind::Check:
        case TControlKind::Radio:
            static_cast<QAbstractButton*>(widget)->setChecked(c.Checked);
            break;
        case TControlKind::RadioGroup:
            for (int i = 0; i < c.Items.size(); ++i) {
                auto* radio = widget->findChild<QRadioButton*>(c.Name + QStringLiteral("Item%1").arg(i));
                const QSignalBlocker itemBlocker(radio);
                radio->setAutoExclusive(false);
                radio->setChecked(i == c.ItemIndex);
                radio->setAutoExclusive(true);
            }
            break;
        case TControlKind::List:
            static_cast<QComboBox*>(widget)->setCurrentIndex(c.ItemIndex);
            break;
        case TControlKind::TrackBar: {
            auto* slider = static_cast<QSlider*>(widget);
            if (slider->minimum() != c.Min || slider->maximum() != c.Max)
                slider->setRange(c.Min, c.Max);
            if (slider->value() != c.Position)
                slider->setValue(c.Position);
            break;
        }
        case TControlKind::PageControl:
            if (auto* stack = qobject_cast<QStackedWidget*>(widget)) {
                stack->setCurrentWidget(c.ActivePage.isEmpty() ? m_emptyPages[c.Name]
                                                               : m_widgets[c.ActivePage]);
            } else {
                auto* tabs = static_cast<QTabWidget*>(widget);
                for (const TControl* page : m_model->Children(c.Name))
                    tabs->setTabVisible(tabs->indexOf(m_widgets[page->Name]), page->Visible);
            }
            break;
        default:
            break;
        }
    }
    m_refreshing = false;
}

bool TfrmProfileEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const QString name = watched->objectName();
        // Another window or a pop-up taking the focus does not leave the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const bool windowChange = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        if (m_model->Has(name) && !windowChange) {
            if (event->type() == QEvent::FocusIn)
                Act([&] { m_model->UserEnter(name); });
            else
                Act([&] { m_model->UserExit(name); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmProfileEditor::Save() {
    // The field being edited is left first, so its rule runs before the window closes with OK.
    if (QWidget* save = m_widgets[m_model->DefaultButton])
        save->setFocus();
    Act([&] { m_model->UserSave(); });
    accept();
}

void TfrmProfileEditor::ProfileToControls() {
    m_model->ProfileToControls();
    Refresh();
}

void TfrmProfileEditor::ControlsToProfile() {
    m_model->ControlsToProfile();
}

void TfrmProfileEditor::PrepareToShow() {
    m_model->Show();
    Refresh();
}

bool TfrmProfileEditor::Execute() {
    PrepareToShow();
    return exec() == QDialog::Accepted;
}

std::unique_ptr<IProfileEditor> CreateProfileEditor(int formatIndex, QWidget* owner) {
    return std::make_unique<TfrmProfileEditor>(formatIndex, owner);
}
