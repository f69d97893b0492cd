// The Qt frame follows its model: every control is a named widget, user input reaches the record,
// and Save and Close give the result.
#include "editor_fixture.h"

#include "app/scripted_dialogs.h"
#include "profiles/optiondetails.h"
#include "profiles/profiles.h"
#include "ui/editors/profileeditorwnd.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <set>

namespace {

using S = QString;

class EditorWindowTest : public EditorTest {
  protected:
    std::unique_ptr<TfrmProfileEditor> OpenWindow(int format) {
        FormatInfo(format)->Load(ProfileFileName(format, S("Default")));
        auto editor = std::make_unique<TfrmProfileEditor>(format, nullptr);
        editor->ProfileToControls();
        editor->PrepareToShow();
        return editor;
    }
    template <class T> T* child(QWidget& window, const char* name) {
        T* found = window.findChild<T*>(S::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

TEST_F(EditorWindowTest, EveryControlIsANamedWidgetAndEveryInputAUniqueAccessibleName) {
    for (int format = 0; format < FormatCount; ++format) {
        SCOPED_TRACE(format);
        auto editor = OpenWindow(format);
        EXPECT_EQ(editor->windowTitle(), editor->Model().Caption);
        std::set<QString> names;
        for (const TControl& control : editor->Model().Controls()) {
            auto* widget = editor->findChild<QWidget*>(control.Name);
            ASSERT_NE(widget, nullptr) << control.Name.toStdString();
            // Labels are named by their text; the codec page stacks need no name.
            if (control.Kind == TControlKind::Label || control.Kind == TControlKind::Line ||
                control.TabsHidden)
                continue;
            EXPECT_FALSE(widget->accessibleName().isEmpty()) << control.Name.toStdString();
            // Unique among the inputs, and among the containers.
            const bool container = control.Kind == TControlKind::Group ||
                                   control.Kind == TControlKind::Page ||
                                   control.Kind == TControlKind::PageControl;
            EXPECT_TRUE(names.insert((container ? S("c:") : S("i:")) + widget->accessibleName()).second)
                << widget->accessibleName().toStdString();
        }
    }
}

TEST_F(EditorWindowTest, TrackBarsSpinFieldsAndEditsHaveBuddyLabels) {
    auto editor = OpenWindow(0);
    EXPECT_EQ(child<QLabel>(*editor, "LabelCurrentBitrateDivX")->buddy(),
              child<QSlider>(*editor, "TrackBarVideoBitrateDivX"));
    EXPECT_EQ(child<QLabel>(*editor, "LabelVideoWidthDivX")->buddy(),
              child<QSpinBox>(*editor, "EditVideoWidthDivX"));
    EXPECT_EQ(child<QLabel>(*editor, "LabelCurrentAudioBitrateAC3")->buddy(),
              child<QSlider>(*editor, "TrackBarAudioBitrateAC3"));
    EXPECT_EQ(child<QLabel>(*editor, "labDescription")->buddy(),
              child<QLineEdit>(*editor, "EditDescription"));
    EXPECT_EQ(child<QLabel>(*editor, "LabelStartTime")->buddy(), child<QLineEdit>(*editor, "EditStartTime"));
}

TEST_F(EditorWindowTest, WidgetsShowTheModelAndUserInputReachesTheRecord) {
    auto editor = OpenWindow(0);
    EXPECT_EQ(child<QLineEdit>(*editor, "EditDescription")->text(), S("No Description"));
    auto* slider = child<QSlider>(*editor, "TrackBarVideoBitrateDivX");
    EXPECT_EQ(slider->maximum(), 13);
    EXPECT_EQ(slider->value(), 6);
    EXPECT_EQ(child<QLabel>(*editor, "LabelBitrateDivX")->text(), S("1080"));

    slider->setValue(9);
    EXPECT_EQ(child<QLabel>(*editor, "LabelBitrateDivX")->text(), S("1500"));

    // Changing dimensions enables the size fields; a preset fills them.
    auto* sizes = child<QComboBox>(*editor, "ComboBoxVideoSizeDivX");
    EXPECT_FALSE(sizes->isEnabled());
    QTest::mouseClick(child<QWidget>(*editor, "RadioButtonChangVideoSizeDivX"), Qt::LeftButton);
    EXPECT_TRUE(sizes->isEnabled());
    EXPECT_FALSE(child<QAbstractButton>(*editor, "RadioButtonKeepSourceSizeDivX")->isChecked());
    sizes->setCurrentIndex(11);
    emit sizes->activated(11);
    EXPECT_EQ(child<QSpinBox>(*editor, "EditVideoWidthDivX")->value(), 720);

    auto* codec = child<QComboBox>(*editor, "ComboBoxAudioCodec");
    codec->setCurrentIndex(4);
    emit codec->activated(4);
    EXPECT_EQ(child<QStackedWidget>(*editor, "PageControlACodec")->currentWidget(),
              child<QWidget>(*editor, "TabSheetAC3"));

    QTest::mouseClick(child<QCheckBox>(*editor, "CheckBoxDisableAudio"), Qt::LeftButton);
    auto* tabs = child<QTabWidget>(*editor, "PageControlOptions");
    EXPECT_FALSE(tabs->isTabVisible(tabs->indexOf(child<QWidget>(*editor, "TabSheetAudio"))));

    child<QLineEdit>(*editor, "EditDescription")->setText(S("set"));
    QTest::keyClicks(child<QLineEdit>(*editor, "EditDescription"), S(" edited"));

    editor->ControlsToProfile();
    EXPECT_EQ(AVISettings.DivX.VideoBitRatePreset, 1500);
    EXPECT_EQ(AVISettings.DivX.VideoWidth, 720);
    EXPECT_EQ(AVISettings.DivX.VideoHeight, 576);
    EXPECT_FALSE(AVISettings.DivX.VideoSizeUseSource);
    EXPECT_EQ(AVISettings.AudioCodec, 4);
    EXPECT_TRUE(AVISettings.AudioDisableAudio);
    EXPECT_EQ(AVISettings.Description, S("set edited"));
}

// Screen readers and other assistive tools toggle buttons and set texts through the accessibility
// interface, which clicks and types nothing: the model follows all the same.
TEST_F(EditorWindowTest, ChangesWithoutClicksOrTypingReachTheRecord) {
    auto editor = OpenWindow(0);
    auto* change = child<QAbstractButton>(*editor, "RadioButtonChangVideoSizeDivX");
    change->toggle();
    EXPECT_TRUE(child<QComboBox>(*editor, "ComboBoxVideoSizeDivX")->isEnabled());
    EXPECT_FALSE(child<QAbstractButton>(*editor, "RadioButtonKeepSourceSizeDivX")->isChecked());
    // A radio button toggled off again stays on: the model keeps one of the two.
    change->toggle();
    EXPECT_TRUE(change->isChecked());
    // Screen readers are told it is a radio button.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(change);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::RadioButton);
    // A click on the other one of the pair moves the choice back.
    QTest::mouseClick(child<QWidget>(*editor, "RadioButtonKeepSourceSizeDivX"), Qt::LeftButton);
    EXPECT_FALSE(change->isChecked());
    EXPECT_FALSE(child<QComboBox>(*editor, "ComboBoxVideoSizeDivX")->isEnabled());
    change->toggle();
    child<QSpinBox>(*editor, "EditVideoWidthDivX")->setValue(352);
    child<QAbstractButton>(*editor, "CheckBoxDisableAudio")->toggle();
    child<QLineEdit>(*editor, "EditDescription")->setText(S("Small"));

    editor->ControlsToProfile();
    EXPECT_FALSE(AVISettings.DivX.VideoSizeUseSource);
    EXPECT_EQ(AVISettings.DivX.VideoWidth, 352);
    EXPECT_TRUE(AVISettings.AudioDisableAudio);
    EXPECT_EQ(AVISettings.Description, S("Small"));

    // The MPEG editor's preset type is a group of radio buttons.
    auto mpeg = OpenWindow(3);
    auto* group = child<QWidget>(*mpeg, "RadioGroupPresetType");
    auto* second = group->findChild<QAbstractButton*>(S("RadioGroupPresetTypeItem2"));
    ASSERT_NE(second, nullptr);
    second->toggle();
    EXPECT_EQ(mpeg->Model().C(S("RadioGroupPresetType")).ItemIndex, 2);
}

// Presses a button of the modal editor once it shows.
void PressWhenShown(const char* button, const std::function<void(QWidget&)>& before = {}) {
    QTimer::singleShot(0, [button, before] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        if (before)
            before(*window);
        QTest::mouseClick(window->findChild<QPushButton*>(S::fromLatin1(button)), Qt::LeftButton);
    });
}

TEST_F(EditorWindowTest, SaveAndCloseGiveTheResult) {
    auto editor = OpenWindow(13);
    EXPECT_EQ(editor->windowTitle(), S("MP3 Profile Editor"));
    PressWhenShown("btnClose");
    EXPECT_FALSE(editor->Execute());

    // Save leaves the field being edited first: the rejected start time is put back.
    Mp3Settings.StartTime = S("0:00:10.000");
    editor->ProfileToControls();
    PressWhenShown("btnSave", [](QWidget& window) {
        auto* start = window.findChild<QLineEdit*>(S("EditStartTime"));
        start->setEnabled(true);
        start->setFocus();
        QTest::keyClicks(start, S("x"));
    });
    EXPECT_TRUE(editor->Execute());
    editor->ControlsToProfile();
    EXPECT_EQ(Mp3Settings.StartTime, S("0:00:10.000"));
}

TEST_F(EditorWindowTest, TypedOddWidthBecomesEvenWhenTheFieldIsLeft) {
    DefaultAVISettings();
    AVISettings.DivX.VideoSizeUseSource = false;
    auto editor = std::make_unique<TfrmProfileEditor>(0, nullptr);
    editor->ProfileToControls();
    editor->PrepareToShow();
    editor->show();
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    auto* tabs = child<QTabWidget>(*editor, "PageControlOptions");
    tabs->setCurrentIndex(1);
    auto* width = child<QSpinBox>(*editor, "EditVideoWidthDivX");
    width->setFocus();
    QTRY_VERIFY(width->hasFocus());
    width->selectAll();
    QTest::keyClicks(width, S("721"));
    EXPECT_EQ(child<QComboBox>(*editor, "ComboBoxVideoSizeDivX")->currentText(), S("..."));
    child<QSpinBox>(*editor, "EditVideoHeightDivX")->setFocus();
    QTRY_COMPARE(width->value(), 722);
    editor->ControlsToProfile();
    EXPECT_EQ(AVISettings.DivX.VideoWidth, 722);
}

// What the editor saves is what the next conversion's options are built from.
TEST_F(EditorWindowTest, SavedEditReachesTheEngineOptions) {
    const QString avi = ProfileFileName(0, S("Default"));
    auto video = OpenWindow(0);
    child<QSlider>(*video, "TrackBarVideoBitrateDivX")->setValue(9);
    video->ControlsToProfile();
    FormatInfo(0)->Save(avi);
    QString options;
    GetAVIOptionDetails(avi, options);
    EXPECT_TRUE(options.contains(S("-b 1500k "))) << options.toStdString();

    const QString mp3 = ProfileFileName(13, S("Default"));
    auto audio = OpenWindow(13);
    auto* rates = child<QComboBox>(*audio, "ComboBoxSampleRateMp3");
    rates->setCurrentIndex(3);
    emit rates->activated(3);
    child<QSlider>(*audio, "TrackBarAudioBitrateMp3")->setValue(12);
    audio->ControlsToProfile();
    FormatInfo(13)->Save(mp3);
    options.clear();
    GetMp3OptionDetails(mp3, options);
    EXPECT_TRUE(options.contains(S("-ar 48000 "))) << options.toStdString();
    EXPECT_TRUE(options.contains(S("-ab 320"))) << options.toStdString();
}

TEST_F(EditorWindowTest, CreateProfileEditorGivesTheFormatsWindow) {
    auto editor = CreateProfileEditor(10, nullptr);
    auto* window = dynamic_cast<TfrmProfileEditor*>(editor.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), S("AAC Profile Editor"));
    EXPECT_EQ(window->objectName(), S("frmAacProfile"));
    EXPECT_NE(window->findChild<QLineEdit*>(S("txtDescription")), nullptr);
    EXPECT_NE(window->findChild<QSlider*>(S("TrackBarAudioBitrateAACMp4")), nullptr);
}

} // namespace
