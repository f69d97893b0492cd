// The codec page templates: one video page and one audio page, placed once per codec page of
// every editor. The modern codecs' own groups are in moderngroups.cpp.
#include "profiles/editor/editorparts.h"

namespace {

void BuildHeading(TBuild& b, const QString& page, const QString& heading, const QString& line, Ids text) {
    Make(b, TControlKind::Label, heading, page, 0, Heading(text)).Emphasis = true;
    Make(b, TControlKind::Line, line, page, 1);
}

// The fixed sizes of an H263 page.
struct TH263Size {
    const char* Name;
    int Width;
    int Height;
};
const TH263Size H263Sizes[] = {{"RadioButtonVideoSize128_96H263", 128, 96},
                               {"RadioButtonVideoSize176_144H263", 176, 144},
                               {"RadioButtonVideoSize352_288H263", 352, 288}};

void BuildH263Size(TBuild& b, const QString& group, const QString& key) {
    TEditorModel* m = &b.M;
    auto rec = b.Rec;
    int row = 0;
    for (const TH263Size& size : H263Sizes) {
        MakeRadio(b, QString::fromLatin1(size.Name), group, row++,
                  QStringLiteral("%1 x %2").arg(size.Width).arg(size.Height), group, size.Width == 352);
    }
    const QString width = QStringLiteral("VideoWidth") + key, height = QStringLiteral("VideoHeight") + key;
    m->Bind(
        [=] {
            for (const TH263Size& size : H263Sizes) {
                if (rec->Int(width) == size.Width && rec->Int(height) == size.Height)
                    m->SetChecked(QString::fromLatin1(size.Name), true);
            }
        },
        [=] {
            for (const TH263Size& size : H263Sizes) {
                if (m->C(QString::fromLatin1(size.Name)).Checked) {
                    rec->SetInt(width, size.Width);
                    rec->SetInt(height, size.Height);
                    return;
                }
            }
        });
}

void BuildSizeGroup(TBuild& b, const TVideoPageDef& def, const QString& group) {
    TEditorModel* m = &b.M;
    const QString s = def.Suffix;
    const QString keep = Named(QStringLiteral("RadioButtonKeepSourceSize%1"), s);
    const QString change = Named(QStringLiteral("RadioButtonChangVideoSize%1"), s);
    const QString list = Named(QStringLiteral("ComboBoxVideoSize%1"), s);
    const QString width = Named(QStringLiteral("EditVideoWidth%1"), s);
    const QString height = Named(QStringLiteral("EditVideoHeight%1"), s);
    const QString dimensions = Named(QStringLiteral("LabelVideoDimensions%1"), s);
    const QString widthLabel = Named(QStringLiteral("LabelVideoWidth%1"), s);
    const QString heightLabel = Named(QStringLiteral("LabelVideoHeight%1"), s);
    const QString x = Named(QStringLiteral("LabelX%1"), s);

    MakeRadio(b, keep, group, 0, Str(Ids::IDS_PROFILE_RADIOBUTTON_KeepSource), group, true);
    MakeRadio(b, change, group, 1, Str(Ids::IDS_PROFILE_RADIOBUTTON_Change), group);
    QStringList items;
    for (const TSizePreset& preset : def.Sizes->Presets)
        items << SizeText(*def.Sizes, preset);
    items << QStringLiteral("...");
    MakeBuddy(b, dimensions, group, 2, Str(Ids::IDS_PROFILE_LABEL_VideoDimensions), list);
    MakeList(b, list, group, 2, items);
    for (const auto& [label, field, text] :
         {std::tuple{widthLabel, width, Ids::IDS_PROFILE_LABEL_Width},
          std::tuple{heightLabel, height, Ids::IDS_PROFILE_LABEL_Height}}) {
        MakeBuddy(b, label, group, 3, Str(text), field);
        TControl& spin = Make(b, TControlKind::Spin, field, group, 3);
        spin.Min = 2;
        spin.Max = def.MaxSize;
        spin.Step = 2;
        spin.Position = 2;
        if (field == width)
            Make(b, TControlKind::Label, x, group, 3, QStringLiteral("X"));
    }

    const THandler mode =
        EnableWhen(b, {width, height, widthLabel, heightLabel, x, dimensions, list}, change);
    OnAll(b, {keep, change}, TControlEvent::Click, mode);
    b.VideoModes.push_back(mode);

    const TSizeList* sizes = def.Sizes;
    m->On(list, TControlEvent::Change, [=] {
        const int index = m->C(list).ItemIndex;
        if (index < 0 || index >= static_cast<int>(sizes->Presets.size()))
            return;
        m->SetPosition(width, sizes->Presets[index].Width);
        m->SetPosition(height, sizes->Presets[index].Height);
    });
    const THandler toPreset = [=] {
        const int w = m->C(width).Position, h = m->C(height).Position;
        int index = static_cast<int>(sizes->Presets.size());
        for (int i = 0; i < static_cast<int>(sizes->Presets.size()); ++i) {
            if (sizes->Presets[i].Width == w && sizes->Presets[i].Height == h) {
                index = i;
                break;
            }
        }
        m->SetItemIndex(list, index);
    };
    OnAll(b, {width, height}, TControlEvent::Change, toPreset);
    if (def.EvenSize) {
        for (const QString& field : {width, height}) {
            m->On(field, TControlEvent::Exit, [=] {
                const int value = m->C(field).Position;
                if (value % 2 != 0)
                    m->SetPosition(field, value + 1);
            });
        }
    }

    BindPair(b, keep, change, QStringLiteral("VideoSizeUseSource") + def.Key);
    BindSpin(b, width, QStringLiteral("VideoWidth") + def.Key);
    BindSpin(b, height, QStringLiteral("VideoHeight") + def.Key);
}

} // namespace

