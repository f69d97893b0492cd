#include "terminal_view.h"

#include "app/byte_names.h"
#include "app/utils.h"
#include "lang/strings.h"
#include "terminal_text.h"

#include <QFileInfo>

TTerminalView::TTerminalView(std::FILE* progress, std::FILE* errors, bool interactive)
    : m_out(progress), m_err(errors), m_interactive(interactive) {}

void TTerminalView::print(std::FILE* to, const QString& line) {
    std::fputs(TerminalLine(line).toLocal8Bit().constData(), to);
    std::fputc('\n', to);
    std::fflush(to);
}

QString TTerminalView::fileLine(const QString& working, int percent, const QString& remaining) const {
    return FormatStr(Str(Ids::IDS_CLI_FileProgress), {working, QString::number(percent), remaining});
}

QString TTerminalView::batchLine() const {
    return FormatStr(Str(Ids::IDS_CLI_BatchProgress),
                     {QString::number(m_batchPercent), m_batchEstimated, m_batchRemaining});
}

void TTerminalView::endLiveLine() {
    if (m_liveRows > 0) {
        // Up to the block's first line, and everything from there erased.
        std::fprintf(m_out, "\x1b[%dA\r\x1b[J", m_liveRows);
        std::fflush(m_out);
        m_liveRows = 0;
    }
    if (!m_liveLine)
        return;
    std::fputc('\n', m_out);
    std::fflush(m_out);
    m_liveLine = false;
}

void TTerminalView::redraw() {
    if (m_working.isEmpty())
        return;
    const QString line =
        fileLine(m_working, m_filePercent, m_fileRemaining) + QStringLiteral(" | ") + batchLine();
    if (m_interactive) {
        // Carriage return and "erase to end of line": the line updates in place.
        std::fputs(("\r" + TerminalLine(line) + "\x1b[K").toLocal8Bit().constData(), m_out);
        std::fflush(m_out);
        m_liveLine = true;
        return;
    }
    const int step = m_filePercent / 10;
    if (step != m_lastPlainStep) {
        m_lastPlainStep = step;
        print(m_out, line);
    }
}

void TTerminalView::redrawRows() {
    if (m_interactive) {
        endLiveLine();
        QString block;
        int lines = 0;
        for (const TRow& row : std::as_const(m_rows)) {
            if (!row.active)
                continue;
            block +=
                TerminalLine(fileLine(row.working, row.percent, row.remaining)) + QStringLiteral("\x1b[K\n");
            ++lines;
        }
        block += TerminalLine(batchLine()) + QStringLiteral("\x1b[K\n");
        std::fputs(block.toLocal8Bit().constData(), m_out);
        std::fflush(m_out);
        m_liveRows = lines + 1;
        return;
    }
    for (TRow& row : m_rows) {
        if (!row.active || row.percent / 10 == row.lastPlainStep)
            continue;
        row.lastPlainStep = row.percent / 10;
        print(m_out, fileLine(row.working, row.percent, row.remaining) + QStringLiteral(" | ") + batchLine());
    }
}

void TTerminalView::ResetDisplays() {
    m_filePercent = 0;
    m_batchPercent = 0;
    m_fileRemaining = m_batchEstimated = m_batchRemaining = DurationText(0);
    m_working.clear();
    m_rows.clear();
}

void TTerminalView::SetFilesAtOnce(int count) {
    m_rows.clear();
    if (count > 1)
        m_rows.resize(count);
}

void TTerminalView::SetFileProgress(int place, const TFileProgress& progress) {
    if (place < 0 || place >= m_rows.size())
        return;
    TRow& row = m_rows[place];
    if (!row.active || row.working != progress.working)
        row.lastPlainStep = -1; // another file took the place
    row.active = true;
    row.working = progress.working;
    row.percent = progress.percent;
    row.remaining = progress.remaining;
    redrawRows();
}

void TTerminalView::ClearFileProgress(int place) {
    if (place < 0 || place >= m_rows.size())
        return;
    m_rows[place].active = false;
    if (m_interactive)
        redrawRows();
}

void TTerminalView::SetWorking(const QString& text) {
    if (text == m_working)
        return;
    endLiveLine();
    m_working = text;
    m_filePercent = 0;
    m_fileRemaining = DurationText(0);
    m_lastPlainStep = -1;
    redraw();
}

void TTerminalView::SetFileStatus(const QString&, int percent) {
    m_filePercent = percent;
}

void TTerminalView::SetBatchStatus(const QString&, int percent) {
    m_batchPercent = percent;
}

void TTerminalView::ShowEngineError(const QString& line) {
    endLiveLine();
    print(m_err, line);
    if (!m_rows.isEmpty() && m_interactive)
        redrawRows();
}

void TTerminalView::ShowFileError(const QString& source, const QString& line) {
    // With several files at once the line says whose it is.
    ShowEngineError(
        m_rows.isEmpty() ? line : QFileInfo(source).fileName() + QStringLiteral(": ") + TrimControls(line));
}

void TTerminalView::FileBooked(const TFileOutcome& outcome) {
    endLiveLine();
    if (outcome.converted)
        print(m_out,
              FormatStr(Str(Ids::IDS_CLI_Converted), {ByteNames().Display(outcome.source), outcome.output}));
    else
        print(m_out, FormatStr(Str(Ids::IDS_CLI_Failed), {ByteNames().Display(outcome.source)}));
    if (outcome.sourceFate == TSourceFate::NotRemoved)
        print(m_err, FormatStr(Str(Ids::IDS_CLI_SourceNotRemoved), {ByteNames().Display(outcome.source)}));
    m_working.clear();
    if (!m_rows.isEmpty() && m_interactive)
        redrawRows();
}

int TTerminalView::RunProgress() {
    const int result = m_loop.exec();
    endLiveLine();
    return result;
}

void TTerminalView::CloseProgress(int modalResult) {
    m_loop.exit(modalResult);
}
