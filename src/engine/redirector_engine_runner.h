#pragma once
// The batch driver's engine runner over the redirected child process: both output pipes go to
// one output handler, the engine is killed with its process group when the runner goes away.
#include "engine/engine_runner.h"
#include "engine/redirector.h"

class TRedirectorEngineRunner final : public IEngineRunner {
  public:
    TRedirectorEngineRunner();

    void SetHandlers(OutputHandler onOutput, EndHandler onTerminated) override;
    void DetachTermination() override;
    void SetPriority(TEnginePriority priority) override;
    void SetCommandLine(const QString& commandLine) override;
    QString GetCommandLine() const override;
    void Execute() override;
    bool Active() const override;
    bool ProcessEnded() const override;
    void Terminate(int exitCode) override;
    int ExitCode() const override;

    TRedirector& Redirector() { return m_redirector; }

  private:
    TRedirector m_redirector;
};