void BuildVideoPage(TBuild& b, const TVideoPageDef& def, const QString& pageControl) {
    const QString s = def.Suffix;
    const QString k = def.Key;
    const QString page = def.Page;
    const QString hs = def.HeadingSuffix.isEmpty() ? s : def.HeadingSuffix;
    TControl& pageControlPage = Make(b, TControlKind::Page, page, pageControl, 0, Str(def.Text));
    pageControlPage.Visible = false;
    pageControlPage.AccessibleName = Str(def.Text);
    BuildHeading(b, page, QStringLiteral("lab") + hs, QStringLiteral("Line") + hs, def.Text);

    // Modern codecs put their constant quality and speed first; the other groups follow a row lower.
    int row = 2;
    THandler qualityMode;
    if (def.Qualities)
        qualityMode = BuildQualityAndSpeed(b, def, page, row++);
    b.VideoModes.push_back(BuildVideoBitrate(b, VideoBitrateNames(s), page, row, *def.Bitrates, def.TrackMax,
                                             QStringLiteral("Video"), k, 2));
    if (qualityMode)
        b.VideoModes.push_back(qualityMode);

    // Size group.
    const QString size = Named(QStringLiteral("GroupBoxVideoSize%1"), s);
    Make(b, TControlKind::Group, size, page, row, Str(Ids::IDS_PROFILE_GROUPBOX_VideoSize));
    if (def.Sizes)
        BuildSizeGroup(b, def, size);
    else
        BuildH263Size(b, size, k);

    // Frame-rate group.
    const QString frame = Named(QStringLiteral("GroupBoxVideoFrameRate%1"), s);
    const QString keepRate = Named(QStringLiteral("RadioButtonKeepFrameRate%1"), s);
    const QString changeRate = Named(QStringLiteral("RadioButtonChangeFrameRate%1"), s);
    const QString rates = Named(QStringLiteral("ComboBoxVideoFrameRate%1"), s);
    Make(b, TControlKind::Group, frame, page, row + 1, Str(Ids::IDS_PROFILE_GROUPBOX_FrameRate));
    MakeRadio(b, keepRate, frame, 0, Str(Ids::IDS_PROFILE_RADIOBUTTON_Auto), frame, true);
    MakeRadio(b, changeRate, frame, 1, Str(Ids::IDS_PROFILE_RADIOBUTTON_changeFrame), frame);
    MakeList(b, rates, frame, 1, *def.FrameRates);
    const THandler frameMode = EnableWhen(b, {rates}, changeRate);
    OnAll(b, {keepRate, changeRate}, TControlEvent::Click, frameMode);
    b.VideoModes.push_back(frameMode);
    BindPair(b, keepRate, changeRate, QStringLiteral("VideoKeepFrameRate") + k);
    BindIndex(b, rates, QStringLiteral("VideoFrameRate") + k);

    // Aspect group: Auto, 4:3, 16:9; the H263 page also 1:1 and 11:9.
    const QString aspect = Named(QStringLiteral("GroupBoxAspect%1"), s);
    Make(b, TControlKind::Group, aspect, page, row + 1, Str(Ids::IDS_PROFILE_GROUPBOX_Aspect));
    std::vector<std::pair<QString, int>> codes;
    struct TAspect {
        const char* Role;
        const char* Text;
    };
    const std::vector<TAspect> aspects =
        def.Sizes
            ? std::vector<TAspect>{{"AutoSetAspect", nullptr}, {"Aspect43", "4:3"}, {"Aspect169", "16:9"}}
            : std::vector<TAspect>{{"AutoSetAspect", nullptr},
                                   {"Aspect11", "1:1"},
                                   {"Aspect43", "4:3"},
                                   {"Aspect119", "11:9"},
                                   {"Aspect169", "16:9"}};
    for (const TAspect& a : aspects) {
        const QString name = QStringLiteral("RadioButton") + QString::fromLatin1(a.Role) + s;
        const QString text = a.Text ? QString::fromLatin1(a.Text) : Str(Ids::IDS_PROFILE_RADIOBUTTON_Auto);
        MakeRadio(b, name, aspect, 0, text, aspect, codes.empty());
        codes.emplace_back(name, static_cast<int>(codes.size()));
    }
    BindCodes(b, codes, QStringLiteral("VideoAspect") + k);
}

