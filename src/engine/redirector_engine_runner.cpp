#include "engine/redirector_engine_runner.h"

TRedirectorEngineRunner::TRedirectorEngineRunner() {
    m_redirector.KillOnDestroy = true;
    m_redirector.SetDefaultErrorMode(true);
}

void TRedirectorEngineRunner::SetHandlers(OutputHandler onOutput, EndHandler onTerminated) {
    TDataEvent output;
    if (onOutput)
        output = [onOutput](TRedirector*, const char* bytes, int count) { onOutput(bytes, count); };
    m_redirector.OnStdOut = output;
    m_redirector.OnStdErr = output;
    m_redirector.OnTerminated = nullptr;
    if (onTerminated)
        m_redirector.OnTerminated = [onTerminated](TRedirector*) { onTerminated(); };
}

void TRedirectorEngineRunner::DetachTermination() {
    m_redirector.OnTerminated = nullptr;
}

void TRedirectorEngineRunner::SetPriority(TEnginePriority priority) {
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

void TRedirectorEngineRunner::SetCommandLine(const QString& commandLine) {
    m_redirector.SetCommandLine(commandLine);
}

QString TRedirectorEngineRunner::GetCommandLine() const {
    return m_redirector.GetCommandLine();
}

void TRedirectorEngineRunner::Execute() {
    m_redirector.Execute();
}

bool TRedirectorEngineRunner::Active() const {
    return m_redirector.Active();
}

bool TRedirectorEngineRunner::ProcessEnded() const {
    return m_redirector.ProcessEnded();
}

void TRedirectorEngineRunner::Terminate(int exitCode) {
    m_redirector.Terminate(exitCode);
}

int TRedirectorEngineRunner::ExitCode() const {
    return m_redirector.ExitCode();
}
