// The General page's codec groups of each kind of editor, the MPEG DVD page, and the rules that
// choose the codec pages shown.
#include "profiles/editor/editorparts.h"

namespace {

const QString VideoPages = QStringLiteral("PageControlVCodec");
const QString VideoTab = QStringLiteral("TabSheetVideo");

// A captioned group holding one list bound to a key. Groups sharing a stack sit in one place.
// A list sharing its place with another is named for screen readers after what it belongs to.
void ListGroup(TBuild& b, const QString& group, Ids caption, const QString& list, const QStringList& items,
               const QString& key, int row, const QString& stack = QString(),
               const QString& owner = QString()) {
    TControl& box = Make(b, TControlKind::Group, group, b.N.General, row, Str(caption));
    box.Stack = stack;
    MakeList(b, list, group, 0, items).AccessibleName =
        owner.isEmpty() ? QString() : owner + QLatin1Char(' ') + Str(caption);
    BindIndex(b, list, key);
}

void CheckGroup(TBuild& b, const QString& group, Ids caption, const QString& check, Ids text,
                const QString& key, int row) {
    Make(b, TControlKind::Group, group, b.N.General, row, Str(caption));
    Make(b, TControlKind::Check, check, group, 0, Str(text));
    BindCheck(b, check, key);
}

// The texts of the pages that have a list entry, in page order.
template <class Page> QStringList ListedTexts(const std::vector<Page>& pages) {
    QStringList texts;
    for (const Page& page : pages) {
        if (page.Listed)
            texts << Str(page.Text);
    }
    return texts;
}

// The page at an index of a page control, "" when there is none.
QString PageAt(TEditorModel& m, const QString& pageControl, int index) {
    const auto pages = m.Children(pageControl);
    return index >= 0 && index < static_cast<int>(pages.size()) ? pages[index]->Name : QString();
}

// Disables the audio codec choice and hides the Audio tab while "Disable Audio" is checked.
THandler AudioDisabling(TBuild& b, const QStringList& controls) {
    TEditorModel* m = &b.M;
    const QString audioTab = b.N.AudioTab;
    const THandler enable = EnableWhen(b, controls, QStringLiteral("CheckBoxDisableAudio"), false);
    return [=] {
        enable();
        m->SetVisible(audioTab, !m->C(QStringLiteral("CheckBoxDisableAudio")).Checked);
    };
}

void SameQualityAndDisableAudio(TBuild& b, int row) {
    CheckGroup(b, QStringLiteral("GroupBoxSameQuality"), Ids::IDS_PROFILE_GROUPBOX_SameQuality,
               QStringLiteral("CheckBoxSameQuality"), Ids::IDS_PROFILE_CHECKBOX_UseName,
               QStringLiteral("VideoSameQuality"), row);
    CheckGroup(b, QStringLiteral("GroupBoxDisableAudio"), Ids::IDS_PROFILE_GROUPBOX_DisableAudio,
               QStringLiteral("CheckBoxDisableAudio"), Ids::IDS_PROFILE_CHECKBOX_DisableAudio,
               QStringLiteral("AudioDisableAudio"), row);
}

// ---- Video formats with one video and one audio list (MP4 adds the type list) -------------------

void BuildStandard(TBuild& b, bool mp4) {
    TEditorModel* m = &b.M;
    const QString video = QStringLiteral("ComboBoxVideoCodec");
    const QString audio = b.N.AudioCodec;
    const QString type = QStringLiteral("ComboBoxMp4Format");
    if (mp4) {
        ListGroup(b, QStringLiteral("GroupBoxFormats"), Ids::IDS_PROFILE_GROUPBOX_Type, type,
                  Texts({Ids::IDS_PROFILE_CHECKBOX_AppleiPod, Ids::IDS_PROFILE_CHECKBOX_SonyPSP,
                         Ids::IDS_PROFILE_CHECKBOX_MobileMovie, Ids::IDS_PROFILE_CHECKBOX_Mp4}),
                  QStringLiteral("Format"), 1);
    }
    ListGroup(b, QStringLiteral("GroupBoxVideoCode"), Ids::IDS_PROFILE_GROUPBOX_VideoCodec, video,
              ListedTexts(b.Def.Video), QStringLiteral("VideoCodec"), 2);
    ListGroup(b, b.N.AudioCodecGroup, Ids::IDS_PROFILE_GROUPBOX_AudioCodec, audio, ListedTexts(b.Def.Audio),
              QStringLiteral("AudioCodec"), 2);
    SameQualityAndDisableAudio(b, 3);

    const QString audioPages = b.N.AudioPages;
    // The lists choose the pages by index; on MP4 the type chooses the AAC page.
    const THandler pageRule = [=] {
        m->SetActivePage(VideoPages, PageAt(*m, VideoPages, m->C(video).ItemIndex));
        if (mp4)
            m->SetActivePage(audioPages, m->C(type).ItemIndex == 1 ? QStringLiteral("TabSheetAACPsp")
                                                                   : QStringLiteral("TabSheetAACMp4"));
        else
            m->SetActivePage(audioPages, PageAt(*m, audioPages, m->C(audio).ItemIndex));
    };
    OnAll(b, mp4 ? QStringList{type, video, audio} : QStringList{video, audio}, TControlEvent::Change,
          pageRule);
    const THandler disabling = AudioDisabling(b, {b.N.AudioCodecGroup, audio});
    m->On(QStringLiteral("CheckBoxDisableAudio"), TControlEvent::Click, disabling);
    b.PageRules = {pageRule, disabling};
}

// ---- 3GP: Nokia and Sony Ericsson codec lists ----------------------------------------------------

void BuildTgp(TBuild& b) {
    TEditorModel* m = &b.M;
    const QString type = QStringLiteral("ComboBox3GPFormat");
    const QString nokiaVideo = QStringLiteral("ComboBoxVideoCodecNokia"),
                  sonyVideo = QStringLiteral("ComboBoxVideoCodecSony");
    const QString nokiaAudio = QStringLiteral("ComboBoxAudioCodeNokia"),
                  sonyAudio = QStringLiteral("ComboBoxAudioCodeSony");
    const QString nokiaVideoGroup = QStringLiteral("GroupBoxVideoCodeNokia"),
                  sonyVideoGroup = QStringLiteral("GroupBoxVideoCodeSony");
    const QString nokiaAudioGroup = QStringLiteral("GroupBoxAudioCodeNokia"),
                  sonyAudioGroup = QStringLiteral("GroupBoxAudioCodeSony");
    using I = Ids;
    ListGroup(b, QStringLiteral("GroupBoxFormats"), I::IDS_PROFILE_GROUPBOX_Type, type,
              Texts({I::IDS_PROFILE_GROUPBOX_Type_Nokia, I::IDS_PROFILE_GROUPBOX_Type_3Gp,
                     I::IDS_PROFILE_GROUPBOX_Type_3Gp2}),
              QStringLiteral("TGPFormat"), 1);
    const QString videoStack = QStringLiteral("VideoCodec"), audioStack = QStringLiteral("AudioCodec");
    ListGroup(b, nokiaVideoGroup, I::IDS_PROFILE_GROUPBOX_VideoCodec, nokiaVideo,
              Texts({I::IDS_PROFILE_PAGECONTROL_H263, I::IDS_PROFILE_PAGECONTROL_Divx}),
              QStringLiteral("VideoCodecNokia"), 2, videoStack, Str(I::IDS_PROFILE_GROUPBOX_Type_Nokia));
    ListGroup(b, sonyVideoGroup, I::IDS_PROFILE_GROUPBOX_VideoCodec, sonyVideo,
              Texts({I::IDS_PROFILE_PAGECONTROL_Divx, I::IDS_PROFILE_PAGECONTROL_Xvid}),
              QStringLiteral("VideoCodecSony"), 2, videoStack, Str(I::IDS_PROFILE_GROUPBOX_Type_3Gp));
    ListGroup(b, nokiaAudioGroup, I::IDS_PROFILE_GROUPBOX_AudioCodec, nokiaAudio,
              Texts({I::IDS_PROFILE_PAGECONTROL_AmrBand, I::IDS_PROFILE_PAGECONTROL_AmrWide,
                     I::IDS_PROFILE_PAGECONTROL_Aac}),
              QStringLiteral("AudioCodecNokia"), 2, audioStack, Str(I::IDS_PROFILE_GROUPBOX_Type_Nokia));
    ListGroup(b, sonyAudioGroup, I::IDS_PROFILE_GROUPBOX_AudioCodec, sonyAudio,
              Texts({I::IDS_PROFILE_PAGECONTROL_Aac}), QStringLiteral("AudioCodecSony"), 2, audioStack,
              Str(I::IDS_PROFILE_GROUPBOX_Type_3Gp));
    m->C(sonyVideoGroup).Front = false;
    m->C(sonyAudioGroup).Front = false;
    SameQualityAndDisableAudio(b, 3);

    const QString audioPages = b.N.AudioPages;
    const THandler groupRule = [=] {
        const int index = m->C(type).ItemIndex;
        if (index == 0) {
            m->BringToFront(nokiaVideoGroup);
            m->BringToFront(nokiaAudioGroup);
        } else if (index == 1 || index == 2) {
            m->BringToFront(sonyVideoGroup);
            m->BringToFront(sonyAudioGroup);
        }
    };
    // Shows the page named for a list's choice; a choice without page leaves the page control.
    auto show = [=](const QString& pageControl, const QString& list, const QStringList& pages) {
        const int index = m->C(list).ItemIndex;
        if (index >= 0 && index < pages.size())
            m->SetActivePage(pageControl, pages[index]);
    };
    const THandler pageRule = [=] {
        const int index = m->C(type).ItemIndex;
        if (index == 0) {
            show(VideoPages, nokiaVideo, {QStringLiteral("TabSheetH263"), QStringLiteral("TabSheetDivX")});
            show(audioPages, nokiaAudio,
                 {QStringLiteral("TabSheetArmnb"), QStringLiteral("TabSheetArmwb"),
                  QStringLiteral("TabSheetAAC")});
        } else if (index == 1 || index == 2) {
            show(VideoPages, sonyVideo, {QStringLiteral("TabSheetDivX"), QStringLiteral("TabSheetXviD")});
            show(audioPages, sonyAudio, {QStringLiteral("TabSheetAAC")});
        }
    };
    m->On(type, TControlEvent::Change, groupRule);
    // The Nokia lists also show their page at once, as the Sony lists do.
    OnAll(b, {type, nokiaVideo, sonyVideo, nokiaAudio, sonyAudio}, TControlEvent::Change, pageRule);
    const THandler disabling = AudioDisabling(b, {nokiaAudioGroup, sonyAudioGroup, nokiaAudio, sonyAudio});
    m->On(QStringLiteral("CheckBoxDisableAudio"), TControlEvent::Click, disabling);
    b.PageRules = {pageRule, groupRule, disabling};
}

// ---- MPEG: preset formats, two audio lists and the DVD page --------------------------------------

THandler BuildDvdPage(TBuild& b) {
    const QString page = QStringLiteral("TabSheetDVD");
    Make(b, TControlKind::Page, page, b.N.Options, 0, Str(Ids::IDS_PROFILE_CHECKBOX_DVD));

    const THandler bitrateMode = BuildVideoBitrate(
        b,
        {QStringLiteral("GroupBoxDVDVideoBitrate"), QStringLiteral("RadioButtonDVDVideoPresert"),
         QStringLiteral("RadioButtonDVDVideoSpecify"), QStringLiteral("TrackBarDVDVideoBitrate"),
         QStringLiteral("LabelDVDCurrentBitrate"), QStringLiteral("LabelDVDBitrate"),
         QStringLiteral("LabelDVDKbps2"), QStringLiteral("LabelDVDLow"), QStringLiteral("LabelDVDHigh"),
         QStringLiteral("LabelDVDBitrateSpecify"), QStringLiteral("LabelDVDKbps"),
         QStringLiteral("ButtonDVDVideoBitrateConfigure")},
        page, 0, StandardVideoBitrates(), 13, QStringLiteral("DVDVideo"), QString(), 6);

    const QString aspect = QStringLiteral("GroupBoxDVDAspect");
    const QString autoAspect = QStringLiteral("RadioButtonDVDAutoSetAspect"),
                  changeAspect = QStringLiteral("RadioButtonDVDChangeAspect");
    const QString aspects = QStringLiteral("ComboBoxDVDVideoAspect");
    Make(b, TControlKind::Group, aspect, page, 0, Str(Ids::IDS_PROFILE_GROUPBOX_Aspect));
    MakeRadio(b, autoAspect, aspect, 0, Str(Ids::IDS_PROFILE_RADIOBUTTON_Auto), aspect, true);
    MakeRadio(b, changeAspect, aspect, 1, Str(Ids::IDS_PROFILE_LABEL_ChangeAspect), aspect);
    MakeList(b, aspects, aspect, 2,
             Texts({Ids::IDS_PROFILE_GROUPBOX_Aspect_1, Ids::IDS_PROFILE_GROUPBOX_Aspect_4,
                    Ids::IDS_PROFILE_GROUPBOX_Aspect_16}));
    const THandler aspectRule = EnableWhen(b, {aspects}, changeAspect);
    OnAll(b, {autoAspect, changeAspect}, TControlEvent::Click, aspectRule);
    BindPair(b, autoAspect, changeAspect, QStringLiteral("DVDVideoKeepAspect"));
    BindIndex(b, aspects, QStringLiteral("DVDVideoAspect"));

    // The DVD audio check box only holds its value. The "kbps" beside the bitrate is our addition.
    BuildAudioBitrate(
        b,
        {QStringLiteral("GroupBoxDVDAudioBitrate"), QStringLiteral("CheckBoxDVDAutoSetAudioBitrate"),
         QStringLiteral("TrackBarDVDAudioBitrate"), QStringLiteral("LabelDVDCurrentAudioBitrate"),
         QStringLiteral("LabelDVDAudioBitrate"), QStringLiteral("LabelDVDAudioKbps"),
         QStringLiteral("LabelDVDAudioSmall"), QStringLiteral("LabelDVDAudioLarge")},
        page, 1, DvdAudioBitrates(), 10, QStringLiteral("DVDAudio"), QString(), 6, false);

    return [=] {
        bitrateMode();
        aspectRule();
    };
}

void BuildMpeg(TBuild& b) {
    TEditorModel* m = &b.M;
    using I = Ids;
    const QString use = QStringLiteral("CheckBoxUsePressetFormat");
    const QString type = QStringLiteral("RadioGroupPresetType"),
                  target = QStringLiteral("RadioGroupPresetTargetFormat");
    const QString video = QStringLiteral("ComboBoxVideoCodec");
    const QString audio1 = QStringLiteral("ComboBoxAudioCodecMpeg1"),
                  audio2 = QStringLiteral("ComboBoxAudioCodecMpeg2");
    const QString group1 = QStringLiteral("GroupBoxAudioCodecMpeg1"),
                  group2 = QStringLiteral("GroupBoxAudioCodecMpeg2");
    const QString disable = QStringLiteral("CheckBoxDisableAudio");

    const QString presets = QStringLiteral("GroupBoxPresetFormats");
    Make(b, TControlKind::Group, presets, b.N.General, 1, Str(I::IDS_PROFILE_GROUPBOX_PresetFormats));
    Make(b, TControlKind::Check, use, presets, 0, Str(I::IDS_PROFILE_LABEL_UsePresetFormats));
    TControl& types = Make(b, TControlKind::RadioGroup, type, presets, 1, Str(I::IDS_PROFILE_GROUPBOX_Type));
    types.Items = {QStringLiteral("VCD"), QStringLiteral("SVCD"), QStringLiteral("DVD")};
    TControl& targets =
        Make(b, TControlKind::RadioGroup, target, presets, 1, Str(I::IDS_PROFILE_LABEL_TargetFormat));
    targets.Items =
        Texts({I::IDS_PROFILE_RADIOBUTTON_Auto, I::IDS_PROFILE_LABEL_Ntsc, I::IDS_PROFILE_LABEL_Pal});
    BindCheck(b, use, QStringLiteral("UsePresetFormats"));
    BindIndex(b, type, QStringLiteral("PresetType"));
    BindIndex(b, target, QStringLiteral("TargetFormat"));

    ListGroup(b, QStringLiteral("GroupBoxVideoCode"), I::IDS_PROFILE_GROUPBOX_VideoCodec, video,
              ListedTexts(b.Def.Video), QStringLiteral("VideoCodec"), 2);
    const QString stack = QStringLiteral("AudioCodec");
    ListGroup(b, group1, I::IDS_PROFILE_GROUPBOX_AudioCodec, audio1,
              Texts({I::IDS_PROFILE_PAGECONTROL_Mp2, I::IDS_PROFILE_PAGECONTROL_Mp3}),
              QStringLiteral("AudioCodecMPEG1"), 2, stack, Str(I::IDS_PROFILE_PAGECONTROL_Mpeg1));
    ListGroup(b, group2, I::IDS_PROFILE_GROUPBOX_AudioCodec, audio2,
              Texts({I::IDS_PROFILE_PAGECONTROL_Ac3, I::IDS_PROFILE_PAGECONTROL_Mp2,
                     I::IDS_PROFILE_PAGECONTROL_Mp3}),
              QStringLiteral("AudioCodecMPEG2"), 2, stack, Str(I::IDS_PROFILE_PAGECONTROL_Mpeg2));
    m->C(group2).Front = false;
    SameQualityAndDisableAudio(b, 3);
    const THandler dvdRules = BuildDvdPage(b);

    const QString audioPages = b.N.AudioPages;
    const QString audioTab = b.N.AudioTab;
    const THandler presetRule = [=] {
        const bool usePresets = m->C(use).Checked;
        const bool audioOff = m->C(disable).Checked;
        m->SetEnabled(type, usePresets);
        m->SetEnabled(target, usePresets);
        for (const char* group : {"GroupBoxVideoCode", "GroupBoxAudioCodecMpeg1", "GroupBoxAudioCodecMpeg2",
                                  "GroupBoxSameQuality", "GroupBoxDisableAudio"})
            m->SetVisible(QString::fromLatin1(group), !usePresets);
        for (const QString& name : {group1, audio1, group2, audio2})
            m->SetEnabled(name, !audioOff);
        const int presetType = m->C(type).ItemIndex;
        m->SetVisible(VideoTab, !usePresets);
        m->SetVisible(audioTab, !usePresets && !audioOff);
        m->SetVisible(QStringLiteral("TabSheetDVD"), usePresets && presetType != 0 && presetType != 1);
    };
    const THandler groupRule = [=] {
        const int index = m->C(video).ItemIndex;
        if (index == 0)
            m->BringToFront(group1);
        else if (index == 1)
            m->BringToFront(group2);
    };
    const THandler pageRule = [=] {
        const int index = m->C(video).ItemIndex;
        m->SetActivePage(VideoPages, PageAt(*m, VideoPages, index));
        // The MPEG-1 list starts at the Mp2 page, the MPEG-2 list at the AC3 page.
        if (index == 0)
            m->SetActivePage(audioPages, PageAt(*m, audioPages, m->C(audio1).ItemIndex + 1));
        else if (index == 1)
            m->SetActivePage(audioPages, PageAt(*m, audioPages, m->C(audio2).ItemIndex));
    };
    OnAll(b, {use, disable}, TControlEvent::Click, presetRule);
    OnAll(b, {type, target}, TControlEvent::Change, presetRule);
    m->On(video, TControlEvent::Change, groupRule);
    OnAll(b, {video, audio1, audio2}, TControlEvent::Change, pageRule);
    b.PageRules = {dvdRules, presetRule, groupRule, pageRule};
}

// ---- Audio formats --------------------------------------------------------------------------------

void BuildAudioOnly(TBuild& b) {
    TEditorModel* m = &b.M;
    const QString audio = b.N.AudioCodec;
    const QString audioPages = b.N.AudioPages;
    ListGroup(b, b.N.AudioCodecGroup, Ids::IDS_PROFILE_GROUPBOX_AudioCodec, audio, ListedTexts(b.Def.Audio),
              QStringLiteral("AudioCodec"), 1);
    const THandler pageRule = [=] {
        m->SetActivePage(audioPages, PageAt(*m, audioPages, m->C(audio).ItemIndex));
    };
    m->On(audio, TControlEvent::Change, pageRule);
    b.PageRules = {pageRule};
}

} // namespace

void BuildGeneral(TBuild& b) {
    switch (b.Def.General) {
    case TGeneralKind::Video:
        return BuildStandard(b, false);
    case TGeneralKind::Mp4:
        return BuildStandard(b, true);
    case TGeneralKind::Tgp:
        return BuildTgp(b);
    case TGeneralKind::Mpeg:
        return BuildMpeg(b);
    case TGeneralKind::Audio:
        return BuildAudioOnly(b);
    }
}