void BuildAudioPage(TBuild& b, const TAudioPageDef& def, const QString& pageControl) {
    TEditorModel* m = &b.M;
    const TNames& n = b.N;
    const QString s = def.Suffix;
    const QString k = def.Key;
    TControl& page = Make(b, TControlKind::Page, def.Page, pageControl, 0, Str(def.Text));
    page.Visible = false;
    page.AccessibleName = Str(def.Text);
    BuildHeading(b, def.Page, Named(n.Heading, s), Named(n.Line, s), def.Text);

    const QString channelsGroup = Named(n.ChannelsGroup, s), channels = Named(n.Channels, s);
    const QString rateGroup = Named(n.RateGroup, s), rate = Named(n.Rate, s);
    Make(b, TControlKind::Group, channelsGroup, def.Page, 2, Str(Ids::IDS_PROFILE_GROUPBOX_Channels));
    MakeList(b, channels, channelsGroup, 0,
             def.Modern ? ChannelTexts(def.ModernChannels)
                        : Texts({Ids::IDS_PROFILE_GROUPBOX_Channels_1, Ids::IDS_PROFILE_GROUPBOX_Channels_2,
                                 Ids::IDS_PROFILE_GROUPBOX_Channels_6})
                              .mid(0, def.Channels));
    BindIndex(b, channels, QStringLiteral("AudioChannels") + k);
    if (def.Modern) {
        BuildModernAudio(b, def, rateGroup, rate);
        return;
    }
    Make(b, TControlKind::Group, rateGroup, def.Page, 2, Str(Ids::IDS_PROFILE_GROUPBOX_SampleRate)).Stack =
        rateGroup;
    QStringList rates;
    for (int value : *def.SampleRates)
        rates << QString::number(value);
    MakeList(b, rate, rateGroup, 0, rates);
    // The 5.1 choice hides the sample-rate list behind a fixed 48000.
    const QString sixGroup = rateGroup + QStringLiteral("_6Channels");
    if (def.Channels == 3) {
        TControl& six =
            Make(b, TControlKind::Group, sixGroup, def.Page, 2, Str(Ids::IDS_PROFILE_GROUPBOX_SampleRate));
        six.Stack = rateGroup;
        six.Front = false;
        Make(b, TControlKind::Label, QStringLiteral("lab48000kHz") + s, sixGroup, 0, QStringLiteral("48000"));
    }
    BindIndex(b, rate, QStringLiteral("AudioSampleRate") + k);
    if (!def.Bitrates)
        return;

    const QString track = Named(n.Track, s);
    b.AudioRules.push_back(BuildPageBitrate(b, def));

    if (def.Ranges) {
        const THandler range = RangeByRate(b, rate, *def.SampleRates, track, *def.Ranges);
        m->On(rate, TControlEvent::Change, range);
        b.AudioRules.push_back(range);
        if (def.Channels == 3) {
            const THandler channelRule = [=] {
                if (m->C(channels).ItemIndex == 2) {
                    m->BringToFront(sixGroup);
                    m->SetRange(track, 6, 14);
                } else {
                    m->BringToFront(rateGroup);
                    range();
                }
            };
            m->On(channels, TControlEvent::Change, channelRule);
            b.AudioRules.push_back(channelRule);
        }
    }
}
