#include "engine/engine_process.h"

#include <QProcessEnvironment>

TEngineProcess::TEngineProcess() {
    m_redirector.KillOnDestroy = true;
    m_redirector.SetDefaultErrorMode(true);
}

void TEngineProcess::SetHandlers(OutputHandler onOutput, EndHandler onTerminated) {
    if (onOutput) {
        // Both pipes go to the same handler, in the order the reader picked the blocks up.
        const auto data = [onOutput](TRedirector*, const char* bytes, int count) { onOutput(bytes, count); };
        m_redirector.OnStdOut = data;
        m_redirector.OnStdErr = data;
    } else {
        m_redirector.OnStdOut = nullptr;
        m_redirector.OnStdErr = nullptr;
    }
    if (onTerminated)
        m_redirector.OnTerminated = [onTerminated](TRedirector*) { onTerminated(); };
    else
        m_redirector.OnTerminated = nullptr;
}

void TEngineProcess::DetachTermination() {
    m_redirector.OnTerminated = nullptr;
}

void TEngineProcess::SetPriority(TEnginePriority priority) {
    switch (priority) {
    case TEnginePriority::Idle:
        m_redirector.SetInitialPriority(ppIdle);
        break;
    case TEnginePriority::Normal:
        m_redirector.SetInitialPriority(ppNormal);
        break;
    case TEnginePriority::High:
        m_redirector.SetInitialPriority(ppHigh);
        break;
    case TEnginePriority::RealTime:
        m_redirector.SetInitialPriority(ppRealTime);
        break;
    }
}

void TEngineProcess::SetConfirmedReplacement(const QString& output) {
    m_confirmedReplacement = output;
}

void TEngineProcess::Execute() {
    execute(false);
}

void TEngineProcess::ExecuteStandingBy() {
    execute(true);
}

bool TEngineProcess::Go(bool replaceOutput) {
    return m_redirector.WriteInput(replaceOutput ? "r" : "g", 1);
}

void TEngineProcess::execute(bool standingBy) {
    // The engine learns of the user's agreement and of its turn from our word only, never from a
    // variable that happens to be in the environment the program was started with.
    static const QString replace = QStringLiteral("VARID_REPLACE_OUTPUT");
    static const QString standBy = QStringLiteral("VARID_AVCORE_STANDBY");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(replace);
    environment.remove(standBy);
    if (!m_confirmedReplacement.isEmpty() && !standingBy)
        environment.insert(replace, m_confirmedReplacement);
    if (standingBy)
        environment.insert(standBy, QStringLiteral("1"));
    m_redirector.Environment = environment.toStringList();
    m_redirector.Execute();
}
