#include "ui/main/mediapanel.h"

#include "lang/strings.h"
#include "media/fileinfo.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <array>

namespace {

// Caption label names in the order of kMediaPanelFields; each value label is the name + "Text".
constexpr std::array<const char*, 15> kCaptionNames = {
    "lblCompleteName", "lblPlayTime", "lblFormat",  "lblAudioCount", "lblVideoCount",
    "lblCodec",        "lblWidth",    "lblHeight",  "lblBitrates",   "lblAspectRatio",
    "lblFrameRate",    "lblCodecs",   "lblBitrate", "lblChannels",   "lblSamplingRate"};
static_assert(kCaptionNames.size() == kMediaPanelFields.size());

struct Heading {
    TPanelGroup group;
    const char* name;
    Ids caption;
};
constexpr std::array<Heading, 3> kHeadings = {{
    {TPanelGroup::General, "lblGeneral", Ids::IDS_MAIN_LABEL_General},
    {TPanelGroup::Video, "lblVideo", Ids::IDS_MAIN_LABEL_Video},
    {TPanelGroup::Audio, "lblAudio", Ids::IDS_MAIN_LABEL_Audio},
}};

// A heading without its colon, to prefix the captions it groups ("Video Codec:").
QString HeadingWord(const QString& heading) {
    QString word = heading.trimmed();
    if (word.endsWith(QLatin1Char(':')))
        word.chop(1);
    return word;
}

} // namespace

TMediaPanel::TMediaPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("pnlMediaInfo"));
    setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    int row = 0;
    for (const Heading& heading : kHeadings) {
        auto* title = new QLabel(this);
        title->setObjectName(QLatin1String(heading.name));
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        grid->addWidget(title, row++, 0, 1, 4);
        m_headings << title;

        QList<int> fields;
        for (int i = 0; i < int(kMediaPanelFields.size()); ++i) {
            if (kMediaPanelFields[size_t(i)].group == heading.group)
                fields << i;
        }
        // The left column takes the first half (rounded up), the right column the rest, level
        // with the last rows of the left one; a left value without a neighbour spans the row.
        const int left = int(fields.size() + 1) / 2;
        const int right = int(fields.size()) - left;
        for (int k = 0; k < int(fields.size()); ++k) {
            const int field = fields[k];
            const bool isLeft = k < left;
            const int gridRow = row + (isLeft ? k : left - right + (k - left));
            const int column = isLeft ? 0 : 2;
            const bool alone = isLeft && k < left - right;
            auto* caption = new QLabel(this);
            caption->setObjectName(QLatin1String(kCaptionNames[size_t(field)]));
            auto* value = new QLabel(Str(Ids::IDS_SuspensionPoint), this);
            value->setObjectName(QLatin1String(kCaptionNames[size_t(field)]) + QStringLiteral("Text"));
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            value->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            value->setMinimumWidth(60);
            grid->addWidget(caption, gridRow, column);
            grid->addWidget(value, gridRow, column + 1, 1, alone ? 3 : 1);
            m_captions << caption;
            m_values << value;
        }
        row += left;
    }
    // The captions and values were made group by group, which is the order of the field table.

    btnMore = new QPushButton(this);
    btnMore->setObjectName(QStringLiteral("btnMore"));
    btnMore->setFlat(true);
    btnMore->setCursor(Qt::PointingHandCursor);
    btnMore->setStyleSheet(QStringLiteral("QPushButton { color: palette(link); text-decoration: underline;"
                                          " border: none; padding: 2px; }"));
    grid->addWidget(btnMore, row, 3, Qt::AlignRight);
    ApplyCaptions();
}

void TMediaPanel::ApplyCaptions() {
    for (int i = 0; i < int(kHeadings.size()); ++i)
        m_headings[i]->setText(Str(kHeadings[size_t(i)].caption));
    for (int i = 0; i < int(m_captions.size()); ++i) {
        const TMediaPanelField& field = kMediaPanelFields[size_t(i)];
        const QString caption = Str(field.caption);
        m_captions[i]->setText(caption);
        // Two groups share "Codec:" and "Bitrate:": names for screen readers and tests from
        // outside carry the group ("Video Codec:"), and each value is described by its caption.
        const QString heading = HeadingWord(Str(kHeadings[size_t(field.group)].caption));
        const QString full = heading + QLatin1Char(' ') + caption;
        m_captions[i]->setAccessibleName(full);
        m_values[i]->setAccessibleDescription(full);
    }
    btnMore->setText(Str(Ids::IDS_MAIN_LABEL_More));
}

void TMediaPanel::ShowMediaPanel(const TFileItem* item) {
    const QStringList values = MediaPanelValues(item);
    for (int i = 0; i < int(m_values.size()); ++i) {
        m_values[i]->setText(values.value(i));
        m_values[i]->setToolTip(values.value(i));
    }
}
