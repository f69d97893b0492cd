#include "terminal_view.h"

#include <QFileInfo>

TTerminalView::TTerminalView(std::FILE* progress, std::FILE* errors, bool interactive)
    : m_out(progress), m_err(errors), m_interactive(interactive) {}

void TTerminalView::print(std::FILE* to, const QString& line) {
    std::fputs(line.toLocal8Bit().constData(), to);
    std::fputc('\n', to);
    std::fflush(to);
}

void TTerminalView::endLiveLine() {
    if (!m_liveLine)
        return;
    std::fputc('\n', m_out);
    std::fflush(m_out);
    m_liveLine = false;
}

void TTerminalView::redraw() {
    if (m_working.isEmpty())
        return;
    const QString line = QStringLiteral("%1 | file %2% (%3 left) | batch %4% (estimated %5, %6 left)")
                             .arg(m_working)
                             .arg(m_filePercent)
                             .arg(m_fileRemaining)
                             .arg(m_batchPercent)
                             .arg(m_batchEstimated, m_batchRemaining);
    if (m_interactive) {
        // Carriage return and "erase to end of line": the line updates in place.
        std::fputs(("\r" + line + "\x1b[K").toLocal8Bit().constData(), m_out);
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

void TTerminalView::ResetDisplays() {
    m_filePercent = 0;
    m_batchPercent = 0;
    m_fileRemaining = m_batchEstimated = m_batchRemaining = QStringLiteral("0:00:00");
    m_working.clear();
}

void TTerminalView::SetWorking(const QString& text) {
    if (text == m_working)
        return;
    endLiveLine();
    m_working = text;
    m_filePercent = 0;
    m_fileRemaining = QStringLiteral("0:00:00");
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
}

void TTerminalView::FileBooked(const TFileOutcome& outcome) {
    endLiveLine();
    if (outcome.converted)
        print(m_out, QStringLiteral("Converted: %1 -> %2").arg(outcome.source, outcome.output));
    else
        print(m_out, QStringLiteral("Failed: %1").arg(outcome.source));
    m_working.clear();
}

int TTerminalView::RunProgress() {
    const int result = m_loop.exec();
    endLiveLine();
    return result;
}

void TTerminalView::CloseProgress(int modalResult) {
    m_loop.exit(modalResult);
}
