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
    // The engine learns of the user's agreement from our word only, never from a variable that
    // happens to be in the environment the program was started with.
    static const QString name = QStringLiteral("VARID_REPLACE_OUTPUT");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(name);
    if (!output.isEmpty())
        environment.insert(name, output);
    m_redirector.Environment = environment.toStringList();
}
