#include "engine/engine_parser.h"

#include "app/byte_names.h"
#include "app/utils.h"
#include "engine/clock.h"
#include "engine/progress_view.h"
#include "lang/strings.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

const QString kInputMark = QStringLiteral("Input #0, ");
const QString kOutputMark = QStringLiteral("Output #0, ");
const QString kDurationMark = QStringLiteral("  Duration: ");
const QString kNotAvailable = QStringLiteral("N/A");
const QString kNoPosition = QStringLiteral("10000000000.0");

// The engine's clock text "h:mm:ss.ff" in milliseconds; false when the text is no clock text
// (such a value leaves its field unchanged).
bool readClockText(const QString& text, int64_t& ms) {
    static const QRegularExpression shape(QStringLiteral(R"(^\d+:\d+:\d+(\.\d*)?$)"));
    if (!shape.match(text).hasMatch())
        return false;
    ms = ClockTextToMs(text);
    return true;
}

// Rounds to the nearest integer, ties to even, kept within 32 bits.
int32_t roundEven32(double value) {
    const double r = std::nearbyint(value);
    if (!(r > std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (r > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(r);
}

int32_t clampTo32(int64_t value) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

QString fileNamePart(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

TEngineOutputParser::TEngineOutputParser(TBatchRunState& run, IProgressView& view, const IClock& clock)
    : m_batch(run), m_run(run), m_view(view), m_clock(clock) {}

TEngineOutputParser::TEngineOutputParser(TBatchRunState& run, TFileRunState& file, int place,
                                         std::function<int64_t()> othersProcessed, IProgressView& view,
                                         const IClock& clock)
    : m_batch(run), m_run(file), m_place(place), m_othersProcessed(std::move(othersProcessed)), m_view(view),
      m_clock(clock) {}

int64_t TEngineOutputParser::FileProcessedBytes() const {
    return (m_run.CurrentBytes * m_run.FilePercent) / 100;
}

void TEngineOutputParser::BeginFile(const QString& optionsText, int ordinal) {
    m_decoder.resetState();
    m_failures.clear();
    m_ordinal = ordinal;
    m_status = Str(Ids::IDS_CONVERTING_Status) + QStringLiteral("0%");
    m_remaining = DurationText(0);
    m_windowDurationMs = -1;
    m_windowStartMs = 0;
    // The time window is searched in the options text only: a file name that happens to hold
    // " -t " must not be taken for it.
    if (optionsText.contains(QStringLiteral(" -t ")) || optionsText.startsWith(QStringLiteral("-t "))) {
        const QString padded = QLatin1Char(' ') + optionsText;
        int64_t duration = 0;
        int64_t start = 0;
        if (readClockText(ExtractBetween(padded, QStringLiteral(" -t "), QStringLiteral(" -ss ")),
                          duration)) {
            readClockText(ExtractBetween(padded, QStringLiteral(" -ss "), QStringLiteral(" ")), start);
            m_windowDurationMs = duration;
            m_windowStartMs = start;
        }
    }
}

void TEngineOutputParser::ParseEngineOutput(const char* bytes, int64_t count, bool processEnded) {
    // The text ends early at a zero byte. The decoder keeps a character split across blocks.
    // An empty block may come without a buffer (the final drain).
    const char* zero =
        count > 0 ? static_cast<const char*>(std::memchr(bytes, 0, static_cast<size_t>(count))) : nullptr;
    const int64_t length = zero ? zero - bytes : std::max<int64_t>(count, 0);
    QString text = m_decoder.decode(QByteArrayView(bytes, length));
    if (processEnded)
        text += m_decoder.decode(QByteArrayView()); // nothing more will complete a split character

    text.prepend(m_run.PartialLine);
    m_run.PartialLine.clear();

    // Every CR LF pair, lone CR and lone LF ends a line.
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineBreak);
    if (!processEnded)
        m_run.PartialLine = lines.takeLast(); // text after the last break waits for the next block
    for (const QString& line : std::as_const(lines))
        HandleLine(line);
}

void TEngineOutputParser::FlushEngineOutput() {
    if (m_run.PartialLine.isEmpty())
        return;
    const QString line = m_run.PartialLine;
    m_run.PartialLine.clear();
    HandleLine(line);
}

bool TEngineOutputParser::IsFailureLine(const QString& line) {
    if (line.contains(QStringLiteral("No audio or video streams available")) ||
        line.contains(QStringLiteral("I/O error occured")) || line.contains(QStringLiteral("Could not open")))
        return true;
    return line.startsWith(QStringLiteral("Error")) &&
           !line.startsWith(QStringLiteral("Error while decoding stream"));
}

void TEngineOutputParser::readNames(const QString& line) {
    if (line.contains(kInputMark)) {
        const QString name = ExtractBetween(line, QStringLiteral("from '"), QStringLiteral("':"));
        if (name != kNotAvailable)
            m_run.EngineInputName = name;
        // When the engine reads the AviSynth script, the source is the file being converted.
        if (QFileInfo(m_run.EngineInputName).suffix().compare(QStringLiteral("avs"), Qt::CaseInsensitive) ==
            0)
            m_run.EngineInputName = m_run.CurrentInput;
    }
    if (line.contains(kOutputMark)) {
        const QString name = ExtractBetween(line, QStringLiteral("to '"), QStringLiteral("':"));
        if (name != kNotAvailable)
            m_run.EngineOutputName = name;
    }
}

void TEngineOutputParser::readDuration(const QString& line) {
    if (line.startsWith(kDurationMark)) {
        const qsizetype comma = line.indexOf(QLatin1Char(','));
        const QString value = TrimControls(
            line.mid(kDurationMark.size() - 1, comma < 0 ? -1 : comma - kDurationMark.size() + 1));
        int64_t ms = 0;
        if (value != kNotAvailable && readClockText(value, ms))
            m_run.DurationMs = clampTo32(ms);
    }
    // A time window shorter than the source limits the expected duration.
    if (m_windowDurationMs >= 0 && m_windowDurationMs + m_windowStartMs < m_run.DurationMs)
        m_run.DurationMs = clampTo32(m_windowDurationMs);
}

void TEngineOutputParser::readTime(const QString& line) {
    if (!line.contains(QStringLiteral(" time=")))
        return;
    const QString value = ExtractBetween(line, QStringLiteral(" time="), QStringLiteral(" "));
    if (value == kNotAvailable)
        return;
    if (value == kNoPosition) {
        m_run.TimeMs = 0;
        return;
    }
    bool ok = false;
    const double seconds = value.toDouble(&ok);
    // A time before the start, as FFmpeg reports before the first frame of some sources (our
    // engine passes it on as N/A, an engine line may still carry one), is no position yet, like
    // the time written while there is none: no percentage below zero.
    if (ok && std::isfinite(seconds))
        m_run.TimeMs = seconds > 0 ? roundEven32(seconds * 1000.0) : 0;
}

void TEngineOutputParser::showBatchEstimate(int64_t elapsedMs) {
    // The remaining work over the throughput measured so far: with several files in flight the
    // processed bytes count each by its own percentage.
    const double total = static_cast<double>(m_batch.TotalBytes) * static_cast<double>(elapsedMs) /
                         static_cast<double>(m_batch.ProcessedBytes);
    const int64_t estimated = static_cast<int64_t>(total);
    m_view.SetBatchEstimated(DurationText(estimated));
    m_view.SetBatchRemaining(DurationText(estimated - elapsedMs));
}

void TEngineOutputParser::showBatchPercent() {
    m_view.SetBatchStatus(Str(Ids::IDS_ID_BATCH) + QString::number(m_batch.BatchPercent) + QLatin1Char('%'),
                          m_batch.BatchPercent);
}

void TEngineOutputParser::showProgress() {
    const QDateTime now = m_clock.Now();
    const int64_t elapsed = m_batch.BatchStartTime.msecsTo(now);
    m_view.SetBatchElapsed(DurationText(elapsed));
    if (m_run.DurationMs == 0 || m_run.TimeMs == 0)
        return;

    m_run.FilePercent = std::min(100, roundEven32(double(m_run.TimeMs) / double(m_run.DurationMs) * 100.0));
    const QString status =
        Str(Ids::IDS_CONVERTING_Status) + QString::number(m_run.FilePercent) + QLatin1Char('%');
    const int64_t fileElapsed = m_run.FileStartTime.msecsTo(now);
    const double fileLength = double(m_run.DurationMs) * double(fileElapsed) / double(m_run.TimeMs);
    const QString remaining = DurationText(static_cast<int64_t>(fileLength) - fileElapsed);
    if (SharesDisplay()) {
        m_status = status;
        m_remaining = remaining;
    } else {
        m_view.SetFileStatus(status, m_run.FilePercent);
        m_view.SetFileRemaining(remaining);
    }

    m_batch.ProcessedBytes =
        m_batch.DoneBytes + FileProcessedBytes() + (m_othersProcessed ? m_othersProcessed() : 0);
    if (m_batch.ProcessedBytes == 0 || m_batch.TotalBytes == 0)
        return;
    m_batch.BatchPercent =
        std::min(100, roundEven32(double(m_batch.ProcessedBytes) / double(m_batch.TotalBytes) * 100.0));
    showBatchPercent();
    showBatchEstimate(elapsed);
}

void TEngineOutputParser::showFileRow(const QString& input) {
    TFileProgress row;
    row.source = m_run.CurrentInput;
    row.working =
        FormatStr(Str(Ids::IDS_ID_WORKING),
                  {QString::number(m_ordinal), QString::number(m_batch.TotalCount), fileNamePart(input)});
    if (!m_run.EngineOutputName.isEmpty())
        row.output = FormatStr(Str(Ids::IDS_LABEL_OutputFile), {fileNamePart(m_run.EngineOutputName)});
    row.status = m_status;
    row.percent = m_run.FilePercent;
    row.remaining = m_remaining;
    m_view.SetFileProgress(m_place, row);
}

void TEngineOutputParser::HandleLine(const QString& line) {
    if (!m_active || TrimControls(line).isEmpty())
        return;
    readNames(line);
    readDuration(line);
    readTime(line);
    showProgress();

    // Until the engine has named its input, the file being converted is the one shown.
    const QString input = m_run.EngineInputName.isEmpty() ? m_run.CurrentInput : m_run.EngineInputName;
    if (SharesDisplay()) {
        showFileRow(input);
    } else {
        m_view.SetWorking(
            FormatStr(Str(Ids::IDS_ID_WORKING), {QString::number(m_batch.DoneCount + m_batch.FailedCount + 1),
                                                 QString::number(m_batch.TotalCount), fileNamePart(input)}));
        m_view.SetOutput(FormatStr(Str(Ids::IDS_LABEL_OutputFile), {fileNamePart(m_run.EngineOutputName)}));
    }
    if (!*m_animationRunning) {
        *m_animationRunning = true;
        m_view.StartAnimation(Str(Ids::IDS_CONVERTING_LABEL_Converting));
    }
    // With several files at once no one file stands for the batch: the hint shows the batch's
    // percentage as the window's title does.
    m_view.SetTrayHint(
        SharesDisplay()
            ? FormatStr(Str(Ids::IDS_CONVERTING_TitlePercent),
                        {QString::number(m_batch.BatchPercent), Str(Ids::IDS_ID_EncodingInProgress)})
            : FormatStr(Str(Ids::IDS_MAIN_MENUITEM_Hint),
                        {ByteNames().Display(m_run.EngineInputName), QString::number(m_run.FilePercent)}));

    if (IsFailureLine(line)) {
        m_run.FileFailed = true;
        const QString shown = ByteNames().DisplayText(line);
        m_failures << TrimControls(shown);
        m_view.ShowFileError(m_run.CurrentInput, shown);
    }
}

void TEngineOutputParser::UpdateBatchProgressAtFileEnd() {
    // This file's bytes count fully from now on; the others in flight by their percentages.
    m_batch.DoneBytes += m_run.CurrentBytes;
    m_batch.ProcessedBytes = m_batch.DoneBytes + (m_othersProcessed ? m_othersProcessed() : 0);
    m_batch.BatchPercent =
        m_batch.TotalBytes == 0 ? 0 : clampTo32((100 * m_batch.ProcessedBytes) / m_batch.TotalBytes);
    showBatchPercent();
    if (m_batch.ProcessedBytes > 0)
        showBatchEstimate(m_batch.BatchStartTime.msecsTo(m_clock.Now()));
}
